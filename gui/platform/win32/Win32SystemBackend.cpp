#include "gui/platform/SystemBackend.h"

#include "gui/platform/win32/Win32Backend.h"

namespace quillory::gui {

// The DLLs' back end: stateless, so one instance serves every editor of the process.
Backend* systemBackend() {
    static win32::Win32Backend module;
    return &module;
}

} // namespace quillory::gui
