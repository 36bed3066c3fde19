#include "gui/platform/x11/PopupLayout.h"

#include <algorithm>

namespace quillory::gui::x11 {

PopupLayout layOutPopup(const std::vector<PopupItem>& items, const TextMeasure& measure) {
    PopupLayout layout;
    layout.items.resize(items.size());
    int32_t columnLeft = kPopupBorder;
    int32_t columnWidth = kPopupMinimumWidth - 2 * kPopupBorder;
    std::size_t columnStart = 0;
    int32_t y = kPopupBorder;
    int32_t bottom = kPopupBorder;
    // Items of a column get their width once the column's widest text is known.
    const auto closeColumn = [&](std::size_t end) {
        for (std::size_t index = columnStart; index < end; ++index) {
            layout.items[index].left = columnLeft;
            layout.items[index].right = columnLeft + columnWidth;
        }
    };
    for (std::size_t index = 0; index < items.size(); ++index) {
        const PopupItem& item = items[index];
        if (item.columnBreak && index > 0) {
            closeColumn(index);
            columnLeft += columnWidth + kPopupColumnGap;
            layout.dividers.push_back(columnLeft - kPopupColumnGap / 2 - 1);
            columnWidth = 0;
            columnStart = index;
            y = kPopupBorder;
        }
        const bool separator = item.kind == PopupItem::Kind::kSeparator;
        const int32_t height = separator ? kPopupSeparatorHeight : kPopupItemHeight;
        if (!separator) {
            columnWidth =
                std::max(columnWidth, kPopupCheckColumn + measure(item.text) + kPopupArrowColumn);
        }
        layout.items[index].top = y;
        layout.items[index].bottom = y + height;
        y += height;
        bottom = std::max(bottom, y);
    }
    closeColumn(items.size());
    layout.width = columnLeft + columnWidth + kPopupBorder;
    layout.height = bottom + kPopupBorder;
    return layout;
}

int32_t popupItemAt(const PopupLayout& layout, CPoint where) {
    for (std::size_t index = 0; index < layout.items.size(); ++index) {
        if (layout.items[index].pointInside(where)) {
            return static_cast<int32_t>(index);
        }
    }
    return -1;
}

} // namespace quillory::gui::x11
