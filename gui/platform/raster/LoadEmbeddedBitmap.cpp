#include "gui/platform/raster/BmpReader.h"
#include "gui/platform/raster/EmbeddedBitmaps.h"
#include "gui/platform/raster/RasterBitmap.h"

namespace quillory::gui::raster {

std::unique_ptr<PlatformBitmap> loadEmbeddedBitmap(const Backend& owner, int32_t resourceId) {
    std::optional<PixelImage> image = readBmp(embeddedBitmapFile(resourceId));
    if (!image) {
        return nullptr;
    }
    return std::make_unique<RasterBitmap>(owner, std::move(*image));
}

} // namespace quillory::gui::raster
