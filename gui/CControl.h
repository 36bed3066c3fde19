#pragma once
// A view with a float value, a value range, a tag and a listener told of user changes.
//
// A control is dirty when it was marked so or when its value moved away from the value it
// had when last marked clean. Its value may be set from any thread (host automation can
// arrive on the audio thread) while the user-interface thread draws it: value and dirty
// state are atomics, and a change during drawing is drawn again at the next idle.

#include "gui/CView.h"

#include <atomic>

namespace quillory {

class CControlListener;

class CControl : public CView {
public:
    explicit CControl(const CRect& size, CBitmap* background = nullptr);

    void draw(CDrawContext* context) override = 0;
    bool isDirty() const override;
    void setDirty(bool state = true) override;
    bool isTypeOf(const char* name) const override;

    // Runs the editor's paced idle work during a long interaction (a modal loop of a view).
    virtual void doIdleStuff();
    // Stores any float: no clamping, no dirty mark (the value comparison makes it dirty).
    virtual void setValue(float newValue);
    virtual float getValue() const { return value.load(std::memory_order_relaxed); }
    virtual void setMin(float newMin) { vmin = newMin; }
    virtual float getMin() const { return vmin; }
    virtual void setMax(float newMax) { vmax = newMax; }
    virtual float getMax() const { return vmax; }
    virtual void setOldValue(float newOldValue);
    virtual float getOldValue() const { return oldValue.load(std::memory_order_relaxed); }
    virtual void setDefaultValue(float newDefault) { defaultValue = newDefault; }
    virtual float getDefaultValue() const { return defaultValue; }
    virtual void setTag(int32_t newTag) { tag = newTag; }
    virtual int32_t getTag() const { return tag; }
    // Makes the control the frame's focus view and tells the editor that editing of
    // `tag` begins; endEdit tells it that it ended. Only for controls in a frame.
    virtual void beginEdit();
    virtual void endEdit();
    virtual void setBackOffset(const CPoint& offset) { backOffset = offset; }
    virtual void copyBackOffset();
    virtual void setWheelInc(float increment) { wheelInc = increment; }
    virtual float getWheelInc() const { return wheelInc; }
    // Brings the value back into vmin ... vmax.
    virtual void bounceValue();
    // A left click with Control restores the default value; answers whether it did.
    virtual bool checkDefaultValue(CDrawContext* context, int32_t buttons);

    void setListener(CControlListener* newListener) { listener = newListener; }
    CControlListener* getListener() const { return listener; }
    const CPoint& getBackOffset() const { return backOffset; }

protected:
    void storeValue(float newValue);

    CControlListener* listener = nullptr;
    int32_t tag = 0;
    std::atomic<float> oldValue{1.0f};
    float defaultValue = 0.5f;
    std::atomic<float> value{0.0f};
    float vmin = 0.0f;
    float vmax = 1.0f;
    float wheelInc = 0.1f;
    CPoint backOffset;
};

} // namespace quillory
