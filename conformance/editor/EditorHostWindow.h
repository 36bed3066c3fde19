#pragma once
// A top-level window of a given client size for a plug-in's editor to open in, and the
// message loop a host runs for it: a timer about 30 times a second calls `onTick` (where the
// host sends effEditIdle), also while a popup menu of the editor runs its own loop.

#include <windows.h>

#include <functional>

namespace quillory::conformance {

class EditorHostWindow {
public:
    // A visible window whose client area is `width` by `height`, its top-left corner at
    // `left`, `top` of the screen. handle() is null when it cannot be made.
    EditorHostWindow(int width, int height, int left, int top);
    ~EditorHostWindow();

    EditorHostWindow(const EditorHostWindow&) = delete;
    EditorHostWindow& operator=(const EditorHostWindow&) = delete;

    HWND handle() const { return window; }

    // Handles messages and calls `onTick` at every timer tick until it answers false. A tick
    // that arrives while a popup menu runs its own loop may answer false too: the loop here
    // ends once the menu's has.
    void run(const std::function<bool()>& onTick);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
    const std::function<bool()>* tick = nullptr;
    bool running = false;
};

} // namespace quillory::conformance
