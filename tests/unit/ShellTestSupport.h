#pragma once
// Fakes shared by the shell's unit tests: a host callback that records every request, a
// minimal effect, a window frame that records what reaches it and a GUI editor using it.

#include "shell/AEffEditor.h"
#include "shell/AudioEffectX.h"
#include "shell/EditorFrame.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace quillory::test {

struct HostCall {
    int32_t opcode = 0;
    int32_t index = 0;
    intptr_t value = 0;
    void* ptr = nullptr;
    float opt = 0.0f;
    AEffect* effect = nullptr;
};

// The operands of a request, without the record, readable in failure messages.
inline std::string describe(const HostCall& call) {
    char text[160];
    std::snprintf(text, sizeof text, "opcode %d index %d value %lld ptr %p opt %.9g", call.opcode,
                  call.index, static_cast<long long>(call.value), call.ptr,
                  static_cast<double>(call.opt));
    return text;
}

// The host callback of the effects under test. Only one recorder may be alive at a time, and
// it must outlive every effect that was given its callback. Requests may arrive on several
// threads at once; read `calls` once they have stopped.
class RecordingHost {
public:
    RecordingHost() { active = this; }
    ~RecordingHost() { active = nullptr; }
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    static intptr_t QUILLORY_CALLBACK callback(AEffect* effect, int32_t opcode, int32_t index,
                                               intptr_t value, void* ptr, float opt) {
        const HostCall call{opcode, index, value, ptr, opt, effect};
        std::lock_guard<std::mutex> lock(active->callsMutex);
        active->calls.push_back(call);
        return active->onCall ? active->onCall(call) : active->reply;
    }

    std::vector<HostCall> calls;
    std::mutex callsMutex;
    intptr_t reply = 0;
    std::function<intptr_t(const HostCall&)> onCall;

private:
    inline static RecordingHost* active = nullptr;
};

class TestEffect : public AudioEffectX {
public:
    explicit TestEffect(audioMasterCallback host, int32_t programs = 4, int32_t params = 3)
        : AudioEffectX(host, programs, params) {}
    void processReplacing(float**, float**, int32_t frames) override { replacedFrames = frames; }
    int32_t replacedFrames = -1;
};

class FakeFrame : public EditorFrame {
public:
    void idle() override { ++idleCount; }
    int32_t onKeyDown(VstKeyCode& keyCode) override { return key("down", keyCode); }
    int32_t onKeyUp(VstKeyCode& keyCode) override { return key("up", keyCode); }
    bool onWheelAtScreenPoint(int32_t x, int32_t y, float distance) override {
        wheel = {x, y, distance};
        return wheelAnswer;
    }

    int idleCount = 0;
    int32_t keyAnswer = 1;
    std::string keyKind;
    VstKeyCode lastKey{};
    bool wheelAnswer = true;
    struct {
        int32_t x, y;
        float distance;
    } wheel{};

private:
    int32_t key(const char* kind, const VstKeyCode& keyCode) {
        keyKind = kind;
        lastKey = keyCode;
        return keyAnswer;
    }
};

// A GUI editor whose frame is a fake (or absent) and whose protected state can be inspected.
class TestGuiEditor : public AEffGUIEditor {
public:
    TestGuiEditor(AudioEffect* owner, EditorFrame* withFrame) : AEffGUIEditor(owner) {
        frame = withFrame;
    }
    ERect* rectAddress() { return &rect; }
    uint32_t lastTicks() const { return lLastTicks; }
    void setLastTicks(uint32_t ticks) { lLastTicks = ticks; }
    void setInIdleStuff(bool state) { inIdleStuff = state; }
};

} // namespace quillory::test
