#include "X11TestHost.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <bit>
#include <thread>

namespace quillory::test {

namespace {
uint32_t channel(unsigned long pixel, unsigned long mask) {
    const int shift = std::countr_zero(mask);
    const unsigned long maximum = mask >> shift;
    return static_cast<uint32_t>((((pixel & mask) >> shift) * 255 + maximum / 2) / maximum);
}
} // namespace

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return done();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

X11TestHost::X11TestHost() : connection(XOpenDisplay(nullptr)) {}

X11TestHost::~X11TestHost() {
    if (connection != nullptr) {
        XCloseDisplay(connection);
    }
}

int X11TestHost::depth() const {
    return XDefaultDepth(connection, XDefaultScreen(connection));
}

::Window X11TestHost::makeWindow(const CRect& where, uint32_t color) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = False;
    XColor wanted{};
    wanted.red = static_cast<unsigned short>((color >> 16 & 0xFF) * 257);
    wanted.green = static_cast<unsigned short>((color >> 8 & 0xFF) * 257);
    wanted.blue = static_cast<unsigned short>((color & 0xFF) * 257);
    XAllocColor(connection, XDefaultColormap(connection, XDefaultScreen(connection)), &wanted);
    attributes.background_pixel = wanted.pixel;
    attributes.event_mask = StructureNotifyMask;
    const ::Window window = XCreateWindow(
        connection, XDefaultRootWindow(connection), where.left, where.top,
        static_cast<unsigned>(where.width()), static_cast<unsigned>(where.height()), 0,
        CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    XMapRaised(connection, window);
    XEvent mapped;
    XWindowEvent(connection, window, StructureNotifyMask, &mapped);
    while (mapped.type != MapNotify) {
        XWindowEvent(connection, window, StructureNotifyMask, &mapped);
    }
    sync();
    return window;
}

void X11TestHost::destroy(::Window window) {
    XDestroyWindow(connection, window);
    sync();
}

void X11TestHost::unmap(::Window window) {
    XUnmapWindow(connection, window);
    sync();
}

std::vector<::Window> X11TestHost::children(::Window window) const {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* list = nullptr;
    unsigned int count = 0;
    std::vector<::Window> found;
    if (XQueryTree(connection, window, &root, &parent, &list, &count) != 0) {
        found.assign(list, list + count);
    }
    if (list != nullptr) {
        XFree(list);
    }
    return found;
}

std::vector<::Window> X11TestHost::popups() const {
    std::vector<::Window> found;
    for (::Window window : children(XDefaultRootWindow(connection))) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(connection, window, &attributes) != 0 &&
            attributes.override_redirect && attributes.map_state == IsViewable) {
            found.push_back(window);
        }
    }
    return found;
}

CRect X11TestHost::screenRect(::Window window) const {
    XWindowAttributes attributes{};
    XGetWindowAttributes(connection, window, &attributes);
    int x = 0;
    int y = 0;
    ::Window child = 0;
    XTranslateCoordinates(connection, window, XDefaultRootWindow(connection), 0, 0, &x, &y, &child);
    return CRect(x, y, x + attributes.width, y + attributes.height);
}

gui::PixelImage X11TestHost::read(::Window window) const {
    const CRect rect = screenRect(window);
    XImage* image = XGetImage(connection, window, 0, 0, static_cast<unsigned>(rect.width()),
                              static_cast<unsigned>(rect.height()), AllPlanes, ZPixmap);
    gui::PixelImage out;
    if (image == nullptr) {
        return out;
    }
    out = gui::PixelImage(rect.width(), rect.height());
    const Visual* visual = XDefaultVisual(connection, XDefaultScreen(connection));
    for (int32_t y = 0; y < out.height; ++y) {
        for (int32_t x = 0; x < out.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            out.at(x, y) = channel(pixel, visual->red_mask) << 16 |
                           channel(pixel, visual->green_mask) << 8 |
                           channel(pixel, visual->blue_mask);
        }
    }
    XDestroyImage(image);
    return out;
}

void X11TestHost::moveTo(CPoint where) {
    XTestFakeMotionEvent(connection, XDefaultScreen(connection), where.x, where.y, CurrentTime);
    sync();
}

void X11TestHost::press(unsigned int button) {
    XTestFakeButtonEvent(connection, button, True, CurrentTime);
    sync();
}

void X11TestHost::release(unsigned int button) {
    XTestFakeButtonEvent(connection, button, False, CurrentTime);
    sync();
}

void X11TestHost::click(CPoint where, unsigned int button) {
    moveTo(where);
    press(button);
    release(button);
}

void X11TestHost::key(const char* keysymName, bool down) {
    const KeyCode code = XKeysymToKeycode(connection, XStringToKeysym(keysymName));
    XTestFakeKeyEvent(connection, code, down ? True : False, CurrentTime);
    sync();
}

void X11TestHost::tap(const char* keysymName) {
    key(keysymName, true);
    key(keysymName, false);
}

void X11TestHost::sync() const {
    XSync(connection, False);
}

} // namespace quillory::test
