#include "gui/platform/Backend.h"

#include "gui/platform/PlatformBitmap.h"
#include "gui/platform/Surface.h"
#include "gui/platform/Window.h"

#include <atomic>

namespace quillory::gui {
namespace {

// Stands in until a back end is installed: the toolkit then runs without a window system,
// as it must when one is missing, and nothing it asks for exists.
class UnavailableBackend final : public Backend {
public:
    std::unique_ptr<Window> createWindow(void*, int32_t, int32_t, WindowEvents&) override {
        return nullptr;
    }
    std::unique_ptr<Surface> createOffscreen(int32_t, int32_t, Window*) override { return nullptr; }
    std::unique_ptr<PlatformBitmap> loadBitmap(int32_t) override { return nullptr; }
    std::unique_ptr<PlatformBitmap> createBitmap(const PixelImage&) override { return nullptr; }
};

UnavailableBackend unavailable;
std::atomic<Backend*> installedBackend{nullptr};

} // namespace

Backend& backend() {
    Backend* installed = installedBackend.load(std::memory_order_acquire);
    return installed != nullptr ? *installed : unavailable;
}

void setBackend(Backend* installed) {
    installedBackend.store(installed, std::memory_order_release);
}

bool hasInstalledBackend() {
    return installedBackend.load(std::memory_order_acquire) != nullptr;
}

} // namespace quillory::gui
