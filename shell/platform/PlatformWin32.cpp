// Windows implementation of the platform services, and the module-load hook that keeps
// the module instance handle.

#include "shell/platform/Platform.h"

#include <ole2.h>
#include <windows.h>

namespace {
HINSTANCE moduleInstance = nullptr;
} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    // Stored on every call, whatever the reason: the handle never changes while loaded.
    moduleInstance = instance;
    return TRUE;
}

namespace quillory::platform {
namespace {

class Win32Services final : public Services {
public:
    uint32_t tickCount() override { return GetTickCount(); }
    void sleepMilliseconds(uint32_t milliseconds) override { Sleep(milliseconds); }
    ScreenPoint cursorPosition() override {
        POINT point{};
        GetCursorPos(&point);
        return ScreenPoint{point.x, point.y};
    }
    void dispatchOnePendingPaint() override {
        MSG message;
        if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
    void oleInitialize() override { OleInitialize(nullptr); }
    void oleUninitialize() override { OleUninitialize(); }
};

} // namespace

Services& systemServices() {
    static Win32Services instance;
    return instance;
}

void* moduleHandle() {
    return moduleInstance;
}

} // namespace quillory::platform
