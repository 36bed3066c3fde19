#include "gui/platform/Window.h"

#include "shell/platform/Platform.h"

namespace quillory::gui {

CPoint Window::cursorPosition() const {
    const platform::ScreenPoint cursor = platform::services().cursorPosition();
    return CPoint(cursor.x, cursor.y);
}

} // namespace quillory::gui
