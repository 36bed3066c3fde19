#include "gui/platform/win32/WindowClass.h"

#include "shell/platform/Platform.h"

#include <cstdio>
#include <mutex>

namespace quillory::gui::win32 {

namespace {
std::mutex classLock;
int windowsOfClass = 0; // guarded by classLock
} // namespace

HINSTANCE moduleInstance() {
    if (void* loaded = platform::moduleHandle()) {
        return static_cast<HINSTANCE>(loaded);
    }
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&moduleInstance), &self);
    return self;
}

std::string windowClassName() {
    char name[32];
    std::snprintf(name, sizeof name, "Plugin%p", static_cast<void*>(moduleInstance()));
    return name;
}

bool acquireWindowClass(WNDPROC procedure) {
    const std::lock_guard<std::mutex> guard(classLock);
    if (windowsOfClass == 0) {
        const std::string name = windowClassName();
        WNDCLASSA windowClass{};
        // Global: the host's parent window may belong to another module of the process.
        windowClass.style = CS_GLOBALCLASS;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = moduleInstance();
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = name.c_str();
        // A class left behind (its unregistering failed while a window of it still existed)
        // is taken over as long as it is ours.
        WNDCLASSA existing{};
        const bool ours = GetClassInfoA(windowClass.hInstance, name.c_str(), &existing) != 0 &&
                          existing.lpfnWndProc == procedure;
        if (!ours && RegisterClassA(&windowClass) == 0) {
            return false;
        }
    }
    ++windowsOfClass;
    return true;
}

void releaseWindowClass() {
    const std::lock_guard<std::mutex> guard(classLock);
    if (windowsOfClass > 0 && --windowsOfClass == 0) {
        UnregisterClassA(windowClassName().c_str(), moduleInstance());
    }
}

} // namespace quillory::gui::win32
