#pragma once
// The toolkit's button bits from the physical state of the mouse buttons and modifier keys.
// The system reports the physical buttons when polled (GetAsyncKeyState), so with swapped
// buttons the physical right button is the primary one: it must still give kMouseLeft.

#include "gui/GuiConstants.h"

#include <cstdint>

namespace quillory::gui::win32 {

struct PhysicalButtons {
    bool left = false;
    bool right = false;
    bool middle = false;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

constexpr int32_t toolkitButtons(const PhysicalButtons& held, bool swapped) {
    int32_t buttons = 0;
    if (held.left) {
        buttons |= swapped ? kMouseRight : kMouseLeft;
    }
    if (held.right) {
        buttons |= swapped ? kMouseLeft : kMouseRight;
    }
    buttons |= held.middle ? kMouseMiddle : 0;
    buttons |= held.shift ? kModifierShift : 0;
    buttons |= held.control ? kModifierControl : 0;
    buttons |= held.alt ? kModifierAlt : 0;
    return buttons;
}

} // namespace quillory::gui::win32
