#include "gui/platform/x11/X11Window.h"

#include "gui/GuiConstants.h"
#include "gui/platform/x11/BoundingRect.h"
#include "gui/platform/x11/X11Backend.h"
#include "gui/platform/x11/X11ErrorTrap.h"
#include "gui/platform/x11/X11PopupSession.h"
#include "gui/platform/x11/X11WindowSurface.h"

#include <X11/cursorfont.h>

#include <algorithm>

namespace quillory::gui::x11 {

namespace {

// The core cursor font's nearest shapes; it has no diagonal double arrows, so the corner
// shapes stand in for them.
unsigned int cursorShape(CCursorType cursor) {
    switch (cursor) {
    case CCursorType::kCursorWait:
        return XC_watch;
    case CCursorType::kCursorHSize:
        return XC_sb_h_double_arrow;
    case CCursorType::kCursorVSize:
        return XC_sb_v_double_arrow;
    case CCursorType::kCursorSizeAll:
        return XC_fleur;
    case CCursorType::kCursorNESWSize:
        return XC_bottom_left_corner;
    case CCursorType::kCursorNWSESize:
        return XC_bottom_right_corner;
    case CCursorType::kCursorCopy:
        return XC_plus;
    case CCursorType::kCursorNotAllowed:
        return XC_X_cursor;
    case CCursorType::kCursorHand:
        return XC_hand2;
    case CCursorType::kCursorDefault:
        break;
    }
    return XC_left_ptr;
}

} // namespace

int32_t toolkitButtons(unsigned int state) {
    int32_t buttons = 0;
    buttons |= (state & Button1Mask) != 0 ? kMouseLeft : 0;
    buttons |= (state & Button2Mask) != 0 ? kMouseMiddle : 0;
    buttons |= (state & Button3Mask) != 0 ? kMouseRight : 0;
    buttons |= (state & ShiftMask) != 0 ? kModifierShift : 0;
    buttons |= (state & ControlMask) != 0 ? kModifierControl : 0;
    buttons |= (state & Mod1Mask) != 0 ? kModifierAlt : 0;
    return buttons;
}

X11Window::X11Window(X11Backend& backend, std::shared_ptr<NativeWindow> window,
                     WindowEvents& windowEvents)
    : owner(backend), native(std::move(window)), events(windowEvents) {
    native->connection->watch(native->id);
}

X11Window::~X11Window() {
    native->flush();
    native->connection->unwatch(native->id);
    if (native->alive) {
        // Under the trap: the parent may already have taken the window with it.
        ErrorTrap trap(native->display());
        XDestroyWindow(native->display(), native->id);
        native->alive = false;
    }
}

void X11Window::processEvents() {
    if (pumping || popupOpen) {
        return;
    }
    pumping = true;
    native->connection->pump();
    deliver(native->connection->take(native->id));
    pumping = false;
}

void X11Window::deliver(const std::vector<XEvent>& queued) {
    CRect exposed;
    for (const XEvent& event : queued) {
        if (event.type == DestroyNotify && event.xdestroywindow.window == native->id) {
            native->alive = false;
            events.windowDestroyed();
            return;
        }
        if (event.type == Expose) {
            const XExposeEvent& expose = event.xexpose;
            exposed = boundingRect(exposed, CRect(expose.x, expose.y, expose.x + expose.width,
                                                  expose.y + expose.height));
        }
    }
    // Painted first, so that a press answered with a popup finds the window drawn.
    if (!exposed.isEmpty()) {
        paint(exposed);
    }
    for (const XEvent& event : queued) {
        if (event.type == ButtonPress && native->alive) {
            deliverPress(event.xbutton);
        }
    }
}

void X11Window::deliverPress(const XButtonEvent& press) {
    const CPoint where(press.x, press.y);
    switch (press.button) {
    case Button1:
    case Button2:
    case Button3: {
        const unsigned int pressed = Button1Mask << (press.button - Button1);
        events.windowMouseDown(where, toolkitButtons(press.state | pressed));
        break;
    }
    case Button4: // the wheel turned away from the user
        events.windowWheel(where, 1.0f);
        break;
    case Button5:
        events.windowWheel(where, -1.0f);
        break;
    default: // sideways wheel (6, 7) and extra buttons: the editor has no use for them
        break;
    }
}

void X11Window::paint(const CRect& area) {
    const CRect visible =
        intersection(area, CRect(0, 0, native->shown.width, native->shown.height));
    if (visible.isEmpty() || !native->alive) {
        return;
    }
    ++paints;
    WindowSurface target(owner, native, &owner.textRenderer());
    events.windowPaint(target, visible);
}

std::unique_ptr<Surface> X11Window::createSurface() {
    return std::make_unique<WindowSurface>(owner, native, &owner.textRenderer());
}

CPoint X11Window::screenOrigin() const {
    if (!native->alive) {
        return CPoint();
    }
    Display* display = native->display();
    ErrorTrap trap(display);
    int x = 0;
    int y = 0;
    ::Window child = 0;
    XTranslateCoordinates(display, native->id, native->format.root, 0, 0, &x, &y, &child);
    return trap.succeeded() ? CPoint(x, y) : CPoint();
}

X11Window::Pointer X11Window::queryPointer() const {
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int state = 0;
    XQueryPointer(native->display(), native->format.root, &root, &child, &rootX, &rootY, &windowX,
                  &windowY, &state);
    return Pointer{CPoint(rootX, rootY), state};
}

int32_t X11Window::mouseButtons() const {
    return toolkitButtons(queryPointer().state);
}

CPoint X11Window::cursorPosition() const {
    return queryPointer().onScreen;
}

int32_t X11Window::runPopup(const PopupMenu& menu, CPoint screenPosition, PopupButton button) {
    if (!native->alive || popupOpen) {
        return kPopupCancelled;
    }
    native->flush(); // the control's pressed look is on the screen while the menu is open
    popupOpen = true;
    PopupSessionHost host{*native, owner, owner.textRenderer(),
                          [this](const CRect& area) { paint(area); }};
    const int32_t picked = runPopupSession(host, menu, screenPosition, button);
    popupOpen = false;
    return picked;
}

void X11Window::setCursor(CCursorType cursor) {
    if (!native->alive) {
        return;
    }
    Display* display = native->display();
    ErrorTrap trap(display);
    if (cursor == CCursorType::kCursorDefault) {
        XUndefineCursor(display, native->id);
        return;
    }
    const Cursor shape = XCreateFontCursor(display, cursorShape(cursor));
    XDefineCursor(display, native->id, shape);
    XFreeCursor(display, shape); // the window keeps it while it shows it
}

} // namespace quillory::gui::x11
