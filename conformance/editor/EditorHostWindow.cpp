#include "conformance/editor/EditorHostWindow.h"

namespace quillory::conformance {
namespace {

constexpr const char* kClassName = "QuilloryEditorHost";
constexpr UINT_PTR kIdleTimer = 1;
// Hosts idle their editors between 20 and 60 times a second; this one about 30 times.
constexpr UINT kIdleMilliseconds = 33;

bool registerClass(WNDPROC procedure) {
    static const ATOM registered = [procedure] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass);
    }();
    return registered != 0;
}

} // namespace

EditorHostWindow::EditorHostWindow(int width, int height, int left, int top) {
    // A plain popup window: without a window manager (a virtual display) a captioned window
    // gets no frame anyway, and its client area would not start where it was asked to.
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    if (!registerClass(&procedure)) {
        return;
    }
    window = CreateWindowExA(0, kClassName, "Quillory editor host", style, left, top, width, height,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window != nullptr) {
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
}

EditorHostWindow::~EditorHostWindow() {
    if (window != nullptr) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

void EditorHostWindow::run(const std::function<bool()>& onTick) {
    if (window == nullptr) {
        return;
    }
    tick = &onTick;
    running = true;
    SetTimer(window, kIdleTimer, kIdleMilliseconds, nullptr);
    MSG message;
    while (running && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(window, kIdleTimer);
    tick = nullptr;
}

LRESULT CALLBACK EditorHostWindow::procedure(HWND handle, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = reinterpret_cast<EditorHostWindow*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
    if (self != nullptr && message == WM_TIMER && wParam == kIdleTimer && self->tick != nullptr) {
        if (!(*self->tick)()) {
            self->running = false;
        }
        return 0;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

} // namespace quillory::conformance
