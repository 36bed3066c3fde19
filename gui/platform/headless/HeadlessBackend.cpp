#include "gui/platform/headless/HeadlessBackend.h"

#include "gui/platform/headless/HeadlessWindow.h"
#include "gui/platform/raster/EmbeddedBitmaps.h"
#include "gui/platform/raster/PixelSurface.h"
#include "gui/platform/raster/RasterBitmap.h"

#include <algorithm>

namespace quillory::gui::headless {

HeadlessBackend::HeadlessBackend() = default;

HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<Window> HeadlessBackend::createWindow(void* parent, int32_t width, int32_t height,
                                                      WindowEvents& events) {
    const bool parentGone = std::find(destroyedParents.begin(), destroyedParents.end(), parent) !=
                            destroyedParents.end();
    if (parent == nullptr || parentGone || width <= 0 || height <= 0) {
        return nullptr;
    }
    auto window = std::make_unique<HeadlessWindow>(*this, parent, width, height, events);
    liveWindows.push_back(window.get());
    return window;
}

std::unique_ptr<Surface> HeadlessBackend::createOffscreen(int32_t width, int32_t height, Window*) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    return std::make_unique<raster::PixelSurface>(*this, width, height, &text);
}

std::unique_ptr<PlatformBitmap> HeadlessBackend::loadBitmap(int32_t resourceId) {
    return raster::loadEmbeddedBitmap(*this, resourceId);
}

std::unique_ptr<PlatformBitmap> HeadlessBackend::createBitmap(const PixelImage& image) {
    if (image.isEmpty()) {
        return nullptr;
    }
    return std::make_unique<raster::RasterBitmap>(*this, image);
}

HeadlessWindow* HeadlessBackend::lastWindow() const {
    return liveWindows.empty() ? nullptr : liveWindows.back();
}

void HeadlessBackend::destroyParent(void* parent) {
    destroyedParents.push_back(parent);
    // Copied: a frame told of its window's end may ask for nothing, but keep the walk safe.
    const std::vector<HeadlessWindow*> windows = liveWindows;
    for (HeadlessWindow* window : windows) {
        if (window->parent() == parent) {
            window->destroyNative();
        }
    }
}

void HeadlessBackend::forgetWindow(HeadlessWindow* window) {
    std::erase(liveWindows, window);
}

} // namespace quillory::gui::headless
