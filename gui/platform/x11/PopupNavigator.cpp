#include "gui/platform/x11/PopupNavigator.h"

#include <algorithm>

namespace quillory::gui::x11 {

namespace {

bool canBePicked(const PopupItem& item) {
    return item.enabled && item.kind != PopupItem::Kind::kSeparator;
}

// The start of a `length` long span placed at `wanted`, inside [low, high) where it fits.
int32_t placeInside(int32_t wanted, int32_t length, int32_t low, int32_t high) {
    return std::max(low, std::min(wanted, high - length));
}

} // namespace

PopupNavigator::PopupNavigator(const PopupMenu& menu, CPoint position, const CRect& screen,
                               TextMeasure measure)
    : screenArea(screen), measureText(std::move(measure)), start(position) {
    if (menu.items.empty()) {
        outcome = Outcome::kDismissed;
        return;
    }
    openPane(menu.items, position, CRect());
}

// A pane opens at `corner`; a sub-menu beside the item that opens it (`avoid`, on the screen),
// to its right, or to its left when the screen ends first.
void PopupNavigator::openPane(const std::vector<PopupItem>& items, CPoint corner,
                              const CRect& avoid) {
    PopupPane pane;
    pane.items = &items;
    pane.layout = layOutPopup(items, measureText);
    pane.serial = nextSerial++;
    const int32_t width = pane.layout.width;
    const int32_t height = pane.layout.height;
    int32_t left = corner.x;
    if (!avoid.isEmpty() && left + width > screenArea.right) {
        left = avoid.left - width;
    }
    left = placeInside(left, width, screenArea.left, screenArea.right);
    const int32_t top = placeInside(corner.y, height, screenArea.top, screenArea.bottom);
    pane.frame = CRect(left, top, left + width, top + height);
    panes.push_back(std::move(pane));
}

void PopupNavigator::openSubMenu(std::size_t pane, int32_t index) {
    const PopupItem& opener = item(pane, index);
    if (opener.kind != PopupItem::Kind::kSubMenu || opener.subMenu.empty()) {
        closePanesAfter(pane);
        return;
    }
    if (panes.size() > pane + 1 && panes[pane + 1].items == &opener.subMenu) {
        return; // already open
    }
    closePanesAfter(pane);
    const CRect& parentFrame = panes[pane].frame;
    CRect row = panes[pane].layout.items[static_cast<std::size_t>(index)];
    row.offset(parentFrame.left, parentFrame.top);
    openPane(opener.subMenu, CPoint(parentFrame.right - 1, row.top - kPopupBorder), parentFrame);
}

void PopupNavigator::closePanesAfter(std::size_t pane) {
    if (panes.size() > pane + 1) {
        panes.resize(pane + 1);
    }
}

void PopupNavigator::highlight(std::size_t pane, int32_t index) {
    if (panes[pane].highlighted != index) {
        panes[pane].highlighted = index;
        ++panes[pane].revision;
    }
}

void PopupNavigator::pointerMoved(CPoint where) {
    if (outcome != Outcome::kOpen) {
        return;
    }
    moved = moved || !(where == start);
    const int32_t pane = paneAt(where);
    if (pane < 0) {
        // Outside: the innermost pane lets go of its highlight.
        highlight(panes.size() - 1, -1);
        return;
    }
    const auto at = static_cast<std::size_t>(pane);
    int32_t index = itemAt(at, where);
    if (index >= 0 && !canBePicked(item(at, index))) {
        index = -1;
    }
    highlight(at, index);
    if (index >= 0) {
        openSubMenu(at, index);
    } else {
        closePanesAfter(at);
    }
}

void PopupNavigator::buttonPressed(CPoint where) {
    if (outcome != Outcome::kOpen) {
        return;
    }
    if (paneAt(where) < 0) {
        outcome = Outcome::kDismissed;
        return;
    }
    pressedInside = true;
    pointerMoved(where);
}

void PopupNavigator::buttonReleased(CPoint where) {
    const int32_t pane = paneAt(where);
    if (outcome != Outcome::kOpen || pane < 0 || !(pressedInside || moved)) {
        return;
    }
    const int32_t index = itemAt(static_cast<std::size_t>(pane), where);
    if (index < 0) {
        return;
    }
    const PopupItem& released = item(static_cast<std::size_t>(pane), index);
    if (released.kind == PopupItem::Kind::kCommand && released.enabled) {
        outcome = Outcome::kPicked;
        picked = released.command;
    }
}

void PopupNavigator::keyPressed(PopupKey key) {
    if (outcome != Outcome::kOpen) {
        return;
    }
    const std::size_t pane = activePane();
    const int32_t current = panes[pane].highlighted;
    switch (key) {
    case PopupKey::kUp:
    case PopupKey::kDown:
        moveHighlight(pane, key == PopupKey::kDown ? 1 : -1);
        closePanesAfter(pane);
        break;
    case PopupKey::kRight:
    case PopupKey::kReturn:
        if (current < 0) {
            break;
        }
        if (item(pane, current).kind == PopupItem::Kind::kSubMenu) {
            openSubMenu(pane, current);
            if (panes.size() > pane + 1 && panes[pane + 1].highlighted < 0) {
                moveHighlight(pane + 1, 1);
            }
        } else if (key == PopupKey::kReturn) {
            outcome = Outcome::kPicked;
            picked = item(pane, current).command;
        }
        break;
    case PopupKey::kLeft:
    case PopupKey::kEscape:
        if (panes.size() > 1) {
            panes.pop_back();
        } else if (key == PopupKey::kEscape) {
            outcome = Outcome::kDismissed;
        }
        break;
    }
}

// The next item that can be picked after the highlighted one (before it for a negative step),
// wrapping around; from no highlight, the first (or the last).
void PopupNavigator::moveHighlight(std::size_t pane, int32_t step) {
    const auto count = static_cast<int32_t>(panes[pane].items->size());
    int32_t index = panes[pane].highlighted;
    if (index < 0) {
        index = step > 0 ? -1 : count;
    }
    for (int32_t tried = 0; tried < count; ++tried) {
        index = ((index + step) % count + count) % count;
        if (canBePicked(item(pane, index))) {
            highlight(pane, index);
            return;
        }
    }
}

// Keys act in the innermost pane that highlights an item: a sub-menu that the pointer opened
// without highlighting anything leaves the keys to the menu it came from.
std::size_t PopupNavigator::activePane() const {
    for (std::size_t pane = panes.size(); pane-- > 0;) {
        if (panes[pane].highlighted >= 0) {
            return pane;
        }
    }
    return panes.size() - 1;
}

int32_t PopupNavigator::paneAt(CPoint where) const {
    for (std::size_t pane = panes.size(); pane-- > 0;) {
        if (panes[pane].frame.pointInside(where)) {
            return static_cast<int32_t>(pane);
        }
    }
    return -1;
}

int32_t PopupNavigator::itemAt(std::size_t pane, CPoint where) const {
    const CRect& frame = panes[pane].frame;
    return popupItemAt(panes[pane].layout, CPoint(where.x - frame.left, where.y - frame.top));
}

const PopupItem& PopupNavigator::item(std::size_t pane, int32_t index) const {
    return (*panes[pane].items)[static_cast<std::size_t>(index)];
}

} // namespace quillory::gui::x11
