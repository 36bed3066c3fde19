#pragma once
// Editor base classes. AEffEditor is the plain editor the host talks to; AEffGUIEditor adds
// the editor rectangle, idle pacing and the routing of key and wheel events into the window
// frame of the GUI toolkit.

#include "shell/AEffect.h"

#include <atomic>
#include <cstdint>

namespace quillory {

class AudioEffect;
class EditorFrame;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* owner) : effect(owner) {}
    virtual ~AEffEditor() = default;

    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual AudioEffect* getEffect() { return effect; }
    virtual bool getRect(ERect** rect);
    virtual bool open(void* parentWindow);
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onWheel(float /*distance*/) { return false; }
    virtual bool setKnobMode(int32_t /*mode*/) { return false; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};

class AEffGUIEditor : public AEffEditor {
public:
    // Registers the new editor with `effect`, which owns it from then on.
    explicit AEffGUIEditor(AudioEffect* owner);
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;
    void idle() override;
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(float distance) override;
    bool setKnobMode(int32_t mode) override;

    virtual void setParameter(int32_t /*index*/, float /*value*/) {}
    virtual void beginEdit(int32_t index);
    virtual void endEdit(int32_t index);
    // Paced idle work, asked for by the frame during long user interactions: runs the
    // editor's idle at most every 100 ms, lets one pending repaint through and gives the
    // host its idle call.
    virtual void doIdleStuff();

    // Shared by every editor of the module, as hosts set it once for all instances.
    static int32_t getKnobMode() { return knobMode.load(std::memory_order_relaxed); }

protected:
    ERect rect{};
    uint32_t lLastTicks = 0;
    bool inIdleStuff = false;
    EditorFrame* frame = nullptr;

private:
    static std::atomic<int32_t> knobMode;
};

} // namespace quillory
