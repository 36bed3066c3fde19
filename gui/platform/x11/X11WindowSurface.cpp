#include "gui/platform/x11/X11WindowSurface.h"

#include "gui/platform/x11/X11PixelCopy.h"

#include <algorithm>

namespace quillory::gui::x11 {

WindowSurface::WindowSurface(const Backend& owner, std::shared_ptr<NativeWindow> window,
                             raster::TextRenderer* text)
    : PixelSurface(owner, window->shown, text), native(std::move(window)) {}

WindowSurface::~WindowSurface() {
    native->flush();
}

void WindowSurface::drawLine(CPoint from, CPoint to, const LinePen& pen) {
    PixelSurface::drawLine(from, to, pen);
    const int32_t reach = std::max(pen.width, 1);
    touch(CRect(std::min(from.x, to.x) - reach, std::min(from.y, to.y) - reach,
                std::max(from.x, to.x) + reach + 1, std::max(from.y, to.y) + reach + 1));
}

void WindowSurface::fillRect(const CRect& area, CColor color) {
    PixelSurface::fillRect(area, color);
    touch(area);
}

// Glyphs may reach beyond the text's box; anything inside the clip may have changed.
void WindowSurface::drawText(const char* text, const CRect& box, const TextStyle& style) {
    PixelSurface::drawText(text, box, style);
    touch(clip());
}

void WindowSurface::drawBitmap(const PlatformBitmap& bitmap, const CRect& destination,
                               CPoint source) {
    PixelSurface::drawBitmap(bitmap, destination, source);
    touch(destination);
}

void WindowSurface::drawBitmapTransparent(const PlatformBitmap& bitmap, const CRect& destination,
                                          CPoint source, CColor transparent) {
    PixelSurface::drawBitmapTransparent(bitmap, destination, source, transparent);
    touch(destination);
}

void WindowSurface::drawBitmapAlpha(const PlatformBitmap& bitmap, const CRect& destination,
                                    CPoint source, uint8_t alpha) {
    PixelSurface::drawBitmapAlpha(bitmap, destination, source, alpha);
    touch(destination);
}

void WindowSurface::copyFrom(const Surface& source, const CRect& sourceArea, CPoint destination) {
    PixelSurface::copyFrom(source, sourceArea, destination);
    touch(CRect(destination.x, destination.y, destination.x + sourceArea.width(),
                destination.y + sourceArea.height()));
}

bool WindowSurface::readPixels(PixelImage& out) const {
    native->flush();
    return native->alive &&
           readDrawable(native->display(), native->id, native->format, native->size(), out);
}

} // namespace quillory::gui::x11
