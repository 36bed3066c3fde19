#include "gui/platform/win32/Win32Window.h"

#include "gui/platform/win32/DeviceSurfaces.h"
#include "gui/platform/win32/DropTarget.h"
#include "gui/platform/win32/MouseButtons.h"
#include "gui/platform/win32/NativePopupMenu.h"
#include "gui/platform/win32/WindowClass.h"

#include <windowsx.h>

namespace quillory::gui::win32 {

namespace {
// One wheel notch, in the units of the wheel message.
constexpr float kWheelNotch = WHEEL_DELTA;

// The buttons of a button-down message. The message's own bits are the logical buttons
// (already swapped by the system), and they include the button that went down, so a click
// too short for a later poll to see still counts.
int32_t buttonsOfMessage(UINT message, WPARAM state) {
    int32_t buttons = 0;
    if ((state & MK_LBUTTON) != 0 || message == WM_LBUTTONDOWN) {
        buttons |= kMouseLeft;
    }
    if ((state & MK_RBUTTON) != 0 || message == WM_RBUTTONDOWN) {
        buttons |= kMouseRight;
    }
    if ((state & MK_MBUTTON) != 0 || message == WM_MBUTTONDOWN) {
        buttons |= kMouseMiddle;
    }
    buttons |= (state & MK_SHIFT) != 0 ? kModifierShift : 0;
    buttons |= (state & MK_CONTROL) != 0 ? kModifierControl : 0;
    buttons |= GetKeyState(VK_MENU) < 0 ? kModifierAlt : 0;
    return buttons;
}

// The system cursor for `cursor`; null for the window's normal one.
LPCSTR systemCursor(CCursorType cursor) {
    switch (cursor) {
    case CCursorType::kCursorDefault:
        return nullptr;
    case CCursorType::kCursorWait:
        return IDC_WAIT;
    case CCursorType::kCursorHSize:
        return IDC_SIZEWE;
    case CCursorType::kCursorVSize:
        return IDC_SIZENS;
    case CCursorType::kCursorSizeAll:
        return IDC_SIZEALL;
    case CCursorType::kCursorNESWSize:
        return IDC_SIZENESW;
    case CCursorType::kCursorNWSESize:
        return IDC_SIZENWSE;
    case CCursorType::kCursorNotAllowed:
        return IDC_NO;
    case CCursorType::kCursorHand:
        return IDC_HAND;
    case CCursorType::kCursorCopy: // the system has no copy cursor of its own
        break;
    }
    return IDC_ARROW;
}
} // namespace

Win32Window::Win32Window(const Backend& backend, int32_t width, int32_t height,
                         WindowEvents& windowEvents)
    : owner(backend), events(windowEvents), windowWidth(width), windowHeight(height) {}

std::unique_ptr<Win32Window> Win32Window::create(const Backend& owner, HWND parent, int32_t width,
                                                 int32_t height, WindowEvents& events) {
    if (parent == nullptr || !IsWindow(parent) || width <= 0 || height <= 0 ||
        !acquireWindowClass(&windowProcedure)) {
        return nullptr;
    }
    auto made = std::make_unique<Win32Window>(owner, width, height, events);
    made->window = CreateWindowExA(0, windowClassName().c_str(), "Window",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                   width, height, parent, nullptr, moduleInstance(), nullptr);
    if (made->window == nullptr) {
        releaseWindowClass();
        return nullptr;
    }
    made->alive = true;
    // Messages reach the object from here on; none came before (the first paint is queued).
    SetWindowLongPtrA(made->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made.get()));
    made->dropTarget = new DropTarget(made->window, events);
    if (!made->dropTarget->registerWithWindow()) {
        made->dropTarget->Release(); // no drops without OLE on this thread; the window works
        made->dropTarget = nullptr;
    }
    return made;
}

Win32Window::~Win32Window() {
    if (dropTarget != nullptr) {
        dropTarget->detach();
        dropTarget->Release();
    }
    if (cursorSaved) {
        SetCursor(savedCursor);
    }
    if (alive) {
        // Detached first: the messages of the destruction go to the default procedure.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    if (window != nullptr) {
        releaseWindowClass();
    }
}

std::unique_ptr<Surface> Win32Window::createSurface() {
    return std::make_unique<WindowSurface>(owner, alive ? window : nullptr, windowWidth,
                                           windowHeight);
}

CPoint Win32Window::screenOrigin() const {
    POINT origin{0, 0};
    if (alive) {
        ClientToScreen(window, &origin);
    }
    return CPoint(origin.x, origin.y);
}

int32_t Win32Window::mouseButtons() const {
    const auto held = [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; };
    // The asynchronous state is that of the physical buttons; the swap is read each time,
    // since the user may change it while the window is open.
    return toolkitButtons(PhysicalButtons{held(VK_LBUTTON), held(VK_RBUTTON), held(VK_MBUTTON),
                                          held(VK_SHIFT), held(VK_CONTROL), held(VK_MENU)},
                          GetSystemMetrics(SM_SWAPBUTTON) != 0);
}

int32_t Win32Window::runPopup(const PopupMenu& menu, CPoint screenPosition, PopupButton button) {
    if (!alive) {
        return kPopupCancelled;
    }
    popupOpen = true; // the menu's loop may still deliver messages to the window
    const int32_t picked = trackPopupMenu(window, menu, screenPosition, button);
    popupOpen = false;
    return picked;
}

void Win32Window::setCursor(CCursorType cursor) {
    if (!cursorSaved) {
        savedCursor = GetCursor();
        cursorSaved = true;
    }
    const LPCSTR name = systemCursor(cursor);
    SetCursor(name != nullptr ? LoadCursorA(nullptr, name) : savedCursor);
}

LRESULT CALLBACK Win32Window::windowProcedure(HWND handle, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    // An event may end with the frame destroying this object: nothing of it is touched
    // after an event call.
    switch (message) {
    case WM_PAINT:
        self->paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (!self->popupOpen) {
            self->events.windowMouseDown(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)),
                                         buttonsOfMessage(message, wParam));
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (!self->popupOpen) {
            POINT where{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; // screen coordinates
            ScreenToClient(handle, &where);
            self->events.windowWheel(CPoint(where.x, where.y),
                                     GET_WHEEL_DELTA_WPARAM(wParam) / kWheelNotch);
        }
        return 0;
    case WM_DESTROY:
        self->destroyedUnderUs();
        return 0;
    default:
        return DefWindowProcA(handle, message, wParam, lParam);
    }
}

void Win32Window::paint() {
    const HWND handle = window;
    PAINTSTRUCT paintInfo{};
    HDC device = BeginPaint(handle, &paintInfo);
    const CRect area = intersection(CRect(paintInfo.rcPaint.left, paintInfo.rcPaint.top,
                                          paintInfo.rcPaint.right, paintInfo.rcPaint.bottom),
                                    CRect(0, 0, windowWidth, windowHeight));
    if (device != nullptr && !area.isEmpty()) {
        GdiSurface target(owner, device, windowWidth, windowHeight);
        events.windowPaint(target, area);
    }
    EndPaint(handle, &paintInfo);
}

void Win32Window::destroyedUnderUs() {
    // The parent went first, taking this window with it.
    alive = false;
    if (dropTarget != nullptr) {
        dropTarget->detach(); // while the window still exists, as revoking needs it
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    events.windowDestroyed();
}

} // namespace quillory::gui::win32
