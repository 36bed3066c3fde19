#include "gui/platform/x11/X11PopupSession.h"

#include "gui/platform/cairo/CairoTextRenderer.h"
#include "gui/platform/x11/BoundingRect.h"
#include "gui/platform/x11/PopupNavigator.h"
#include "gui/platform/x11/PopupPainter.h"
#include "gui/platform/x11/X11ErrorTrap.h"
#include "gui/platform/x11/X11PixelCopy.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

namespace quillory::gui::x11 {

namespace {

// Each wait for the server is this short, so the loop notices the editor window's end.
constexpr int kWaitMilliseconds = 50;
// A grab held by someone else (the host, briefly) is retried for about 100 ms.
constexpr int kGrabAttempts = 20;
constexpr auto kGrabRetryPause = std::chrono::milliseconds(5);

constexpr long kPaneEvents =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
constexpr unsigned int kGrabbedPointerEvents =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

std::optional<PopupKey> popupKey(XKeyEvent& press) {
    switch (XLookupKeysym(&press, 0)) {
    case XK_Up:
    case XK_KP_Up:
        return PopupKey::kUp;
    case XK_Down:
    case XK_KP_Down:
        return PopupKey::kDown;
    case XK_Left:
    case XK_KP_Left:
        return PopupKey::kLeft;
    case XK_Right:
    case XK_KP_Right:
        return PopupKey::kRight;
    case XK_Return:
    case XK_KP_Enter:
        return PopupKey::kReturn;
    case XK_Escape:
        return PopupKey::kEscape;
    default:
        return std::nullopt;
    }
}

// The windows of the open panes, kept in step with the navigator. However the session ends,
// it gives back both grabs, destroys the windows and waits for the server.
class PaneWindows {
public:
    explicit PaneWindows(PopupSessionHost& session)
        : host(session), display(session.editor.display()) {}
    ~PaneWindows() {
        if (keyboardGrabbed) {
            XUngrabKeyboard(display, CurrentTime);
        }
        if (pointerGrabbed) {
            XUngrabPointer(display, CurrentTime);
        }
        closeFrom(0);
        XSync(display, False);
    }
    PaneWindows(const PaneWindows&) = delete;
    PaneWindows& operator=(const PaneWindows&) = delete;

    // Opens and closes windows as panes open and close, and draws what changed (nothing
    // before `drawing` is allowed).
    void follow(const PopupNavigator& navigator, bool drawing = true) {
        const std::vector<PopupPane>& panes = navigator.openPanes();
        std::size_t kept = 0;
        while (kept < shown.size() && kept < panes.size() &&
               shown[kept].serial == panes[kept].serial) {
            ++kept;
        }
        closeFrom(kept);
        for (std::size_t index = 0; index < panes.size(); ++index) {
            if (index == shown.size()) {
                shown.push_back(Shown{panes[index].serial, 0, false, open(panes[index])});
            }
            Shown& window = shown[index];
            if (drawing && (!window.drawn || window.revision != panes[index].revision)) {
                draw(window, panes[index]);
            }
        }
        XFlush(display);
    }

    void redraw(::Window id, const PopupNavigator& navigator) {
        for (std::size_t index = 0; index < shown.size(); ++index) {
            if (shown[index].id == id && shown[index].drawn) {
                draw(shown[index], navigator.openPanes()[index]);
            }
        }
    }

    bool owns(::Window id) const {
        return std::any_of(shown.begin(), shown.end(),
                           [id](const Shown& window) { return window.id == id; });
    }

    // Pointer and keyboard, both on the first pane, which must be viewable by now.
    bool grab() {
        XSync(display, False);
        const ::Window target = shown.front().id;
        for (int attempt = 0; attempt < kGrabAttempts && !pointerGrabbed; ++attempt) {
            pointerGrabbed =
                XGrabPointer(display, target, True, kGrabbedPointerEvents, GrabModeAsync,
                             GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
            if (!pointerGrabbed) {
                std::this_thread::sleep_for(kGrabRetryPause);
            }
        }
        for (int attempt = 0; attempt < kGrabAttempts && pointerGrabbed && !keyboardGrabbed;
             ++attempt) {
            keyboardGrabbed = XGrabKeyboard(display, target, True, GrabModeAsync, GrabModeAsync,
                                            CurrentTime) == GrabSuccess;
            if (!keyboardGrabbed) {
                std::this_thread::sleep_for(kGrabRetryPause);
            }
        }
        return pointerGrabbed && keyboardGrabbed;
    }

private:
    struct Shown {
        uint32_t serial;
        uint32_t revision;
        bool drawn;
        ::Window id;
    };

    ::Window open(const PopupPane& pane) {
        const ScreenFormat& format = host.editor.format;
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.save_under = True;
        attributes.background_pixmap = None;
        attributes.border_pixel = 0;
        attributes.colormap = format.colormap;
        attributes.event_mask = kPaneEvents;
        const ::Window id = XCreateWindow(display, format.root, pane.frame.left, pane.frame.top,
                                          static_cast<unsigned>(pane.frame.width()),
                                          static_cast<unsigned>(pane.frame.height()), 0,
                                          format.depth, InputOutput, format.visual,
                                          CWOverrideRedirect | CWSaveUnder | CWBackPixmap |
                                              CWBorderPixel | CWColormap | CWEventMask,
                                          &attributes);
        // Compositors draw a menu's shadow and skip its animations by this type.
        const Atom type = host.editor.connection->atom("_NET_WM_WINDOW_TYPE_POPUP_MENU");
        XChangeProperty(display, id, host.editor.connection->atom("_NET_WM_WINDOW_TYPE"), XA_ATOM,
                        32, PropModeReplace, reinterpret_cast<const unsigned char*>(&type), 1);
        XMapRaised(display, id);
        return id;
    }

    void draw(Shown& window, const PopupPane& pane) {
        PixelImage image(pane.frame.width(), pane.frame.height());
        paintPopupPane(image, pane, host.backend, host.text);
        const CPoint size(image.width, image.height);
        putPixels(display, window.id, host.editor.gc, host.editor.format, size, image,
                  CRect(0, 0, size.x, size.y), CPoint());
        window.drawn = true;
        window.revision = pane.revision;
    }

    void closeFrom(std::size_t first) {
        while (shown.size() > first) {
            XDestroyWindow(display, shown.back().id);
            shown.pop_back();
        }
    }

    PopupSessionHost& host;
    Display* display;
    std::vector<Shown> shown;
    bool pointerGrabbed = false;
    bool keyboardGrabbed = false;
};

// The loop's handling of one event at a time.
class PopupLoop {
public:
    PopupLoop(PopupSessionHost& session, PopupNavigator& menu, PopupButton opener)
        : host(session), navigator(menu), button(opener) {}

