#pragma once
// A surface drawn by portable code into a 32-bit pixel image: lines, fills, clipping and
// bitmap copies by the pixel rules every back end shares, text through a TextRenderer. The
// headless back end draws with it, and so can any back end that only needs to show an image
// in a window.

#include "gui/platform/PixelImage.h"
#include "gui/platform/Surface.h"

#include <memory>

namespace quillory::gui::raster {

class TextRenderer;

class PixelSurface : public Surface {
public:
    // Draws into `target`, which outlives the surface.
    PixelSurface(const Backend& owner, PixelImage& target, TextRenderer* text);
    // Draws into an image of its own of `width` by `height` pixels.
    PixelSurface(const Backend& owner, int32_t width, int32_t height, TextRenderer* text);

    PixelImage& image() { return *pixels; }
    const PixelImage& image() const { return *pixels; }
    const CRect& clip() const { return clipRect; }

    int32_t width() const override { return pixels->width; }
    int32_t height() const override { return pixels->height; }
    void setClip(const CRect& clip) override;
    void drawLine(CPoint from, CPoint to, const LinePen& pen) override;
    void fillRect(const CRect& area, CColor color) override;
    void drawText(const char* text, const CRect& box, const TextStyle& style) override;
    void drawBitmap(const PlatformBitmap& bitmap, const CRect& destination, CPoint source) override;
    void drawBitmapTransparent(const PlatformBitmap& bitmap, const CRect& destination,
                               CPoint source, CColor transparent) override;
    void drawBitmapAlpha(const PlatformBitmap& bitmap, const CRect& destination, CPoint source,
                         uint8_t alpha) override;
    void copyFrom(const Surface& source, const CRect& sourceArea, CPoint destination) override;
    bool readPixels(PixelImage& out) const override;

private:
    // Calls copy(x, y, sourcePixel) for every destination pixel that is inside the clip and
    // has a pixel of `source` behind it.
    template <typename Copy>
    void forEachCopiedPixel(const PixelImage& source, const CRect& destination, CPoint origin,
                            Copy copy);

    std::unique_ptr<PixelImage> ownImage;
    PixelImage* pixels;
    TextRenderer* textRenderer;
    CRect clipRect;
};

} // namespace quillory::gui::raster
