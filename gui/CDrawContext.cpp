#include "gui/CDrawContext.h"

#include "gui/CFrame.h"
#include "gui/StandardFonts.h"
#include "gui/platform/PlatformBitmap.h"
#include "gui/platform/Window.h"
#include "shell/platform/Platform.h"

namespace quillory {

CDrawContext::CDrawContext(CFrame* ownerFrame, std::unique_ptr<gui::Surface> target)
    : frame(ownerFrame), ownedSurface(std::move(target)), surface(ownedSurface.get()) {
    startUp();
}

CDrawContext::CDrawContext(CFrame* ownerFrame, gui::Surface* borrowed)
    : frame(ownerFrame), surface(borrowed) {
    startUp();
}

CDrawContext::~CDrawContext() = default;

void CDrawContext::startUp() {
    if (frame != nullptr && frame->getPlatformWindow() != nullptr) {
        offsetScreen = frame->getPlatformWindow()->screenOrigin();
    }
    resetClipRect();
    setFont(0, 0, kFaceBold);
}

void CDrawContext::resetClipRect() {
    if (frame != nullptr) {
        frame->getViewSize(clipRect);
    } else {
        clipRect = CRect(0, 0, 1000, 1000);
    }
}

CRect& CDrawContext::getClipRect(CRect& clip) const {
    clip = clipRect;
    return clip;
}

bool CDrawContext::prepareSurface() {
    if (surface == nullptr) {
        return false;
    }
    CRect wanted = clipRect;
    wanted.offset(offset.x, offset.y);
    wanted.bound(CRect(0, 0, surface->width(), surface->height()));
    if (wanted.isEmpty()) {
        return false;
    }
    if (!(wanted == surfaceClip)) {
        surface->setClip(wanted);
        surfaceClip = wanted;
    }
    return true;
}

void CDrawContext::moveTo(const CPoint& point) {
    penPosition = point;
}

void CDrawContext::lineTo(const CPoint& point) {
    if (prepareSurface()) {
        CPoint from = penPosition;
        CPoint to = point;
        from.offset(offset.x, offset.y);
        to.offset(offset.x, offset.y);
        surface->drawLine(from, to, pen);
    }
    penPosition = point;
}

void CDrawContext::drawRect(const CRect& rect) {
    moveTo(CPoint(rect.left, rect.top));
    lineTo(CPoint(rect.right - 1, rect.top));
    lineTo(CPoint(rect.right - 1, rect.bottom - 1));
    lineTo(CPoint(rect.left, rect.bottom - 1));
    lineTo(CPoint(rect.left, rect.top));
}

void CDrawContext::fillRect(const CRect& rect) {
    if (!prepareSurface()) {
        return;
    }
    CRect area(rect.left + 1, rect.top + 1, rect.right, rect.bottom);
    area.offset(offset.x, offset.y);
    if (!area.isEmpty()) {
        surface->fillRect(area, fillColor);
    }
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool opaque,
                              CHoriTxtAlign align) {
    if (text == nullptr || text[0] == '\0' || !prepareSurface()) {
        return;
    }
    CRect box = rect;
    if (align == kLeftText) {
        box.left += 1;
    }
    box.offset(offset.x, offset.y);
    surface->drawText(text, box, gui::TextStyle{font, fontColor, align, opaque, fillColor});
}

void CDrawContext::setFont(int32_t fontID, int32_t size, int32_t style) {
    fontNumber = fontID >= 0 && fontID < kNumStandardFonts ? fontID : 0;
    font = standardFont(fontNumber, size, style);
}

void CDrawContext::getMouseLocation(CPoint& point) const {
    CPoint cursor;
    if (frame != nullptr && frame->getPlatformWindow() != nullptr) {
        cursor = frame->getPlatformWindow()->cursorPosition();
    } else {
        const platform::ScreenPoint polled = platform::services().cursorPosition();
        cursor = CPoint(polled.x, polled.y);
    }
    point = CPoint(cursor.x - offsetScreen.x, cursor.y - offsetScreen.y);
}

int32_t CDrawContext::getMouseButtons() const {
    if (frame == nullptr || frame->getPlatformWindow() == nullptr) {
        return 0;
    }
    return frame->getPlatformWindow()->mouseButtons();
}

void CDrawContext::drawBitmap(const gui::PlatformBitmap& bitmap, const CRect& rect, CPoint source,
                              BitmapMode mode, CColor transparentColor, uint8_t alpha) {
    if (!prepareSurface() || &bitmap.owner() != &surface->owner()) {
        return;
    }
    CRect destination = rect;
    destination.offset(offset.x, offset.y);
    switch (mode) {
    case BitmapMode::kOpaque:
        surface->drawBitmap(bitmap, destination, source);
        break;
    case BitmapMode::kTransparent:
        surface->drawBitmapTransparent(bitmap, destination, source, transparentColor);
        break;
    case BitmapMode::kAlpha:
        surface->drawBitmapAlpha(bitmap, destination, source, alpha);
        break;
    }
}

} // namespace quillory
