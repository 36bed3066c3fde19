#include "gui/platform/x11/X11Backend.h"

#include "gui/platform/raster/EmbeddedBitmaps.h"
#include "gui/platform/raster/PixelSurface.h"
#include "gui/platform/raster/RasterBitmap.h"
#include "gui/platform/x11/X11Window.h"

#include <cstdint>

namespace quillory::gui::x11 {

std::unique_ptr<Window> X11Backend::createWindow(void* parent, int32_t width, int32_t height,
                                                 WindowEvents& events) {
    const auto parentId = static_cast<::Window>(reinterpret_cast<std::uintptr_t>(parent));
    if (parentId == 0 || width <= 0 || height <= 0) {
        return nullptr;
    }
    std::shared_ptr<Connection> connection = Connection::acquire();
    if (connection == nullptr) {
        return nullptr;
    }
    std::shared_ptr<NativeWindow> native =
        createNativeWindow(std::move(connection), parentId, width, height);
    if (native == nullptr) {
        return nullptr;
    }
    return std::make_unique<X11Window>(*this, std::move(native), events);
}

std::unique_ptr<Surface> X11Backend::createOffscreen(int32_t width, int32_t height, Window*) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    return std::make_unique<raster::PixelSurface>(*this, width, height, &text);
}

std::unique_ptr<PlatformBitmap> X11Backend::loadBitmap(int32_t resourceId) {
    return raster::loadEmbeddedBitmap(*this, resourceId);
}

std::unique_ptr<PlatformBitmap> X11Backend::createBitmap(const PixelImage& image) {
    if (image.isEmpty()) {
        return nullptr;
    }
    return std::make_unique<raster::RasterBitmap>(*this, image);
}

} // namespace quillory::gui::x11
