// The host's window under Windows: a visible top-level window whose client area has the
// editor's size, made and pumped on the calling thread.

#include "host/validate/Check.h"
#include "host/validate/HostWindow.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace quillory::validate {
namespace {

constexpr const wchar_t* kClassName = L"QuilloryValidateHost";

class Win32Window final : public HostWindow {
public:
    explicit Win32Window(HWND made) : window(made) {}
    ~Win32Window() override {
        DestroyWindow(window);
        pump();
    }

    void* handle() const override { return window; }
    intptr_t displayValue() const override { return 0; }

    int childCount(bool) override {
        // Child windows exist as soon as CreateWindowEx returns: no waiting needed.
        pump();
        int count = 0;
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            ++count;
        }
        return count;
    }

    void pump() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

private:
    HWND window;
};

} // namespace

std::unique_ptr<HostWindow> HostWindow::create(int width, int height) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass); // fails harmlessly when already registered
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window =
        CreateWindowExW(0, kClassName, L"quillory validate", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        skipCheck("cannot make a window to open the editor in (no display for Wine?)");
    }
    return std::make_unique<Win32Window>(window);
}

} // namespace quillory::validate