    void handle(XEvent& event, PaneWindows& panes) {
        switch (event.type) {
        case MotionNotify:
            navigator.pointerMoved(CPoint(event.xmotion.x_root, event.xmotion.y_root));
            break;
        case ButtonPress:
            if (event.xbutton.button <= Button3) { // not the wheel
                navigator.buttonPressed(CPoint(event.xbutton.x_root, event.xbutton.y_root));
            }
            break;
        case ButtonRelease:
            if (picksWith(event.xbutton.button)) {
                navigator.buttonReleased(CPoint(event.xbutton.x_root, event.xbutton.y_root));
            }
            break;
        case KeyPress:
            if (const std::optional<PopupKey> key = popupKey(event.xkey)) {
                navigator.keyPressed(*key);
            }
            break;
        case KeyRelease:
        case EnterNotify:
        case LeaveNotify:
            break;
        default:
            if (panes.owns(event.xany.window)) {
                if (event.type == Expose && event.xexpose.count == 0) {
                    panes.redraw(event.xany.window, navigator);
                }
            } else {
                takeForEditors(event);
            }
        }
    }

    // Events of the editor windows: exposures of this one are repainted while the menu is
    // open; everything else waits in its window's queue.
    void takeForEditors(const XEvent& event) {
        NativeWindow& editor = host.editor;
        if (event.xany.window == editor.id && event.type == Expose) {
            const XExposeEvent& expose = event.xexpose;
            exposed = boundingRect(exposed, CRect(expose.x, expose.y, expose.x + expose.width,
                                                  expose.y + expose.height));
            return;
        }
        if (event.xany.window == editor.id && event.type == DestroyNotify) {
            editor.alive = false;
        }
        editor.connection->route(event);
    }

    void repaintExposed() {
        if (!exposed.isEmpty()) {
            host.repaintEditor(std::exchange(exposed, CRect()));
        }
    }

private:
    bool picksWith(unsigned int pressed) const {
        return pressed == Button1 || (button == PopupButton::kRight && pressed == Button3);
    }

    PopupSessionHost& host;
    PopupNavigator& navigator;
    PopupButton button;
    CRect exposed;
};

void waitForEvents(Display* display) {
    pollfd connection{XConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, kWaitMilliseconds);
}

} // namespace

int32_t runPopupSession(PopupSessionHost& host, const PopupMenu& menu, CPoint position,
                        PopupButton button) {
    NativeWindow& editor = host.editor;
    Display* display = editor.display();
    PopupNavigator navigator(menu, position, editor.format.bounds, [](const std::string& text) {
        return cairo::textWidth(text.c_str(), popupFont());
    });
    if (navigator.result() != PopupNavigator::Outcome::kOpen) {
        return kPopupCancelled;
    }
    // One trap for the whole session, ended only after the windows are gone.
    ErrorTrap trap(display);
    PopupLoop loop(host, navigator, button);
    {
        PaneWindows panes(host);
        panes.follow(navigator, false);
        // A menu that cannot have the pointer and the keyboard is never shown.
        if (!panes.grab()) {
            navigator.dismiss();
        }
        while (navigator.result() == PopupNavigator::Outcome::kOpen && editor.alive) {
            panes.follow(navigator);
            if (XPending(display) == 0) {
                loop.repaintExposed();
                waitForEvents(display);
                continue;
            }
            XEvent event;
            XNextEvent(display, &event);
            loop.handle(event, panes);
        }
    }
    // What the panes covered of the editor is exposed now: repaint it before answering.
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        loop.takeForEditors(event);
    }
    loop.repaintExposed();
    return navigator.result() == PopupNavigator::Outcome::kPicked ? navigator.pickedCommand()
                                                                  : kPopupCancelled;
}

} // namespace quillory::gui::x11
