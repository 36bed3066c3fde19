#include "gui/CViewContainer.h"

#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/COffscreenContext.h"

#include <algorithm>
#include <cstring>

namespace quillory {

CViewContainer::CViewContainer(const CRect& rect, CFrame* frame, CBitmap* bitmap) : CView(rect) {
    parentFrame = frame;
    if (bitmap != nullptr) {
        setBackground(bitmap);
    }
}

CViewContainer::~CViewContainer() {
    forgetOffscreen();
    removeAll(true);
}

void CViewContainer::addView(CView* view) {
    if (view == nullptr) {
        return;
    }
    view->remember();
    view->setParentFrame(parentFrame);
    view->setParentView(this);
    if (view->isTypeOf("CViewContainer")) {
        // Children added to a container before it joined the frame learn the frame now.
        auto* container = static_cast<CViewContainer*>(view);
        for (CView* grandChild : container->children) {
            grandChild->setParentFrame(parentFrame);
        }
    }
    children.push_back(view);
    view->attached(this);
    view->setDirty(true);
}

void CViewContainer::removeView(CView* view, bool withForget) {
    const auto found = std::find(children.begin(), children.end(), view);
    if (found == children.end()) {
        return;
    }
    if (parentFrame != nullptr) {
        parentFrame->viewWillGo(view);
    }
    if (dragTarget == view) {
        dragTarget = nullptr;
    }
    children.erase(found);
    view->removed(this);
    view->setParentView(nullptr);
    view->setParentFrame(nullptr);
    if (withForget) {
        view->forget();
    }
    view->forget();
}

void CViewContainer::removeAll(bool withForget) {
    while (!children.empty()) {
        removeView(children.back(), withForget);
    }
}

bool CViewContainer::isChild(const CView* view) const {
    return std::find(children.begin(), children.end(), view) != children.end();
}

int32_t CViewContainer::getNbViews() const {
    return static_cast<int32_t>(children.size());
}

CView* CViewContainer::getView(int32_t index) const {
    if (index < 0 || index >= getNbViews()) {
        return nullptr;
    }
    return children[static_cast<size_t>(index)];
}

CView* CViewContainer::getViewAt(const CPoint& where) const {
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        CRect childSize;
        (*child)->getViewSize(childSize);
        if ((*child)->getMouseEnabled() && childSize.pointInside(where)) {
            return *child;
        }
    }
    return nullptr;
}

void CViewContainer::setBackgroundColor(CColor color) {
    backgroundColor = color;
    setDirty(true);
}

void CViewContainer::setDrawInOffscreen(bool state) {
    drawInOffscreen = state;
    if (!state) {
        forgetOffscreen();
    }
}

void CViewContainer::forgetOffscreen() {
    if (offscreen != nullptr) {
        offscreen->forget();
        offscreen = nullptr;
    }
}

COffscreenContext* CViewContainer::offscreenFor(CDrawContext*) {
    if (!drawInOffscreen || size.isEmpty()) {
        return nullptr;
    }
    if (offscreen == nullptr) {
        offscreen = new COffscreenContext(parentFrame, size.width(), size.height(), kBlackCColor);
    }
    // Without a window system there is no offscreen bitmap: draw straight to the target.
    return offscreen->hasSurface() ? offscreen : nullptr;
}

template <typename Action> void CViewContainer::inLocalSpace(CDrawContext* context, Action action) {
    CRect clip;
    context->getClipRect(clip);
    context->offset.offset(size.left, size.top);
    context->offsetScreen.offset(size.left, size.top);
    CRect localClip = clip;
    context->setClipRect(localClip.offset(-size.left, -size.top));
    action();
    context->offset.offset(-size.left, -size.top);
    context->offsetScreen.offset(-size.left, -size.top);
    context->setClipRect(clip);
}

void CViewContainer::draw(CDrawContext* context) {
    drawRect(context, size);
    CView::setDirty(false);
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    CRect area = intersection(updateRect, size);
    if (context == nullptr || area.isEmpty()) {
        return;
    }
    CRect localArea = area;
    localArea.offset(-size.left, -size.top);

    auto drawContent = [&](CDrawContext* target) {
        CRect baseClip;
        target->getClipRect(baseClip);
        baseClip.bound(localArea);
        if (baseClip.isEmpty()) {
            return;
        }
        target->setClipRect(baseClip);
        drawBackground(target, baseClip);
        for (size_t index = 0; index < children.size(); ++index) {
            drawChild(target, children[index], baseClip);
            target->setClipRect(baseClip);
        }
    };

    if (COffscreenContext* buffer = offscreenFor(context)) {
        CRect fullClip = localBounds();
        buffer->setClipRect(fullClip);
        drawContent(buffer);
        buffer->copyFrom(context, area, localArea.topLeft());
    } else {
        inLocalSpace(context, [&] { drawContent(context); });
    }
}

