#include "host/EditorWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace quillory::host {

struct EditorWindow::Connection {
    Display* display = nullptr;
    Window window = 0;
    Atom deleteWindow = 0;
    bool open = false;
};

namespace {

// How long a new window may take to be mapped.
constexpr auto kMapTimeout = std::chrono::seconds(5);

// Errors of the requests between installing and removing it are recorded, not fatal.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : connection(display) {
        XSync(connection, False);
        failed = false;
        previous = XSetErrorHandler(&ErrorTrap::record);
    }
    ~ErrorTrap() {
        XSync(connection, False);
        XSetErrorHandler(previous);
    }
    bool hadError() {
        XSync(connection, False);
        return failed;
    }

private:
    static int record(Display*, XErrorEvent*) {
        failed = true;
        return 0;
    }
    static inline bool failed = false;
    Display* connection;
    int (*previous)(Display*, XErrorEvent*) = nullptr;
};

// The shift that brings the lowest bit of `mask` to bit 0, and the mask's width.
int lowestBit(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1UL) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    const unsigned long value = (pixel & mask) >> lowestBit(mask);
    const unsigned long maximum = mask >> lowestBit(mask);
    return static_cast<uint8_t>(value * 255 / maximum);
}

} // namespace

EditorWindow::EditorWindow() : x(std::make_unique<Connection>()) {
    x->display = XOpenDisplay(nullptr);
    if (x->display == nullptr) {
        throw std::runtime_error("cannot open the X display (is DISPLAY set?)");
    }
}

EditorWindow::~EditorWindow() {
    if (x->window != 0) {
        XDestroyWindow(x->display, x->window);
    }
    XCloseDisplay(x->display);
}

void EditorWindow::show(int width, int height, const std::string& title) {
    Display* display = x->display;
    const int screen = DefaultScreen(display);
    x->window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                    static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                    BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, x->window, title.c_str());
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display, x->window, hints);
    XFree(hints);
    x->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, x->window, &x->deleteWindow, 1);
    XSelectInput(display, x->window, StructureNotifyMask);
    XMapWindow(display, x->window);
    XFlush(display);

    const auto deadline = std::chrono::steady_clock::now() + kMapTimeout;
    while (!x->open) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            x->open = x->open || event.type == MapNotify;
        }
        if (!x->open && std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error("the X server did not show the editor's window");
        }
        if (!x->open) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
}

void EditorWindow::resize(int width, int height) {
    if (x->window == 0 || width <= 0 || height <= 0) {
        return;
    }
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(x->display, x->window, hints);
    XFree(hints);
    XResizeWindow(x->display, x->window, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    XFlush(x->display);
}

void* EditorWindow::display() const {
    return x->display;
}

void* EditorWindow::windowId() const {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(x->window));
}

bool EditorWindow::processEvents() {
    while (XPending(x->display) > 0) {
        XEvent event;
        XNextEvent(x->display, &event);
        if (event.type == ClientMessage &&
            static_cast<Atom>(event.xclient.data.l[0]) == x->deleteWindow) {
            x->open = false;
        } else if (event.type == DestroyNotify && event.xdestroywindow.window == x->window) {
            x->open = false;
            x->window = 0;
        }
    }
    return x->open;
}

RgbImage EditorWindow::capture() {
    RgbImage image;
    if (x->window == 0) {
        return image;
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(x->display, x->window, &attributes);
    ErrorTrap trap(x->display);
    XImage* pixels = XGetImage(x->display, x->window, 0, 0, static_cast<unsigned>(attributes.width),
                               static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (pixels == nullptr || trap.hadError()) {
        if (pixels != nullptr) {
            XDestroyImage(pixels);
        }
        return image;
    }
    image.width = attributes.width;
    image.height = attributes.height;
    image.rgb.reserve(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int column = 0; column < image.width; ++column) {
            const unsigned long pixel = XGetPixel(pixels, column, y);
            image.rgb.push_back(channel(pixel, pixels->red_mask));
            image.rgb.push_back(channel(pixel, pixels->green_mask));
            image.rgb.push_back(channel(pixel, pixels->blue_mask));
        }
    }
    XDestroyImage(pixels);
    return image;
}

} // namespace quillory::host
