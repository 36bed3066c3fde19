#pragma once
// Where the items of a popup menu lie on the screen while it is open, so that a test outside
// the program can click one of them with the real mouse.

#include <windows.h>

#include <string>

namespace quillory::conformance {

// One line per item of the visible popup menu of this thread, "item INDEX LEFT TOP RIGHT
// BOTTOM TEXT" in screen pixels (separators have an empty text); empty while no popup menu is
// open.
std::string describeOpenMenu();

} // namespace quillory::conformance
