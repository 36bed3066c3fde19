#include "gui/platform/win32/NativePopupMenu.h"

#include <string>
#include <vector>

namespace quillory::gui::win32 {

namespace {
// TrackPopupMenu answers 0 when nothing was picked, and command 0 is a real item: menu
// identifiers are the command numbers moved up by one.
constexpr int32_t kIdentifierOffset = 1;

// A menu shows '&' as the underline of the next character; the item's text is meant as it is.
std::string menuText(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char character : text) {
        shown += character;
        if (character == '&') {
            shown += '&';
        }
    }
    return shown;
}

UINT itemFlags(const PopupItem& item) {
    UINT flags = item.columnBreak ? MF_MENUBARBREAK : 0;
    if (item.greyed) {
        flags |= MF_GRAYED;
    } else if (!item.enabled) {
        flags |= MF_DISABLED;
    }
    if (item.checked) {
        flags |= MF_CHECKED;
    }
    return flags;
}

// The native menu of `items` with all its sub-menus; null when it cannot be made.
HMENU buildMenu(const std::vector<PopupItem>& items) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return nullptr;
    }
    for (const PopupItem& item : items) {
        const std::string text = menuText(item.text);
        switch (item.kind) {
        case PopupItem::Kind::kSeparator:
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            break;
        case PopupItem::Kind::kSubMenu:
            // A sub-menu that cannot be made is left out, as an entry without one is.
            if (HMENU subMenu = buildMenu(item.subMenu)) {
                if (!AppendMenuA(menu, itemFlags(item) | MF_POPUP | MF_STRING,
                                 reinterpret_cast<UINT_PTR>(subMenu), text.c_str())) {
                    DestroyMenu(subMenu);
                }
            }
            break;
        case PopupItem::Kind::kCommand:
            AppendMenuA(menu, itemFlags(item) | MF_STRING,
                        static_cast<UINT_PTR>(item.command + kIdentifierOffset), text.c_str());
            break;
        }
    }
    return menu;
}
} // namespace

int32_t trackPopupMenu(HWND owner, const PopupMenu& menu, CPoint screenPosition,
                       PopupButton button) {
    if (owner == nullptr || !IsWindow(owner)) {
        return kPopupCancelled;
    }
    HMENU native = buildMenu(menu.items);
    if (native == nullptr) {
        return kPopupCancelled;
    }
    // TPM_RETURNCMD answers the pick directly; TPM_NONOTIFY keeps the menu from sending the
    // owner any message of its own about it.
    const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY |
                       (button == PopupButton::kRight ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
    const BOOL picked =
        TrackPopupMenu(native, flags, screenPosition.x, screenPosition.y, 0, owner, nullptr);
    DestroyMenu(native); // destroys the sub-menus attached to it as well
    return picked > 0 ? static_cast<int32_t>(picked) - kIdentifierOffset : kPopupCancelled;
}

} // namespace quillory::gui::win32
