#include "gui/platform/SystemBackend.h"

namespace quillory::gui {

// A build without a window-system back end: the editor's window never opens.
Backend* systemBackend() {
    return nullptr;
}

} // namespace quillory::gui
