#pragma once
// The popup menu an option menu asks its window to show: a tree of items, each with the
// command number that the window reports when the user picks it. The option menu builds the
// tree and its numbering; a back end only shows it and reports the pick.

#include <cstdint>
#include <string>
#include <vector>

namespace quillory::gui {

struct PopupMenu;

struct PopupItem {
    enum class Kind {
        kCommand,   // an item the user may pick (unless it is disabled)
        kSeparator, // a horizontal line; never picked
        kSubMenu,   // opens `subMenu`; picking happens inside it
    };

    Kind kind = Kind::kCommand;
    std::string text;               // shown as it is: no prefix characters, no accelerators
    int32_t command = 0;            // reported when picked; 0 for separators and sub-menus
    bool enabled = true;            // false: shown but cannot be picked (a title or a greyed item)
    bool greyed = false;            // drawn in the system's grey text colour (implies !enabled)
    bool checked = false;           // drawn with a check mark
    bool columnBreak = false;       // starts a new column to the right of the previous items
    std::vector<PopupItem> subMenu; // the items of a kSubMenu
};

struct PopupMenu {
    std::vector<PopupItem> items;
};

// Which button the popup follows: the one that opened it.
enum class PopupButton {
    kLeft,
    kRight,
};

// What Window::runPopup answers when the user picks nothing.
inline constexpr int32_t kPopupCancelled = -1;

} // namespace quillory::gui
