#pragma once
// A bitmap of the software rasteriser: its pixels in memory.

#include "gui/platform/PixelImage.h"
#include "gui/platform/PlatformBitmap.h"

namespace quillory::gui::raster {

class RasterBitmap final : public PlatformBitmap {
public:
    RasterBitmap(const Backend& owner, PixelImage pixels)
        : PlatformBitmap(owner), image(std::move(pixels)) {}

    int32_t width() const override { return image.width; }
    int32_t height() const override { return image.height; }
    const PixelImage& pixels() const { return image; }

private:
    PixelImage image;
};

} // namespace quillory::gui::raster
