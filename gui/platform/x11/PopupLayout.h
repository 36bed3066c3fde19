#pragma once
// Where the items of one pane of a popup menu lie: a row per item (separators thinner), in
// columns that each item marked columnBreak starts to the right of the previous one, every
// column as wide as its widest text needs. No window-system type; text widths come from the
// caller.

#include "gui/CRect.h"
#include "gui/platform/PopupMenu.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillory::gui::x11 {

// The width in pixels a text takes in the popup's font.
using TextMeasure = std::function<int32_t(const std::string& text)>;

inline constexpr int32_t kPopupBorder = 3;      // outline and padding around the items
inline constexpr int32_t kPopupItemHeight = 20; // a row of 12-pixel text
inline constexpr int32_t kPopupSeparatorHeight = 7;
inline constexpr int32_t kPopupCheckColumn = 22; // left of the text: the check mark
inline constexpr int32_t kPopupArrowColumn = 20; // right of the text: the sub-menu arrow
inline constexpr int32_t kPopupColumnGap = 5;    // between columns, with a line in the middle
inline constexpr int32_t kPopupMinimumWidth = 60;

struct PopupLayout {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<CRect> items;      // one per item, in pane coordinates
    std::vector<int32_t> dividers; // x of the line between two columns
};

PopupLayout layOutPopup(const std::vector<PopupItem>& items, const TextMeasure& measure);

// The item at `where` (pane coordinates), or -1.
int32_t popupItemAt(const PopupLayout& layout, CPoint where);

} // namespace quillory::gui::x11
