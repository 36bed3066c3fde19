#include "gui/platform/raster/PixelSurface.h"

#include "gui/platform/raster/LineRaster.h"
#include "gui/platform/raster/RasterBitmap.h"
#include "gui/platform/raster/TextRenderer.h"

#include <algorithm>

namespace quillory::gui::raster {

namespace {
// On and off lengths of a dashed line, in pixels.
constexpr int64_t kDashLength = 3;

const PixelImage* rasterPixels(const PlatformBitmap& bitmap) {
    const auto* raster = dynamic_cast<const RasterBitmap*>(&bitmap);
    return raster != nullptr ? &raster->pixels() : nullptr;
}

uint32_t blendChannel(uint32_t over, uint32_t under, uint32_t alpha) {
    return (over * alpha + under * (255 - alpha) + 127) / 255;
}

uint32_t blend(uint32_t over, uint32_t under, uint32_t alpha) {
    return (blendChannel(over >> 16 & 0xFF, under >> 16 & 0xFF, alpha) << 16) |
           (blendChannel(over >> 8 & 0xFF, under >> 8 & 0xFF, alpha) << 8) |
           blendChannel(over & 0xFF, under & 0xFF, alpha);
}
} // namespace

PixelSurface::PixelSurface(const Backend& owner, PixelImage& target, TextRenderer* text)
    : Surface(owner), pixels(&target), textRenderer(text),
      clipRect(0, 0, target.width, target.height) {}

PixelSurface::PixelSurface(const Backend& owner, int32_t w, int32_t h, TextRenderer* text)
    : Surface(owner), ownImage(std::make_unique<PixelImage>(w, h)), pixels(ownImage.get()),
      textRenderer(text), clipRect(0, 0, pixels->width, pixels->height) {}

void PixelSurface::setClip(const CRect& clip) {
    clipRect = intersection(clip, CRect(0, 0, pixels->width, pixels->height));
}

void PixelSurface::drawLine(CPoint from, CPoint to, const LinePen& pen) {
    if (clipRect.isEmpty()) {
        return;
    }
    const uint32_t color = packPixel(pen.color);
    const int32_t width = std::max(pen.width, 1);
    const int32_t before = (width - 1) / 2; // a wide line is a square pen centred on the line
    forEachLinePixel(from, to, clipRect, width, [&](int32_t x, int32_t y, int64_t step) {
        if (pen.style == CLineStyle::kOnOffDash && (step / kDashLength) % 2 != 0) {
            return;
        }
        const CRect dot = intersection(
            CRect(x - before, y - before, x - before + width, y - before + width), clipRect);
        for (int32_t row = dot.top; row < dot.bottom; ++row) {
            for (int32_t column = dot.left; column < dot.right; ++column) {
                pixels->at(column, row) = color;
            }
        }
    });
}

void PixelSurface::fillRect(const CRect& area, CColor color) {
    const CRect filled = intersection(area, clipRect);
    const uint32_t value = packPixel(color);
    for (int32_t row = filled.top; row < filled.bottom; ++row) {
        uint32_t* line = &pixels->at(0, row);
        std::fill(line + filled.left, line + filled.right, value);
    }
}

void PixelSurface::drawText(const char* text, const CRect& box, const TextStyle& style) {
    if (textRenderer != nullptr && text != nullptr && text[0] != '\0' && !clipRect.isEmpty()) {
        textRenderer->drawText(*pixels, clipRect, text, box, style);
    }
}

template <typename Copy>
void PixelSurface::forEachCopiedPixel(const PixelImage& source, const CRect& destination,
                                      CPoint origin, Copy copy) {
    // The destination pixels that are inside the clip and have a source pixel behind them.
    CRect covered = intersection(destination, clipRect);
    covered.bound(CRect(destination.left - origin.x, destination.top - origin.y,
                        destination.left - origin.x + source.width,
                        destination.top - origin.y + source.height));
    const int32_t shiftX = origin.x - destination.left;
    const int32_t shiftY = origin.y - destination.top;
    for (int32_t row = covered.top; row < covered.bottom; ++row) {
        for (int32_t column = covered.left; column < covered.right; ++column) {
            copy(pixels->at(column, row), source.at(column + shiftX, row + shiftY));
        }
    }
}

void PixelSurface::drawBitmap(const PlatformBitmap& bitmap, const CRect& destination,
                              CPoint source) {
    if (const PixelImage* image = rasterPixels(bitmap)) {
        forEachCopiedPixel(*image, destination, source,
                           [](uint32_t& target, uint32_t pixel) { target = pixel; });
    }
}

void PixelSurface::drawBitmapTransparent(const PlatformBitmap& bitmap, const CRect& destination,
                                         CPoint source, CColor transparent) {
    const uint32_t skipped = packPixel(transparent);
    if (const PixelImage* image = rasterPixels(bitmap)) {
        forEachCopiedPixel(*image, destination, source,
                           [skipped](uint32_t& target, uint32_t pixel) {
                               if ((pixel & 0xFFFFFF) != skipped) {
                                   target = pixel;
                               }
                           });
    }
}

void PixelSurface::drawBitmapAlpha(const PlatformBitmap& bitmap, const CRect& destination,
                                   CPoint source, uint8_t alpha) {
    if (const PixelImage* image = rasterPixels(bitmap)) {
        forEachCopiedPixel(*image, destination, source, [alpha](uint32_t& target, uint32_t pixel) {
            target = blend(pixel, target, alpha);
        });
    }
}

void PixelSurface::copyFrom(const Surface& source, const CRect& sourceArea, CPoint destination) {
    const auto* raster = dynamic_cast<const PixelSurface*>(&source);
    if (raster == nullptr) {
        return;
    }
    const CRect readable = intersection(sourceArea, CRect(0, 0, raster->width(), raster->height()));
    CRect target = readable;
    target.offset(destination.x - sourceArea.left, destination.y - sourceArea.top);
    forEachCopiedPixel(raster->image(), target, readable.topLeft(),
                       [](uint32_t& pixel, uint32_t copied) { pixel = copied; });
}

bool PixelSurface::readPixels(PixelImage& out) const {
    out = *pixels;
    return true;
}

} // namespace quillory::gui::raster
