#include "gui/CFrame.h"

#include "gui/CDragContainer.h"
#include "gui/CDrawContext.h"
#include "gui/platform/Backend.h"
#include "gui/platform/Surface.h"
#include "shell/AEffEditor.h"
#include "shell/platform/Platform.h"

#include <cstring>

namespace quillory {

namespace {
// The plug-in interface's virtual key code for the tab key, and its shift modifier bit.
constexpr uint8_t kVirtualKeyTab = 2;
constexpr uint8_t kKeyModifierShift = 1;
} // namespace

CFrame::CFrame(const CRect& rect, void* parent, AEffGUIEditor* owner)
    : CViewContainer(rect, this), editor(owner), parentWindow(parent) {
    platform::services().oleInitialize();
    if (parentWindow != nullptr) {
        window = gui::backend().createWindow(parentWindow, rect.width(), rect.height(), *this);
    }
    open = window != nullptr;
}

CFrame::~CFrame() {
    modalView = nullptr;
    endDrag();
    forgetOffscreen(); // before the window it was made for
    window.reset();
    platform::services().oleUninitialize();
    // The views go while the frame is still whole, as they may ask it about focus.
    removeAll(true);
}

void CFrame::idle() {
    if (inIdle || popupDepth > 0) {
        return;
    }
    CReferenceGuard keepAlive(this);
    inIdle = true;
    if (window != nullptr) {
        window->processEvents();
    }
    if (open && !firstDraw && isDirty()) {
        CDrawContext* context = createDrawContext();
        update(context);
        context->forget();
    }
    inIdle = false;
}

int32_t CFrame::onKeyDown(VstKeyCode& keyCode) {
    int32_t result = -1;
    if (focusView != nullptr) {
        result = focusView->onKeyDown(keyCode);
    }
    if (result == -1 && modalView != nullptr) {
        result = modalView->onKeyDown(keyCode);
    }
    if (result == -1 && keyCode.virt == kVirtualKeyTab &&
        advanceNextFocusView(focusView, (keyCode.modifier & kKeyModifierShift) != 0)) {
        result = 1;
    }
    return result;
}

int32_t CFrame::onKeyUp(VstKeyCode& keyCode) {
    int32_t result = -1;
    if (focusView != nullptr) {
        result = focusView->onKeyUp(keyCode);
    }
    if (result == -1 && modalView != nullptr) {
        result = modalView->onKeyUp(keyCode);
    }
    return result;
}

bool CFrame::onWheelAtScreenPoint(int32_t screenX, int32_t screenY, float distance) {
    if (!open) {
        return false;
    }
    CReferenceGuard keepAlive(this);
    CDrawContext* context = createDrawContext();
    const CPoint where(screenX - context->offsetScreen.x, screenY - context->offsetScreen.y);
    const bool handled = onWheel(context, where, distance);
    context->forget();
    return handled;
}

void CFrame::setBackground(CBitmap* bitmap) {
    CViewContainer::setBackground(bitmap);
}

void CFrame::draw(CDrawContext* context) {
    firstDraw = false;
    CViewContainer::draw(context);
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
    firstDraw = false;
    if (context == nullptr) {
        return;
    }
    CRect previousClip;
    context->getClipRect(previousClip);
    const CRect clip = intersection(updateRect, previousClip);
    if (!clip.isEmpty()) {
        context->setClipRect(clip);
        CViewContainer::drawRect(context, clip);
        context->setClipRect(previousClip);
    }
}

void CFrame::update(CDrawContext* context) {
    if (context != nullptr) {
        CViewContainer::update(context);
    }
}

void CFrame::mouse(CDrawContext* context, const CPoint& where, int32_t buttons) {
    setFocusView(nullptr);
    if (buttons == -1) {
        buttons = context != nullptr  ? context->getMouseButtons()
                  : window != nullptr ? window->mouseButtons()
                                      : 0;
    }
    if (modalView != nullptr && modalView->hitTest(where, buttons)) {
        modalView->mouse(context, where, buttons);
        return;
    }
    CViewContainer::mouse(context, where, buttons);
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    if (modalView != nullptr) {
        return modalView->onWheel(context, where, distance);
    }
    return CViewContainer::onWheel(context, where, distance);
}

bool CFrame::isTypeOf(const char* name) const {
    return name != nullptr && (std::strcmp(name, "CFrame") == 0 || CViewContainer::isTypeOf(name));
}

bool CFrame::setModalView(CView* view) {
    if (view != nullptr && modalView != nullptr) {
        return false;
    }
    modalView = view;
    return true;
}

void CFrame::setFocusView(CView* view) {
    CView* previous = focusView;
    focusView = view;
    if (view != nullptr && view != previous && view->getWantsFocus()) {
        view->setDirty(true);
    }
    if (previous != nullptr && previous != view) {
        previous->looseFocus(nullptr);
        if (previous->getWantsFocus()) {
            previous->setDirty(true);
        }
    }
}

bool CFrame::advanceNextFocusView(CView* from, bool reverse) {
    const int32_t count = getNbViews();
    if (count == 0) {
        return false;
    }
    int32_t start = -1;
    for (int32_t index = 0; index < count; ++index) {
        if (getView(index) == from) {
            start = index;
        }
    }
    if (start < 0) {
        start = reverse ? 0 : count - 1; // with no focus, begin at the first (or last) view
    }
    for (int32_t step = 1; step <= count; ++step) {
        const int32_t index = ((start + (reverse ? -step : step)) % count + count) % count;
        CView* candidate = getView(index);
        if (candidate != from && candidate->getWantsFocus()) {
            setFocusView(candidate);
            return true;
        }
    }
    return false;
}

CDrawContext* CFrame::createDrawContext() {
    return new CDrawContext(this, window != nullptr ? window->createSurface() : nullptr);
}

void CFrame::beginEdit(int32_t index) {
    if (editor != nullptr) {
        editor->beginEdit(index);
    }
}

void CFrame::endEdit(int32_t index) {
    if (editor != nullptr) {
        editor->endEdit(index);
    }
}

void CFrame::doIdleStuff() {
    if (editor != nullptr) {
        editor->doIdleStuff();
    }
}

void CFrame::setCursor(CCursorType cursor) {
    if (window != nullptr && open) {
        window->setCursor(cursor);
    }
}

int32_t CFrame::runPopup(const gui::PopupMenu& menu, CPoint screenPosition,
                         gui::PopupButton button) {
    if (window == nullptr || !open) {
        return gui::kPopupCancelled;
    }
    ++popupDepth;
    const int32_t picked = window->runPopup(menu, screenPosition, button);
    --popupDepth;
    return picked;
}

void CFrame::viewWillGo(CView* view) {
    if (focusView == view) {
        setFocusView(nullptr);
    }
    if (modalView == view) {
        modalView = nullptr;
    }
}

void CFrame::windowPaint(gui::Surface& target, const CRect& area) {
    if (area.isEmpty()) {
        return;
    }
    CReferenceGuard keepAlive(this);
    auto* context = new CDrawContext(this, &target);
    drawRect(context, area);
    context->forget();
}

void CFrame::windowMouseDown(CPoint where, int32_t buttons) {
    if (!open) {
        return;
    }
    CReferenceGuard keepAlive(this);
    CDrawContext* context = createDrawContext();
    mouse(context, where, buttons);
    context->forget();
}

void CFrame::windowWheel(CPoint where, float distance) {
    if (!open) {
        return;
    }
    CReferenceGuard keepAlive(this);
    CDrawContext* context = createDrawContext();
    onWheel(context, where, distance);
    context->forget();
}

void CFrame::windowDragEnter(const gui::DragData& data, CPoint where) {
    CReferenceGuard keepAlive(this);
    endDrag();
    drag = new CDragContainer(data);
    CDrawContext* context = createDrawContext();
    onDragEnter(context, drag, where);
    context->forget();
}

void CFrame::windowDragMove(const gui::DragData& data, CPoint where) {
    if (drag == nullptr) {
        windowDragEnter(data, where);
        return;
    }
    CReferenceGuard keepAlive(this);
    CDrawContext* context = createDrawContext();
    onDragMove(context, drag, where);
    context->forget();
}

void CFrame::windowDragLeave(const gui::DragData&) {
    if (drag == nullptr) {
        return;
    }
    CReferenceGuard keepAlive(this);
    CDrawContext* context = createDrawContext();
    onDragLeave(context, drag, CPoint());
    context->forget();
    endDrag();
}

void CFrame::windowDrop(const gui::DragData& data, CPoint where) {
    CReferenceGuard keepAlive(this);
    if (drag == nullptr) {
        drag = new CDragContainer(data);
    }
    CDrawContext* context = createDrawContext();
    onDrop(context, drag, where);
    context->forget();
    endDrag();
}

void CFrame::windowDestroyed() {
    open = false;
    parentWindow = nullptr;
}

void CFrame::endDrag() {
    if (drag != nullptr) {
        drag->forget();
        drag = nullptr;
    }
}

} // namespace quillory
