#pragma once
// The frame's window on Windows: a child window of the class "Plugin%p" inside the host's
// window. Its window procedure turns paint, button, wheel and destroy messages into the
// frame's WindowEvents; everything runs on the thread that made it, as Windows requires.

#include "gui/platform/Window.h"

#include <windows.h>

#include <memory>

namespace quillory::gui {
class Backend;
}

namespace quillory::gui::win32 {

class DropTarget;

class Win32Window final : public Window {
public:
    // The window inside `parent`, at (0, 0) and `width` by `height`, visible; null when
    // `parent` is not a live window or the window cannot be made.
    static std::unique_ptr<Win32Window> create(const Backend& owner, HWND parent, int32_t width,
                                               int32_t height, WindowEvents& events);
    ~Win32Window() override;

    HWND handle() const { return window; }

    void processEvents() override {} // messages arrive through the window procedure
    std::unique_ptr<Surface> createSurface() override;
    CPoint screenOrigin() const override;
    int32_t mouseButtons() const override;
    int32_t runPopup(const PopupMenu& menu, CPoint screenPosition, PopupButton button) override;
    void setCursor(CCursorType cursor) override;

    // Public for the window class only.
    Win32Window(const Backend& owner, int32_t width, int32_t height, WindowEvents& events);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void paint();
    void destroyedUnderUs();

    const Backend& owner;
    WindowEvents& events;
    int32_t windowWidth;
    int32_t windowHeight;
    HWND window = nullptr; // kept after the window is gone, for nothing but comparisons
    bool alive = false;    // the native window exists
    DropTarget* dropTarget = nullptr;
    bool popupOpen = false;
    bool cursorSaved = false;
    HCURSOR savedCursor = nullptr;
};

} // namespace quillory::gui::win32
