#include "Win32TestSupport.h"

#include "gui/platform/Backend.h"
#include "gui/platform/win32/Win32Window.h"
#include "gui/platform/win32/WindowClass.h"

namespace quillory::test {

namespace {
HWND makeTopLevelWindow(DWORD style, int32_t width, int32_t height, int32_t left, int32_t top) {
    static const ATOM hostClass = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuilloryTestHost";
        return RegisterClassA(&windowClass);
    }();
    if (hostClass == 0) {
        return nullptr;
    }
    HWND host = CreateWindowExA(0, "QuilloryTestHost", "Host", style, left, top, width, height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    pumpMessages();
    return host;
}
} // namespace

HWND makeHostWindow(int32_t width, int32_t height, int32_t left, int32_t top) {
    return makeTopLevelWindow(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, width, height, left, top);
}

HWND makeHiddenHostWindow(int32_t width, int32_t height) {
    return makeTopLevelWindow(WS_POPUP | WS_CLIPCHILDREN, width, height, 0, 0);
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HWND frameWindow(const CFrame& frame) {
    const auto* window = dynamic_cast<const gui::win32::Win32Window*>(frame.getPlatformWindow());
    return window != nullptr ? window->handle() : nullptr;
}

bool windowClassRegistered() {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(gui::win32::moduleInstance(), gui::win32::windowClassName().c_str(),
                           &info) != 0;
}

void Win32Gui::SetUp() {
    gui::setBackend(&backend);
}

void Win32Gui::TearDown() {
    pumpMessages();
    gui::setBackend(nullptr);
}

} // namespace quillory::test
