#include "conformance/editor/OpenMenuReport.h"

#include <cstdio>

namespace quillory::conformance {
namespace {

// The system's class of popup menu windows, and the message that gives a menu window's menu.
constexpr const char* kMenuWindowClass = "#32768";
constexpr UINT kGetMenuOfWindow = 0x01E1; // MN_GETHMENU

struct MenuSearch {
    DWORD thread;
    HWND found;
};

BOOL CALLBACK findMenuWindow(HWND window, LPARAM searchAddress) {
    auto* search = reinterpret_cast<MenuSearch*>(searchAddress);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) && std::string(className) == kMenuWindowClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::string describeOpenMenu() {
    MenuSearch search{GetCurrentThreadId(), nullptr};
    EnumThreadWindows(search.thread, findMenuWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        return {};
    }
    auto* menu = reinterpret_cast<HMENU>(SendMessageA(search.found, kGetMenuOfWindow, 0, 0));
    std::string lines;
    const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
    for (int index = 0; index < count; ++index) {
        RECT place{};
        char text[64] = {};
        if (!GetMenuItemRect(nullptr, menu, static_cast<UINT>(index), &place)) {
            continue;
        }
        GetMenuStringA(menu, static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
        char line[128];
        std::snprintf(line, sizeof line, "item %d %ld %ld %ld %ld %s\n", index, place.left,
                      place.top, place.right, place.bottom, text);
        lines += line;
    }
    return lines;
}

} // namespace quillory::conformance
