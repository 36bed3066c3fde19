#pragma once
// The smallest rectangle covering two others: how exposures and drawn areas are merged into
// one repaint or one copy to the window.

#include "gui/CRect.h"

#include <algorithm>

namespace quillory::gui::x11 {

// An empty rectangle adds nothing.
constexpr CRect boundingRect(const CRect& a, const CRect& b) {
    if (a.isEmpty()) {
        return b;
    }
    if (b.isEmpty()) {
        return a;
    }
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}

} // namespace quillory::gui::x11