void CViewContainer::drawBackground(CDrawContext* target, const CRect& localArea) {
    if (background != nullptr) {
        if (transparent) {
            background->drawTransparent(target, localArea, localArea.topLeft());
        } else {
            background->draw(target, localArea, localArea.topLeft());
        }
        return;
    }
    // fillRect leaves the top row and left column for an outline; start one pixel earlier
    // so that the whole area is covered.
    target->setFillColor(backgroundColor);
    target->fillRect(
        CRect(localArea.left - 1, localArea.top - 1, localArea.right, localArea.bottom));
}

void CViewContainer::drawChild(CDrawContext* target, CView* child, const CRect& localArea) {
    CRect childSize;
    child->getViewSize(childSize);
    // checkUpdate also accepts rectangles that only touch; drawing one of those would draw
    // nothing yet mark it clean.
    const CRect overlap = intersection(childSize, localArea);
    if (!child->checkUpdate(localArea) || overlap.isEmpty()) {
        return;
    }
    target->setClipRect(overlap);
    const uint32_t changesBefore = child->changeCount();
    const bool wasDirty = child->isDirty();
    child->drawRect(target, overlap);
    const CRect visible = intersection(childSize, localBounds());
    if (child->changeCount() != changesBefore || (wasDirty && !overlap.contains(visible))) {
        child->keepDirty();
    }
}

void CViewContainer::redrawRect(CDrawContext* context, const CRect& rect) {
    if (parentFrame == nullptr) {
        return;
    }
    // Redraw through the frame, so that whatever lies over the rectangle at any level is
    // drawn again too.
    CPoint origin(rect.left, rect.top);
    localToFrame(origin);
    CRect inFrame = rect;
    inFrame.moveTo(origin.x, origin.y);
    parentFrame->drawRect(context, inFrame);
}

void CViewContainer::update(CDrawContext* context) {
    if (CView::isDirty()) {
        redrawRect(context, localBounds());
        CView::setDirty(false);
        return;
    }
    for (size_t index = 0; index < children.size(); ++index) {
        CView* child = children[index];
        if (!child->isDirty()) {
            continue;
        }
        CRect childSize;
        child->getViewSize(childSize);
        CPoint origin(childSize.left, childSize.top);
        localToFrame(origin);
        childSize.moveTo(origin.x, origin.y);
        CRect clip;
        context->getClipRect(clip);
        context->setClipRect(intersection(childSize, clip));
        child->update(context);
        context->setClipRect(clip);
    }
}

void CViewContainer::mouse(CDrawContext* context, const CPoint& where, int32_t buttons) {
    const CPoint local(where.x - size.left, where.y - size.top);
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        CView* view = *child;
        if (view->getMouseEnabled() && view->hitTest(local, buttons)) {
            if (context != nullptr) {
                inLocalSpace(context, [&] { view->mouse(context, local, buttons); });
            } else {
                view->mouse(context, local, buttons);
            }
            return;
        }
    }
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    const CPoint local(where.x - size.left, where.y - size.top);
    CView* view = getViewAt(local);
    return view != nullptr && view->onWheel(context, local, distance);
}

bool CViewContainer::onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    const CPoint local(where.x - size.left, where.y - size.top);
    dragTarget = nullptr;
    CView* view = getViewAt(local);
    return view != nullptr && view->onDrop(context, drag, local);
}

void CViewContainer::onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    const CPoint local(where.x - size.left, where.y - size.top);
    dragTarget = getViewAt(local);
    if (dragTarget != nullptr) {
        dragTarget->onDragEnter(context, drag, local);
    }
}

void CViewContainer::onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    const CPoint local(where.x - size.left, where.y - size.top);
    if (dragTarget != nullptr) {
        dragTarget->onDragLeave(context, drag, local);
    }
    dragTarget = nullptr;
}

void CViewContainer::onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    const CPoint local(where.x - size.left, where.y - size.top);
    CView* view = getViewAt(local);
    if (view == dragTarget) {
        if (view != nullptr) {
            view->onDragMove(context, drag, local);
        }
        return;
    }
    if (dragTarget != nullptr) {
        dragTarget->onDragLeave(context, drag, local);
    }
    dragTarget = view;
    if (view != nullptr) {
        view->onDragEnter(context, drag, local);
    }
}

bool CViewContainer::isDirty() const {
    if (CView::isDirty()) {
        return true;
    }
    const CRect bounds = localBounds();
    for (const CView* child : children) {
        CRect childSize;
        child->getViewSize(childSize);
        if (child->isDirty() && !intersection(childSize, bounds).isEmpty()) {
            return true;
        }
    }
    return false;
}

int32_t CViewContainer::notify(CView* sender, const char* message) {
    if (message != nullptr && std::strcmp(message, kMsgCheckIfViewContainer) == 0) {
        return 1;
    }
    return CView::notify(sender, message);
}

bool CViewContainer::isTypeOf(const char* name) const {
    return name != nullptr && (std::strcmp(name, "CViewContainer") == 0 || CView::isTypeOf(name));
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
    CView::frameToLocal(point);
    return point.offset(-size.left, -size.top);
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
    point.offset(size.left, size.top);
    return CView::localToFrame(point);
}

} // namespace quillory
