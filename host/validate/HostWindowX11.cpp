// The host's window on X11: a connection of its own, a mapped top-level window, and a
// scoped error handler so that an X error caused by the plug-in's requests on this
// connection is counted rather than ending the process (Xlib's default).

#include "host/validate/Check.h"
#include "host/validate/HostWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace quillory::validate {
namespace {

int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

class X11Window final : public HostWindow {
public:
    X11Window(Display* connection, int width, int height) : display(connection) {
        previousHandler = XSetErrorHandler(ignoreError);
        const int screen = DefaultScreen(display);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                     static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                     BlackPixel(display, screen), BlackPixel(display, screen));
        XStoreName(display, window, "quillory validate");
        XSelectInput(display, window, StructureNotifyMask | ExposureMask);
        XMapWindow(display, window);
        XSync(display, False);
    }

    ~X11Window() override {
        XDestroyWindow(display, window);
        XSync(display, False);
        XCloseDisplay(display);
        XSetErrorHandler(previousHandler);
    }

    void* handle() const override {
        return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
    }
    intptr_t displayValue() const override { return reinterpret_cast<intptr_t>(display); }

    int childCount(bool expectSome) override {
        constexpr int kAttempts = 50;
        int count = 0;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            pump();
            count = queryChildren();
            if ((count > 0) == expectSome) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return count;
    }

    void pump() override {
        XSync(display, False);
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }

private:
    int queryChildren() {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
            return 0;
        }
        if (children != nullptr) {
            XFree(children);
        }
        return static_cast<int>(count);
    }

    Display* display;
    Window window = 0;
    XErrorHandler previousHandler = nullptr;
};

// A display that is named but refuses a connection is retried for a moment: a virtual X
// server under load (or still tearing down the last check's connections) can refuse one
// briefly, and a skip would leave the editor untried.
Display* openDisplay() {
    const char* name = std::getenv("DISPLAY");
    const int attempts = name != nullptr && *name != '\0' ? 20 : 1;
    for (int attempt = 1;; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) {
            return display;
        }
        if (attempt == attempts) {
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

} // namespace

std::unique_ptr<HostWindow> HostWindow::create(int width, int height) {
    Display* display = openDisplay();
    if (display == nullptr) {
        const char* name = std::getenv("DISPLAY");
        skipCheck(name != nullptr && *name != '\0'
                      ? std::string("cannot connect to the X display ") + name +
                            " to open the editor on"
                      : "no X display to open the editor on (set DISPLAY, or run under "
                        "xvfb-run)");
    }
    return std::make_unique<X11Window>(display, width, height);
}

} // namespace quillory::validate
