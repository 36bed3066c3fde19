#include "tests/host/XWindowClose.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quillory::testing {
namespace {

Window findTopLevel(Display* display, const std::string& name) {
    Window found = 0;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return 0;
    }
    for (unsigned int i = 0; i < count; ++i) {
        char* windowName = nullptr;
        if (XFetchName(display, children[i], &windowName) != 0 && windowName != nullptr) {
            if (name == windowName) {
                found = children[i];
            }
            XFree(windowName);
        }
    }
    XFree(children);
    return found;
}

} // namespace

bool askWindowToClose(const std::string& name) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const Window window = findTopLevel(display, name);
    if (window != 0) {
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = window;
        message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        message.xclient.format = 32;
        message.xclient.data.l[0] =
            static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        XSendEvent(display, window, False, NoEventMask, &message);
        XSync(display, False);
    }
    XCloseDisplay(display);
    return window != 0;
}

} // namespace quillory::testing
