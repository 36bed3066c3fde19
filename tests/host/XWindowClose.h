#pragma once
// Asks a top-level window of the X display named by DISPLAY to close, as a window manager's
// close button does (a WM_DELETE_WINDOW message). Kept apart from the tests: the X headers'
// macros clash with the test framework's names.

#include <string>

namespace quillory::testing {

// False when there is no display or no top-level window with this name.
bool askWindowToClose(const std::string& name);

} // namespace quillory::testing
