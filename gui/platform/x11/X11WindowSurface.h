#pragma once
// A surface on an editor window: draws by the common pixel rules into the image of what the
// window shows and puts the touched area on the window when it is destroyed (or when the
// window flushes before a popup). It may outlive the Window object; after the X window is
// gone it draws into the image only.

#include "gui/platform/raster/PixelSurface.h"
#include "gui/platform/x11/X11NativeWindow.h"

#include <memory>

namespace quillory::gui::x11 {

class WindowSurface final : public raster::PixelSurface {
public:
    WindowSurface(const Backend& owner, std::shared_ptr<NativeWindow> window,
                  raster::TextRenderer* text);
    ~WindowSurface() override;

    void drawLine(CPoint from, CPoint to, const LinePen& pen) override;
    void fillRect(const CRect& area, CColor color) override;
    void drawText(const char* text, const CRect& box, const TextStyle& style) override;
    void drawBitmap(const PlatformBitmap& bitmap, const CRect& destination, CPoint source) override;
    void drawBitmapTransparent(const PlatformBitmap& bitmap, const CRect& destination,
                               CPoint source, CColor transparent) override;
    void drawBitmapAlpha(const PlatformBitmap& bitmap, const CRect& destination, CPoint source,
                         uint8_t alpha) override;
    void copyFrom(const Surface& source, const CRect& sourceArea, CPoint destination) override;
    // What the window shows on the screen, read from the server.
    bool readPixels(PixelImage& out) const override;

private:
    void touch(const CRect& area) { native->touch(intersection(area, clip())); }

    std::shared_ptr<NativeWindow> native;
};

} // namespace quillory::gui::x11
