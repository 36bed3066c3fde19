#include "gui/platform/SystemBackend.h"

#include "gui/platform/x11/X11Backend.h"

namespace quillory::gui {

// The Linux module's editor draws on X11.
Backend* systemBackend() {
    static x11::X11Backend instance;
    return &instance;
}

} // namespace quillory::gui
