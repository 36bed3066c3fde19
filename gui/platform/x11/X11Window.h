#pragma once
// An editor window on X11. Its events arrive on the shared connection and are delivered from
// processEvents, which the frame calls at the start of each idle: exposures merged into one
// repaint of the exposed area, presses with their button bits in client coordinates, wheel
// buttons as wheel turns, and the window's destruction under the frame (its parent gone).
// Buttons and the cursor are polled from the server. Popup menus run a loop of their own.

#include "gui/platform/Window.h"
#include "gui/platform/x11/X11NativeWindow.h"

#include <X11/Xlib.h>

#include <memory>

namespace quillory::gui::x11 {

class X11Backend;

class X11Window final : public Window {
public:
    X11Window(X11Backend& backend, std::shared_ptr<NativeWindow> window, WindowEvents& events);
    ~X11Window() override;

    void processEvents() override;
    std::unique_ptr<Surface> createSurface() override;
    CPoint screenOrigin() const override;
    int32_t mouseButtons() const override;
    CPoint cursorPosition() const override;
    int32_t runPopup(const PopupMenu& menu, CPoint screenPosition, PopupButton button) override;
    void setCursor(CCursorType cursor) override;

    // For tests and benchmarks: the X window, and the repaints delivered so far.
    ::Window nativeId() const { return native->id; }
    int32_t paintsDelivered() const { return paints; }

private:
    void deliver(const std::vector<XEvent>& queued);
    void deliverPress(const XButtonEvent& press);
    void paint(const CRect& area);
    // The pointer's position on the root window and the buttons and modifiers held.
    struct Pointer {
        CPoint onScreen;
        unsigned int state = 0;
    };
    Pointer queryPointer() const;

    X11Backend& owner;
    std::shared_ptr<NativeWindow> native;
    WindowEvents& events;
    // While events are delivered or a popup runs, a host calling the idle again from inside
    // (some answer the plug-in's own idle request that way) changes nothing.
    bool pumping = false;
    bool popupOpen = false;
    int32_t paints = 0;
};

// The toolkit's button and modifier bits for an X pointer state (Button1 is already the
// logical primary button: X applies the user's button mapping).
int32_t toolkitButtons(unsigned int state);

} // namespace quillory::gui::x11
