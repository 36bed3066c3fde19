#pragma once
// What the editor base needs of the window frame that the GUI toolkit provides: idle
// redraws, key routing and wheel routing. The shell depends only on this interface, so it
// builds and is tested without any window system.

#include "shell/AEffect.h"

#include <cstdint>

namespace quillory {

class EditorFrame {
public:
    virtual ~EditorFrame() = default;

    // Redraws whatever became dirty since the last idle.
    virtual void idle() = 0;
    // Key events answer 1 when a view handled the key, -1 when none did.
    virtual int32_t onKeyDown(VstKeyCode& keyCode) = 0;
    virtual int32_t onKeyUp(VstKeyCode& keyCode) = 0;
    // A wheel turn at a point given in screen coordinates; the frame converts it into its
    // own coordinates and offers it to its views.
    virtual bool onWheelAtScreenPoint(int32_t screenX, int32_t screenY, float distance) = 0;
};

} // namespace quillory
