#include "gui/platform/x11/X11Connection.h"

#include <mutex>
#include <utility>

namespace quillory::gui::x11 {

namespace {

// A window whose editor takes no idle (a host that idles only visible editors) keeps at
// most this many events; the oldest go first.
constexpr std::size_t kMaxQueuedEvents = 1024;

bool isOurPixelOrder(const Visual* visual, int depth, Display* display) {
    if (visual->c_class != TrueColor || depth != 24 || visual->red_mask != 0xFF0000 ||
        visual->green_mask != 0x00FF00 || visual->blue_mask != 0x0000FF) {
        return false;
    }
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    bool thirtyTwoBits = false;
    for (int index = 0; index < count; ++index) {
        if (formats[index].depth == 24) {
            thirtyTwoBits = formats[index].bits_per_pixel == 32;
        }
    }
    if (formats != nullptr) {
        XFree(formats);
    }
    return thirtyTwoBits;
}

} // namespace

std::shared_ptr<Connection> Connection::acquire() {
    static std::mutex guard;
    static std::weak_ptr<Connection> shared;
    const std::lock_guard lock(guard);
    if (std::shared_ptr<Connection> existing = shared.lock()) {
        return existing;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    std::shared_ptr<Connection> opened(new Connection(display));
    shared = opened;
    return opened;
}

Connection::~Connection() {
    XCloseDisplay(xDisplay);
}

ScreenFormat Connection::screenFormat(int screenNumber) const {
    ScreenFormat format;
    format.number = screenNumber;
    format.root = XRootWindow(xDisplay, screenNumber);
    format.visual = XDefaultVisual(xDisplay, screenNumber);
    format.depth = XDefaultDepth(xDisplay, screenNumber);
    format.colormap = XDefaultColormap(xDisplay, screenNumber);
    format.bounds =
        CRect(0, 0, XDisplayWidth(xDisplay, screenNumber), XDisplayHeight(xDisplay, screenNumber));
    format.takesPixelsAsTheyAre = isOurPixelOrder(format.visual, format.depth, xDisplay);
    return format;
}

Atom Connection::atom(const char* name) const {
    return XInternAtom(xDisplay, name, False);
}

void Connection::watch(::Window window) {
    queues[window];
}

void Connection::unwatch(::Window window) {
    queues.erase(window);
}

void Connection::pump() {
    while (XPending(xDisplay) > 0) {
        XEvent event;
        XNextEvent(xDisplay, &event);
        route(event);
    }
}

void Connection::route(const XEvent& event) {
    const auto found = queues.find(event.xany.window);
    if (found == queues.end()) {
        return;
    }
    std::vector<XEvent>& queue = found->second;
    if (queue.size() >= kMaxQueuedEvents) {
        queue.erase(queue.begin());
    }
    queue.push_back(event);
}

std::vector<XEvent> Connection::take(::Window window) {
    const auto found = queues.find(window);
    if (found == queues.end() || found->second.empty()) {
        return {};
    }
    return std::exchange(found->second, {});
}

} // namespace quillory::gui::x11
