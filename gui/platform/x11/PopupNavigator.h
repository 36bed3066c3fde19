#pragma once
// What the user does in an open popup menu and what follows: which panes (the menu, and the
// sub-menus opened from it) are open where on the screen, which item each highlights, and
// whether an item was picked or the menu dismissed. It behaves as a Windows popup menu does:
//  - nothing is highlighted at first; the pointer highlights the item under it that can be
//    picked, and opens the sub-menu of a sub-menu item;
//  - a release of the button on an item picks it, if the button was pressed inside the menu or
//    the pointer has moved since the menu opened (so the release of the click that opened a
//    menu under the pointer picks nothing); a press outside every pane dismisses the menu;
//  - Up and Down move the highlight over the items that can be picked, wrapping; Right and
//    Return open a highlighted sub-menu and highlight its first item; Left closes the innermost
//    sub-menu, Escape too, or dismisses the menu when no sub-menu is open; Return picks.
// No window-system type: the X11 session feeds it screen points and keys.

#include "gui/CRect.h"
#include "gui/platform/PopupMenu.h"
#include "gui/platform/x11/PopupLayout.h"

#include <cstdint>
#include <vector>

namespace quillory::gui::x11 {

enum class PopupKey { kUp, kDown, kLeft, kRight, kReturn, kEscape };

struct PopupPane {
    const std::vector<PopupItem>* items = nullptr;
    PopupLayout layout;
    CRect frame;              // on the screen
    int32_t highlighted = -1; // item index, -1 for none
    uint32_t serial = 0;      // differs for every pane opened
    uint32_t revision = 0;    // changes whenever the pane looks different
};

class PopupNavigator {
public:
    enum class Outcome { kOpen, kPicked, kDismissed };

    // Opens `menu` with its top-left corner at `position`, moved to lie inside `screen`. A menu
    // without items is dismissed at once. `menu` outlives the navigator.
    PopupNavigator(const PopupMenu& menu, CPoint position, const CRect& screen,
                   TextMeasure measure);

    void pointerMoved(CPoint where);
    void buttonPressed(CPoint where);
    void buttonReleased(CPoint where);
    void keyPressed(PopupKey key);
    void dismiss() { outcome = Outcome::kDismissed; }

    Outcome result() const { return outcome; }
    int32_t pickedCommand() const { return picked; }
    const std::vector<PopupPane>& openPanes() const { return panes; }

private:
    void openPane(const std::vector<PopupItem>& items, CPoint corner, const CRect& avoid);
    void openSubMenu(std::size_t pane, int32_t item);
    void closePanesAfter(std::size_t pane);
    void highlight(std::size_t pane, int32_t item);
    void moveHighlight(std::size_t pane, int32_t step);
    int32_t paneAt(CPoint where) const;
    int32_t itemAt(std::size_t pane, CPoint where) const;
    std::size_t activePane() const;
    const PopupItem& item(std::size_t pane, int32_t index) const;

    CRect screenArea;
    TextMeasure measureText;
    CPoint start;
    std::vector<PopupPane> panes;
    uint32_t nextSerial = 1;
    bool moved = false;
    bool pressedInside = false;
    Outcome outcome = Outcome::kOpen;
    int32_t picked = kPopupCancelled;
};

} // namespace quillory::gui::x11
