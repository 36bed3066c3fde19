#pragma once
// The module's own connection to the X server, shared by every editor window of the
// process: opened with the first window and closed when the last window, and the last
// surface drawn on one, is gone. Hosts pass a Display of their own or none; we never use
// theirs, never call XInitThreads and start no thread: everything runs on the thread that
// opens the editor and calls its idle.
//
// Events for all our windows arrive on this one connection. pump() sorts them into a queue
// per window, so that each editor takes its own events at its own idle.

#include "gui/CRect.h"

#include <X11/Xlib.h>

#include <memory>
#include <unordered_map>
#include <vector>

namespace quillory::gui::x11 {

// A screen's visual and how our 0x00RRGGBB pixels reach a window on it.
struct ScreenFormat {
    int number = 0;
    ::Window root = 0;
    Visual* visual = nullptr;
    int depth = 0;
    Colormap colormap = 0;
    CRect bounds; // the screen in root coordinates
    // 24-bit TrueColor stored in 32 bits with red, green and blue in our order: XPutImage
    // takes our pixels as they are. Any other visual (a 16-bit screen) goes through cairo.
    bool takesPixelsAsTheyAre = false;
};

class Connection {
public:
    // The connection in use, or a new one to the server DISPLAY names; null when there is
    // no server to reach.
    static std::shared_ptr<Connection> acquire();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Display* display() const { return xDisplay; }
    ScreenFormat screenFormat(int screenNumber) const;
    Atom atom(const char* name) const;

    // Events of `window` are queued for it from now on, until unwatch.
    void watch(::Window window);
    void unwatch(::Window window);
    // Reads every event that has arrived and queues it for its window; events of windows
    // nobody watches are dropped. Never waits.
    void pump();
    // Queues one event already read (by a popup's own loop) for its window.
    void route(const XEvent& event);
    // The events queued for `window`, oldest first; its queue is empty afterwards.
    std::vector<XEvent> take(::Window window);

private:
    explicit Connection(Display* opened) : xDisplay(opened) {}

    Display* xDisplay;
    std::unordered_map<::Window, std::vector<XEvent>> queues;
};

} // namespace quillory::gui::x11
