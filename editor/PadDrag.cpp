// The pad drag: started by a press on the display view, then stepped from the editor's idle
// with the polled button and cursor until the button is released.

#include "editor/ChorusEditorContext.h"
#include "editor/Pad.h"
#include "editor/PadDisplay.h"
#include "gui/GuiConstants.h"
#include "params/ParameterX.h"
#include "shell/platform/Platform.h"

#include <algorithm>
#include <cmath>

namespace quillory {
namespace {

// Value change per pixel: 0.0005 at very slow movement (2000 pixels for the whole range),
// plus 0.005 for each pixel per millisecond of speed, up to a speed of 0.3 pixels per
// millisecond (0.002 per pixel, 500 pixels for the whole range).
constexpr double kBaseGain = 0.0005;
constexpr double kSpeedGain = 0.005;
constexpr double kSpeedLimit = 0.3;

} // namespace

void PadDisplay::press(const CPoint& where, int32_t buttons) {
    if (buttons != kMouseLeft) {
        return; // another button or a modifier key: the view takes the click and does nothing
    }
    if (buttonState == kDragPressed && where == lastPoint) {
        return; // the same press seen twice
    }
    // A drag of another pad that never saw its release (its window was closed while it ran)
    // ends here, so that pad does not keep its active look.
    PadDisplay* previous = effect->activeDrag();
    if (previous != nullptr && previous != this) {
        previous->endDrag();
    }
    buttonState = kDragPressed;
    lastPoint = where;
    effect->setActiveDrag(this);
    dragOffset = 0.0;
    lastX = where.x;
    startValue = dragValue = parameter->target.load(std::memory_order_relaxed);
    lastTick = platform::services().tickCount();
    dragging = true;
    pad->markViewDirty();
}

void PadDisplay::updateDrag(int32_t button, const CPoint& where) {
    if (button == buttonState && where == lastPoint) {
        return;
    }
    buttonState = button;
    lastPoint = where;
    if (button == kDragReleased) {
        endDrag();
        return;
    }
    valueStep(where.x);
}

void PadDisplay::endDrag() {
    buttonState = kDragReleased;
    if (effect->activeDrag() == this) {
        effect->setActiveDrag(nullptr);
    }
    dragging = false;
    pad->markViewDirty();
}

// One step of a held drag. Only horizontal movement counts: a step without any leaves the
// clock where it was, so the next step's speed is measured from the last real movement.
void PadDisplay::valueStep(int32_t x) {
    const uint32_t now = platform::services().tickCount();
    const int32_t dx = x - lastX;
    if (dx == 0) {
        return;
    }
    // Unsigned arithmetic keeps the interval right across the wrap of the tick count; the
    // added millisecond keeps it above zero.
    const uint32_t dt = now - lastTick + 1u;
    const double speed = std::min(std::fabs(static_cast<double>(dx) / dt), kSpeedLimit);
    lastTick = now;
    dragOffset += dx * (speed * kSpeedGain + kBaseGain);
    lastX = x;
    // The offset itself is not clamped: after overshooting a limit the mouse must travel back
    // by the excess before the value leaves the limit again.
    dragValue = std::clamp(startValue + dragOffset, 0.0, 1.0);

    // The parameter reports the change to the host, whose echo through setParameter must not
    // reach the parameter again.
    parameter->hostEnabled.store(false);
    parameter->setFromEditor(dragValue);
    pad->markViewDirty();
    parameter->hostEnabled.store(true);
}

} // namespace quillory
