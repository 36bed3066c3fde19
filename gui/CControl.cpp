#include "gui/CControl.h"

#include "gui/CControlListener.h"
#include "gui/CFrame.h"
#include "gui/GuiConstants.h"

#include <cstring>

namespace quillory {

CControl::CControl(const CRect& rect, CBitmap* bitmap) : CView(rect) {
    // Installing the background marks the control dirty, which also sets oldValue to -1:
    // a new control is drawn at the first chance.
    setBackground(bitmap);
}

bool CControl::isDirty() const {
    return dirty.load(std::memory_order_seq_cst) ||
           value.load(std::memory_order_relaxed) != oldValue.load(std::memory_order_relaxed);
}

void CControl::setDirty(bool state) {
    if (state) {
        // An old value that differs from the value keeps the control dirty through the
        // value comparison too.
        oldValue.store(getValue() == -1.0f ? 0.0f : -1.0f, std::memory_order_relaxed);
    } else {
        oldValue.store(getValue(), std::memory_order_relaxed);
    }
    CView::setDirty(state);
}

bool CControl::isTypeOf(const char* name) const {
    return name != nullptr && (std::strcmp(name, "CControl") == 0 || CView::isTypeOf(name));
}

void CControl::doIdleStuff() {
    if (parentFrame != nullptr) {
        parentFrame->doIdleStuff();
    }
}

void CControl::setValue(float newValue) {
    storeValue(newValue);
}

void CControl::storeValue(float newValue) {
    value.store(newValue, std::memory_order_relaxed);
    countChange();
}

void CControl::setOldValue(float newOldValue) {
    oldValue.store(newOldValue, std::memory_order_relaxed);
}

void CControl::beginEdit() {
    if (parentFrame != nullptr) {
        parentFrame->setFocusView(this);
        parentFrame->beginEdit(tag);
    }
}

void CControl::endEdit() {
    if (parentFrame != nullptr) {
        parentFrame->endEdit(tag);
    }
}

void CControl::copyBackOffset() {
    backOffset = CPoint(size.left, size.top);
}

void CControl::bounceValue() {
    const float current = getValue();
    if (current > vmax) {
        storeValue(vmax);
    } else if (current < vmin) {
        storeValue(vmin);
    }
}

bool CControl::checkDefaultValue(CDrawContext* context, int32_t buttons) {
    if (buttons != (kMouseLeft | kModifierControl)) {
        return false;
    }
    beginEdit();
    storeValue(getDefaultValue());
    if (isDirty() && listener != nullptr) {
        listener->valueChanged(context, this);
    }
    endEdit();
    return true;
}

} // namespace quillory
