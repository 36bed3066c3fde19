#pragma once
// The X side of an editor window, shared by the Window object and its surfaces: the X window,
// and an image of what it shows. Surfaces draw into the image and mark what they touched;
// flush() puts the touched area on the window in one request. It lives as long as the
// Window or any surface made from it, and once the X window is gone (its parent destroyed,
// or the editor closed) it still takes drawing and shows nothing.

#include "gui/CRect.h"
#include "gui/platform/PixelImage.h"
#include "gui/platform/x11/X11Connection.h"

#include <X11/Xlib.h>

#include <memory>

namespace quillory::gui::x11 {

struct NativeWindow {
    NativeWindow(std::shared_ptr<Connection> sharedConnection, ::Window window, GC context,
                 const ScreenFormat& screen, int32_t width, int32_t height);
    ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    Display* display() const { return connection->display(); }
    CPoint size() const { return CPoint(shown.width, shown.height); }
    // Adds `area` to what the next flush puts on the window.
    void touch(const CRect& area);
    // Puts what was drawn since the last flush on the window.
    void flush();

    std::shared_ptr<Connection> connection;
    ::Window id;
    GC gc;
    ScreenFormat format;
    PixelImage shown;
    CRect unflushed;
    bool alive = true; // the X window exists
};

// Creates a `width` by `height` child window of `parent` at (0, 0), maps it and announces it
// to the embedding host (_XEMBED_INFO, mapped). Null when `parent` is not a live window or the
// server refuses; no X error reaches the host's handler either way.
std::shared_ptr<NativeWindow> createNativeWindow(std::shared_ptr<Connection> connection,
                                                 ::Window parent, int32_t width, int32_t height);

} // namespace quillory::gui::x11
