#pragma once
// The frame's window: a child window inside a window of the host, and the events it
// delivers to the frame.
//
// Threads and re-entrancy: a window and everything it calls run on the thread that created
// it (the host's user-interface thread). Events are delivered from inside the back end's own
// event handling (a window procedure, an event pump run from the editor's idle, a test's
// call), never from inside another event of the same window except windowPaint, which may
// arrive while runPopup is showing a menu.

#include "gui/CRect.h"
#include "gui/GuiConstants.h"
#include "gui/platform/PopupMenu.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillory::gui {

class Surface;

// Files dropped onto, or dragged over, the window.
struct DragData {
    std::vector<std::string> files; // full paths, 8-bit (Windows-1252 on Windows)
};

// Implemented by the frame; the window calls it. All points are in client coordinates:
// (0, 0) is the window's top-left pixel.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;

    // Part of the window needs painting (it was uncovered or shown for the first time).
    // `area` is not empty; `target` draws on the window and is valid during the call only.
    virtual void windowPaint(Surface& target, const CRect& area) = 0;
    // A button went down at `where`. `buttons` are the toolkit's button and modifier bits at
    // the moment of the press, the pressed button included (kMouseLeft is always the
    // primary button), or -1 to make the frame read them with Window::mouseButtons.
    virtual void windowMouseDown(CPoint where, int32_t buttons) = 0;
    // The wheel turned by `distance` notches (positive away from the user) with the cursor
    // at `where`.
    virtual void windowWheel(CPoint where, float distance) = 0;
    // Drag and drop of files, for back ends that accept drops; `data` lives for the call.
    virtual void windowDragEnter(const DragData& data, CPoint where) = 0;
    virtual void windowDragMove(const DragData& data, CPoint where) = 0;
    virtual void windowDragLeave(const DragData& data) = 0;
    virtual void windowDrop(const DragData& data, CPoint where) = 0;
    // The native window is gone without the frame asking (its parent was destroyed). No
    // event follows; the frame still destroys the Window object later.
    virtual void windowDestroyed() = 0;
};

class Window {
public:
    // Destroys the native window if it still exists, and gives back whatever the window
    // took (cursor, grabs, registrations). Must be safe when the parent, and with it the
    // native window, has already been destroyed. Never called while runPopup is running.
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Delivers the events that arrived since the last call (exposures merged per area into
    // windowPaint, presses, wheel turns, the window's destruction) and returns when none is
    // left; never waits for more. The frame calls it at the start of its idle: that is where a
    // back end without a message loop of its own (X11, pumped from the host's editor idle)
    // delivers its events. A back end whose events arrive by themselves (a Win32 window
    // procedure) does nothing here.
    //
    // The frame holds a reference to itself during processEvents, so the Window outlives the
    // call even when the host closes the editor from inside an event. An event delivered
    // outside processEvents (from a window procedure) may end with the frame destroying this
    // Window: after such a call returns, the back end must not touch the Window object.
    virtual void processEvents() = 0;

    // A surface that draws on the client area, for drawing outside a paint event. What is
    // drawn is visible on the screen at the latest when the surface is destroyed. Several may
    // exist at once. After the native window is gone it still works and shows nothing; it
    // may even outlive this Window object.
    virtual std::unique_ptr<Surface> createSurface() = 0;

    // The client area's top-left corner in screen coordinates, now.
    virtual CPoint screenOrigin() const = 0;

    // Where the cursor is in screen coordinates, now. By default the shell's platform
    // services answer; a back end with a connection of its own to the window system asks
    // through it (opening one for every poll of a drag would cost far more than the poll).
    virtual CPoint cursorPosition() const;

    // The buttons and modifier keys held now (kMouseLeft ... kModifierAlt), polled from the
    // system rather than taken from events, so that a drag can follow the mouse without
    // events. With swapped buttons the primary button still gives kMouseLeft.
    virtual int32_t mouseButtons() const = 0;

    // Shows `menu` as a modal popup with its top-left corner at `screenPosition` (moved as
    // needed to stay on the screen) and returns when the user has picked an item or
    // dismissed the menu: the picked item's command number, or kPopupCancelled. Items that
    // are disabled, separators and sub-menu items are never answered. Greyed items are drawn
    // grey, checked items with a check mark, columnBreak items start a new column. While the
    // menu is open the window may still receive windowPaint; it delivers no other event and
    // never calls the host. What was drawn on this window's surfaces before the call is on
    // the screen while the menu is open (the option menu shows its pressed look then).
    // Answers kPopupCancelled at once when the window is gone.
    virtual int32_t runPopup(const PopupMenu& menu, CPoint screenPosition, PopupButton button) = 0;

    // Shows a standard cursor over the window; kCursorDefault restores the normal one.
    virtual void setCursor(CCursorType cursor) = 0;

protected:
    Window() = default;
};

} // namespace quillory::gui
