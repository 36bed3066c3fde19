#pragma once
// A popup menu on X11: override-redirect windows of our own on the root window, one per open
// pane, a pointer and keyboard grab, and a loop of its own that waits on the connection a
// short while at a time and never calls the host. While it runs, the editor window is still
// repainted when it is exposed; its other input, and the events of other editors, wait for
// their next idle. It ends with a pick, a dismissal, a failed grab or the editor window's
// end, and always gives back both grabs, destroys its windows and waits for the server before
// it returns.

#include "gui/platform/PopupMenu.h"
#include "gui/platform/x11/X11NativeWindow.h"

#include <cstdint>
#include <functional>

namespace quillory::gui {
class Backend;
}
namespace quillory::gui::raster {
class TextRenderer;
}

namespace quillory::gui::x11 {

struct PopupSessionHost {
    NativeWindow& editor;
    const Backend& backend;
    raster::TextRenderer& text;
    // Repaints an exposed area of the editor window (client coordinates).
    std::function<void(const CRect& area)> repaintEditor;
};

// Shows `menu` at `position` (screen coordinates) and answers the picked command number or
// kPopupCancelled. `button` is the button that opened it: the right button picks too when it
// was the right one.
int32_t runPopupSession(PopupSessionHost& host, const PopupMenu& menu, CPoint position,
                        PopupButton button);

} // namespace quillory::gui::x11
