#include "gui/platform/x11/X11ErrorTrap.h"

#include <atomic>

namespace quillory::gui::x11 {

namespace {

// Shared with the handler, which Xlib may call on a host thread for the host's own
// connection while one of our traps is installed.
std::atomic<Display*> trappedDisplay{nullptr};
std::atomic<XErrorHandler> handlerBefore{nullptr};
std::atomic<unsigned long> trappedErrors{0};
std::atomic<int> openTraps{0};

int trapHandler(Display* display, XErrorEvent* error) {
    if (display == trappedDisplay.load()) {
        trappedErrors.fetch_add(1);
        return 0;
    }
    const XErrorHandler before = handlerBefore.load();
    return before != nullptr ? before(display, error) : 0;
}

} // namespace

ErrorTrap::ErrorTrap(Display* connection) : display(connection) {
    if (openTraps.fetch_add(1) == 0) {
        trappedDisplay.store(display);
        handlerBefore.store(XSetErrorHandler(trapHandler));
    }
    errorsAtStart = trappedErrors.load();
}

ErrorTrap::~ErrorTrap() {
    waitForServer();
    if (openTraps.fetch_sub(1) == 1) {
        const XErrorHandler replaced = XSetErrorHandler(handlerBefore.load());
        if (replaced != trapHandler) {
            // The host set a handler of its own meanwhile: that one stays.
            XSetErrorHandler(replaced);
        }
        trappedDisplay.store(nullptr);
    }
}

bool ErrorTrap::succeeded() {
    waitForServer();
    return trappedErrors.load() == errorsAtStart;
}

// A round trip only when a request is still unanswered: after a request with a reply (a
// query) the server has already reported everything before it.
void ErrorTrap::waitForServer() {
    if (XNextRequest(display) - 1 != XLastKnownRequestProcessed(display)) {
        XSync(display, False);
    }
}

} // namespace quillory::gui::x11
