#pragma once
// A bitmap of the Win32 back end: a GDI bitmap handle, loaded from the module's bitmap
// resources or made from pixels in memory.

#include "gui/platform/PixelImage.h"
#include "gui/platform/PlatformBitmap.h"

#include <windows.h>

#include <memory>

namespace quillory::gui::win32 {

class GdiBitmap final : public PlatformBitmap {
public:
    // Takes `bitmap`, which it deletes.
    GdiBitmap(const Backend& owner, HBITMAP bitmap, int32_t width, int32_t height);
    ~GdiBitmap() override;

    // The bitmap resource `resourceId` of `module`; null when there is none.
    static std::unique_ptr<GdiBitmap> fromResource(const Backend& owner, HINSTANCE module,
                                                   int32_t resourceId);
    // A copy of `image`; null for an empty image.
    static std::unique_ptr<GdiBitmap> fromPixels(const Backend& owner, const PixelImage& image);

    int32_t width() const override { return bitmapWidth; }
    int32_t height() const override { return bitmapHeight; }
    HBITMAP handle() const { return bitmap; }

private:
    HBITMAP bitmap;
    int32_t bitmapWidth;
    int32_t bitmapHeight;
};

} // namespace quillory::gui::win32
