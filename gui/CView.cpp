#include "gui/CView.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

#include <cstring>

namespace quillory {

CView::CView(const CRect& rect) : size(rect), mouseableArea(rect) {}

CView::~CView() {
    if (background != nullptr) {
        background->forget();
    }
}

void CView::draw(CDrawContext* context) {
    if (background != nullptr && context != nullptr) {
        if (transparent) {
            background->drawTransparent(context, size, CPoint(0, 0));
        } else {
            background->draw(context, size, CPoint(0, 0));
        }
    }
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/) {
    draw(context);
}

bool CView::checkUpdate(const CRect& rect) const {
    return rect.left <= size.right && rect.right >= size.left && rect.top <= size.bottom &&
           rect.bottom >= size.top;
}

void CView::mouse(CDrawContext*, const CPoint&, int32_t) {}

void CView::setBackground(CBitmap* bitmap) {
    if (bitmap != nullptr) {
        bitmap->remember();
    }
    if (background != nullptr) {
        background->forget();
    }
    background = bitmap;
    setDirty(true);
}

int32_t CView::onKeyDown(VstKeyCode&) {
    return -1;
}

int32_t CView::onKeyUp(VstKeyCode&) {
    return -1;
}

bool CView::onWheel(CDrawContext* context, const CPoint& where, int32_t /*axis*/, float distance) {
    return onWheel(context, where, distance);
}

bool CView::onWheel(CDrawContext*, const CPoint&, float) {
    return false;
}

bool CView::onDrop(CDrawContext*, CDragContainer*, const CPoint&) {
    return false;
}

void CView::onDragEnter(CDrawContext*, CDragContainer*, const CPoint&) {}
void CView::onDragLeave(CDrawContext*, CDragContainer*, const CPoint&) {}
void CView::onDragMove(CDrawContext*, CDragContainer*, const CPoint&) {}
void CView::looseFocus(CDrawContext*) {}
void CView::takeFocus(CDrawContext*) {}

bool CView::isDirty() const {
    return dirty.load(std::memory_order_seq_cst);
}

void CView::setDirty(bool state) {
    if (state) {
        countChange();
    }
    dirty.store(state, std::memory_order_seq_cst);
}

CRect& CView::getMouseableArea(CRect& rect) const {
    rect = mouseableArea;
    return rect;
}

bool CView::hitTest(const CPoint& where, int32_t /*buttons*/) {
    return where.x >= mouseableArea.left && where.x <= mouseableArea.right &&
           where.y >= mouseableArea.top && where.y <= mouseableArea.bottom;
}

void CView::setViewSize(const CRect& rect) {
    size = rect;
    setDirty(true);
}

CRect& CView::getViewSize(CRect& rect) const {
    rect = size;
    return rect;
}

bool CView::removed(CView*) {
    return true;
}

bool CView::attached(CView*) {
    return true;
}

void CView::getMouseLocation(CDrawContext* context, CPoint& point) {
    if (context == nullptr) {
        return;
    }
    if (parentView != nullptr && parentView->notify(this, kMsgCheckIfViewContainer) == 1) {
        // Both origins move into the container's space while the container answers, so
        // the point comes back relative to it.
        CRect containerSize;
        parentView->getViewSize(containerSize);
        context->offsetScreen.offset(containerSize.left, containerSize.top);
        context->offset.offset(containerSize.left, containerSize.top);
        parentView->getMouseLocation(context, point);
        context->offsetScreen.offset(-containerSize.left, -containerSize.top);
        context->offset.offset(-containerSize.left, -containerSize.top);
        return;
    }
    context->getMouseLocation(point);
}

CPoint& CView::frameToLocal(CPoint& point) const {
    if (parentView != nullptr && parentView->isTypeOf("CViewContainer")) {
        return parentView->frameToLocal(point);
    }
    return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
    if (parentView != nullptr && parentView->isTypeOf("CViewContainer")) {
        return parentView->localToFrame(point);
    }
    return point;
}

AEffGUIEditor* CView::getEditor() const {
    return parentFrame != nullptr ? parentFrame->getEditor() : nullptr;
}

int32_t CView::notify(CView*, const char*) {
    return 0;
}

void CView::redrawRect(CDrawContext* context, const CRect& rect) {
    if (parentView != nullptr) {
        parentView->redrawRect(context, rect);
    } else if (parentFrame != nullptr) {
        parentFrame->drawRect(context, rect);
    }
}

bool CView::isTypeOf(const char* name) const {
    return name != nullptr && std::strcmp(name, "CView") == 0;
}

void CView::update(CDrawContext* context) {
    if (!isDirty()) {
        return;
    }
    // A change that arrives from another thread while the view is drawn keeps it dirty for
    // the next idle instead of being wiped by the clean mark below.
    const uint32_t changesBefore = changeCount();
    if (context != nullptr) {
        redrawRect(context, size);
    } else if (parentFrame != nullptr) {
        CDrawContext* own = parentFrame->createDrawContext();
        redrawRect(own, size);
        own->forget();
    }
    setDirty(false);
    if (changeCount() != changesBefore) {
        keepDirty();
    }
}

} // namespace quillory
