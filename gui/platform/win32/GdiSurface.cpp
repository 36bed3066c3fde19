#include "gui/platform/win32/GdiSurface.h"

#include "gui/platform/win32/BlendFunctions.h"
#include "gui/platform/win32/DibSection.h"
#include "gui/platform/win32/GdiBitmap.h"

namespace quillory::gui::win32 {

namespace {
UINT alignmentFormat(CHoriTxtAlign align) {
    switch (align) {
    case kLeftText:
        return DT_LEFT;
    case kRightText:
        return DT_RIGHT;
    case kCenterText:
        break;
    }
    return DT_CENTER;
}
} // namespace

GdiSurface::GdiSurface(const Backend& owner, HDC dc, int32_t w, int32_t h)
    : Surface(owner), drawingDevice(dc), surfaceWidth(w), surfaceHeight(h), objects(dc) {
    if (drawingDevice != nullptr) {
        SelectClipRgn(drawingDevice, nullptr);
    }
}

GdiSurface::~GdiSurface() {
    if (bitmapDevice != nullptr) {
        DeleteDC(bitmapDevice);
    }
    if (drawingDevice != nullptr) {
        SelectClipRgn(drawingDevice, nullptr);
        GdiFlush(); // what was drawn reaches the screen now
    }
}

void GdiSurface::setClip(const CRect& clip) {
    if (drawingDevice == nullptr) {
        return;
    }
    const CRect bounded = intersection(clip, CRect(0, 0, surfaceWidth, surfaceHeight));
    // An empty clip is a region of no pixel, not "no clip at all".
    HRGN region = bounded.isEmpty()
                      ? CreateRectRgn(0, 0, 0, 0)
                      : CreateRectRgn(bounded.left, bounded.top, bounded.right, bounded.bottom);
    if (region != nullptr) {
        SelectClipRgn(drawingDevice, region); // the drawingDevice keeps a copy
        DeleteObject(region);
    }
}

void GdiSurface::drawLine(CPoint from, CPoint to, const LinePen& pen) {
    if (drawingDevice == nullptr) {
        return;
    }
    objects.selectPen(pen);
    MoveToEx(drawingDevice, from.x, from.y, nullptr);
    LineTo(drawingDevice, to.x, to.y); // GDI leaves the end point out, as the toolkit does
}

void GdiSurface::fillRect(const CRect& area, CColor color) {
    if (drawingDevice == nullptr || area.isEmpty()) {
        return;
    }
    const RECT filled{area.left, area.top, area.right, area.bottom};
    FillRect(drawingDevice, &filled, objects.brush(color));
}

void GdiSurface::drawText(const char* text, const CRect& box, const TextStyle& style) {
    if (drawingDevice == nullptr || text == nullptr || text[0] == '\0') {
        return;
    }
    objects.selectFont(style.font);
    SetTextColor(drawingDevice, colorRef(style.color));
    SetBkMode(drawingDevice, style.opaque ? OPAQUE : TRANSPARENT);
    SetBkColor(drawingDevice, colorRef(style.background));
    RECT bounds{box.left, box.top, box.right, box.bottom};
    // One line centred by the font's height, '&' shown as it is, clipped by the clip only.
    DrawTextA(drawingDevice, text, -1, &bounds,
              alignmentFormat(style.align) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
}

template <typename Copy>
void GdiSurface::withBitmap(const PlatformBitmap& bitmap, const CRect& destination, CPoint source,
                            Copy copy) {
    const auto* gdi = dynamic_cast<const GdiBitmap*>(&bitmap);
    if (drawingDevice == nullptr || gdi == nullptr) {
        return;
    }
    CRect target = destination;
    target.bound(CRect(destination.left - source.x, destination.top - source.y,
                       destination.left - source.x + gdi->width(),
                       destination.top - source.y + gdi->height()));
    if (target.isEmpty()) {
        return;
    }
    if (bitmapDevice == nullptr) {
        bitmapDevice = CreateCompatibleDC(drawingDevice);
    }
    if (bitmapDevice == nullptr) {
        return;
    }
    HGDIOBJ previous = SelectObject(bitmapDevice, gdi->handle());
    copy(target,
         CPoint(source.x + target.left - destination.left, source.y + target.top - destination.top),
         bitmapDevice);
    SelectObject(bitmapDevice, previous);
}

void GdiSurface::drawBitmap(const PlatformBitmap& bitmap, const CRect& destination, CPoint source) {
    withBitmap(bitmap, destination, source, [this](const CRect& target, CPoint from, HDC pixels) {
        BitBlt(drawingDevice, target.left, target.top, target.width(), target.height(), pixels,
               from.x, from.y, SRCCOPY);
    });
}

void GdiSurface::drawBitmapTransparent(const PlatformBitmap& bitmap, const CRect& destination,
                                       CPoint source, CColor transparent) {
    const TransparentBltFunction transparentBlt = blendFunctions().transparentBlt;
    if (transparentBlt == nullptr) {
        return;
    }
    withBitmap(bitmap, destination, source, [&](const CRect& target, CPoint from, HDC pixels) {
        transparentBlt(drawingDevice, target.left, target.top, target.width(), target.height(),
                       pixels, from.x, from.y, target.width(), target.height(),
                       colorRef(transparent));
    });
}

void GdiSurface::drawBitmapAlpha(const PlatformBitmap& bitmap, const CRect& destination,
                                 CPoint source, uint8_t alpha) {
    const AlphaBlendFunction alphaBlend = blendFunctions().alphaBlend;
    if (alphaBlend == nullptr) {
        return;
    }
    // A constant opacity over the whole bitmap; the bitmap's own alpha bytes are ignored.
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    withBitmap(bitmap, destination, source, [&](const CRect& target, CPoint from, HDC pixels) {
        alphaBlend(drawingDevice, target.left, target.top, target.width(), target.height(), pixels,
                   from.x, from.y, target.width(), target.height(), blend);
    });
}

void GdiSurface::copyFrom(const Surface& source, const CRect& sourceArea, CPoint destination) {
    const auto* gdi = dynamic_cast<const GdiSurface*>(&source);
    if (drawingDevice == nullptr || gdi == nullptr || gdi->drawingDevice == nullptr) {
        return;
    }
    const CRect readable = intersection(sourceArea, CRect(0, 0, gdi->width(), gdi->height()));
    if (readable.isEmpty()) {
        return;
    }
    BitBlt(drawingDevice, destination.x + readable.left - sourceArea.left,
           destination.y + readable.top - sourceArea.top, readable.width(), readable.height(),
           gdi->drawingDevice, readable.left, readable.top, SRCCOPY);
}

bool GdiSurface::readPixels(PixelImage& out) const {
    return readDevicePixels(drawingDevice, surfaceWidth, surfaceHeight, out);
}

} // namespace quillory::gui::win32
