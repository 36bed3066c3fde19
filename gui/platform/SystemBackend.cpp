#include "gui/platform/SystemBackend.h"

#include "gui/platform/Backend.h"

#include <mutex>

namespace quillory::gui {

void installSystemBackend() {
    static std::once_flag once;
    std::call_once(once, [] {
        Backend* system = systemBackend();
        if (system != nullptr && !hasInstalledBackend()) {
            setBackend(system);
        }
    });
}

} // namespace quillory::gui
