#include "gui/platform/win32/GdiBitmap.h"

#include "gui/platform/win32/DibSection.h"

#include <algorithm>

namespace quillory::gui::win32 {

GdiBitmap::GdiBitmap(const Backend& owner, HBITMAP handle, int32_t w, int32_t h)
    : PlatformBitmap(owner), bitmap(handle), bitmapWidth(w), bitmapHeight(h) {}

GdiBitmap::~GdiBitmap() {
    DeleteObject(bitmap);
}

std::unique_ptr<GdiBitmap> GdiBitmap::fromResource(const Backend& owner, HINSTANCE module,
                                                   int32_t resourceId) {
    if (resourceId <= 0 || resourceId > 0xFFFF) {
        return nullptr; // not a numeric resource id
    }
    // Loaded as a DIB section rather than converted to the screen's format, so a skin keeps
    // its exact colours on a display of fewer than 24 bits.
    auto* loaded = static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP size{};
    if (loaded == nullptr || GetObjectA(loaded, sizeof size, &size) == 0 || size.bmWidth <= 0 ||
        size.bmHeight <= 0) {
        if (loaded != nullptr) {
            DeleteObject(loaded);
        }
        return nullptr;
    }
    return std::make_unique<GdiBitmap>(owner, loaded, size.bmWidth, size.bmHeight);
}

std::unique_ptr<GdiBitmap> GdiBitmap::fromPixels(const Backend& owner, const PixelImage& image) {
    if (image.isEmpty()) {
        return nullptr;
    }
    const DibSection section = createDibSection(image.width, image.height);
    if (section.bitmap == nullptr) {
        return nullptr;
    }
    std::copy(image.pixels.begin(), image.pixels.end(), section.bits);
    return std::make_unique<GdiBitmap>(owner, section.bitmap, image.width, image.height);
}

} // namespace quillory::gui::win32
