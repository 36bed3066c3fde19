#pragma once
// A surface of the Win32 back end: GDI drawing on one device context (a window's, a paint
// event's or an offscreen memory device's), keeping the pixel rules of Surface.h. GDI's own
// rules match them: a line leaves out its end point, a filled rectangle covers its right
// and bottom edges exclusively, the clip region is a rectangle of device pixels. Bitmap
// copies are clipped to the bitmap here, since BitBlt would read beyond its edges.

#include "gui/platform/Surface.h"
#include "gui/platform/win32/GdiObjects.h"

#include <windows.h>

namespace quillory::gui::win32 {

class GdiSurface : public Surface {
public:
    // Draws on `device` (not owned; null draws nothing), `width` by `height` pixels.
    GdiSurface(const Backend& owner, HDC device, int32_t width, int32_t height);
    ~GdiSurface() override;

    HDC deviceContext() const { return drawingDevice; }

    int32_t width() const override { return surfaceWidth; }
    int32_t height() const override { return surfaceHeight; }
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
    // Calls copy(target, from, sourceDevice) with `bitmap` selected into a memory device
    // compatible with this one; nothing when no pixel of the bitmap lands in `destination`.
    template <typename Copy>
    void withBitmap(const PlatformBitmap& bitmap, const CRect& destination, CPoint source,
                    Copy copy);

    HDC drawingDevice;
    int32_t surfaceWidth;
    int32_t surfaceHeight;
    GdiObjects objects;
    HDC bitmapDevice = nullptr; // made at the first bitmap copy, kept for the next ones
};

} // namespace quillory::gui::win32
