// The option menu's click and popup: building the popup tree with its command numbers,
// showing it through the frame's window and reporting the pick.

#include "gui/CControlListener.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"

#include <algorithm>

namespace quillory {

namespace {
// Menus this long are never broken into columns.
constexpr int32_t kColumnBreakLimit = 160;
// Clicks that open the popup: left or right button, or the apple key.
constexpr int32_t kPopupButtons = kMouseLeft | kMouseRight | kModifierApple;
constexpr int32_t kModifierKeys = kModifierShift | kModifierControl | kModifierAlt | kModifierApple;
} // namespace

bool COptionMenu::acceptClick(CDrawContext* context, int32_t buttons) {
    if (!getMouseEnabled() || getFrame() == nullptr || context == nullptr) {
        return false;
    }
    lastButton = buttons == -1 ? context->getMouseButtons() : buttons;
    if (listener != nullptr && (buttons & kModifierKeys) != 0 &&
        listener->controlModifierClicked(context, this, buttons) != 0) {
        return false;
    }
    return (lastButton & kPopupButtons) != 0;
}

void COptionMenu::mouse(CDrawContext* context, const CPoint&, int32_t buttons) {
    if (!acceptClick(context, buttons)) {
        return;
    }
    if (bgWhenClick != nullptr) {
        const char* current = entryText(getCurrentIndex());
        drawText(context, current != nullptr ? current : "", bgWhenClick);
    }
    beginEdit();
    takeFocus(context);
}

void COptionMenu::looseFocus(CDrawContext* context) {
    // The popup exists only inside takeFocus; there is no handle left to clear.
    CParamDisplay::looseFocus(context);
}

// The popup's top-left corner on the screen: the window's screen origin plus the control's
// edge in frame coordinates.
CPoint COptionMenu::popupOrigin(CDrawContext*) const {
    CPoint corner(size.left, (style & kOptionMenuPopupStyle) != 0 ? size.top : size.bottom);
    localToFrame(corner);
    const gui::Window* window = getFrame()->getPlatformWindow();
    const CPoint screen = window != nullptr ? window->screenOrigin() : CPoint();
    return corner.offset(screen.x, screen.y);
}

void COptionMenu::takeFocus(CDrawContext* context) {
    CFrame* frame = getFrame();
    if (frame == nullptr) {
        return;
    }
    lastResult = -1;
    lastMenu = nullptr;
    int32_t nextCommand = 0;
    std::vector<MenuRange> ranges;
    const gui::PopupMenu popup = buildPopup(nextCommand, ranges);
    const gui::PopupButton button =
        (lastButton & kMouseRight) != 0 ? gui::PopupButton::kRight : gui::PopupButton::kLeft;
    const int32_t picked = frame->runPopup(popup, popupOrigin(context), button);
    if (picked >= 0) {
        lastResult = picked;
    }

    if (lastResult >= 0 || bgWhenClick != nullptr) {
        CDrawContext* temporary = nullptr;
        if (context == nullptr && lastResult >= 0) {
            context = temporary = frame->createDrawContext();
        }
        if (bgWhenClick != nullptr) {
            setDirty(true); // the normal background returns at the next idle
        }
        if (lastResult >= 0) {
            reportPick(context, lastResult, ranges);
        }
        if (temporary != nullptr) {
            temporary->forget();
        }
    }
    frame->setFocusView(nullptr);
    endEdit();
}

void COptionMenu::reportPick(CDrawContext* context, int32_t command,
                             const std::vector<MenuRange>& ranges) {
    COptionMenu* owner = nullptr;
    int32_t position = 0;
    if (!findCommand(ranges, command, owner, position)) {
        return;
    }
    lastMenu = owner;
    owner->setValue(static_cast<float>(position));
    if (listener != nullptr) {
        listener->valueChanged(context, owner);
    }
}

gui::PopupMenu COptionMenu::buildPopup(int32_t& nextCommand, std::vector<MenuRange>& ranges) const {
    std::vector<const COptionMenu*> openMenus;
    return buildPopupIn(nextCommand, ranges, openMenus);
}

// Every entry of a menu owns one command number, its position plus the menu's first number,
// so that a pick maps straight back to a position. A menu reserves its numbers before its
// sub-menus are built, which therefore number their entries after it.
gui::PopupMenu COptionMenu::buildPopupIn(int32_t& nextCommand, std::vector<MenuRange>& ranges,
                                         std::vector<const COptionMenu*>& openMenus) const {
    gui::PopupMenu popup;
    const int32_t first = nextCommand;
    ranges.push_back(MenuRange{const_cast<COptionMenu*>(this), first});
    openMenus.push_back(this);
    const int32_t count = getNbEntries();
    nextCommand += count;

    const bool columns = count < kColumnBreakLimit && nbItemsPerColumn > 0;
    const int32_t current = getCurrentIndex();
    int32_t appended = 0;
    size_t nextSubMenu = 0;
    for (int32_t index = 0; index < count; ++index) {
        const Entry& entry = *entries[static_cast<size_t>(index)];
        gui::PopupItem item;
        item.command = first + index;
        switch (kindOf(entry.text)) {
        case EntryKind::kSeparator:
            item.kind = gui::PopupItem::Kind::kSeparator;
            item.command = 0;
            popup.items.push_back(std::move(item));
            ++appended;
            continue;
        case EntryKind::kSubMenu: {
            const COptionMenu* subMenu =
                nextSubMenu < subMenus.size() ? subMenus[nextSubMenu++] : nullptr;
            // A missing sub-menu, or one that would open itself again, is left out; its
            // number stays unused so that the numbers of later entries keep their positions.
            if (subMenu == nullptr ||
                std::find(openMenus.begin(), openMenus.end(), subMenu) != openMenus.end()) {
                continue;
            }
            item.kind = gui::PopupItem::Kind::kSubMenu;
            item.command = 0;
            item.text = entry.text + 2;
            item.subMenu = subMenu->buildPopupIn(nextCommand, ranges, openMenus).items;
            break;
        }
        case EntryKind::kGreyed:
            item.text = entry.text + 2;
            item.enabled = false;
            item.greyed = true;
            break;
        case EntryKind::kTitle:
            item.text = entry.text + 2;
            item.enabled = false;
            break;
        case EntryKind::kItem:
            item.text = entry.text;
            if ((style & kOptionMenuMultipleCheck) != 0) {
                item.checked = entry.checked.load();
            } else if ((style & kOptionMenuCheckStyle) != 0) {
                item.checked = index == current;
            }
            break;
        }
        item.columnBreak = columns && appended > 0 && appended % nbItemsPerColumn == 0;
        popup.items.push_back(std::move(item));
        ++appended;
    }
    openMenus.pop_back();
    return popup;
}

bool COptionMenu::findCommand(const std::vector<MenuRange>& ranges, int32_t command,
                              COptionMenu*& menu, int32_t& position) {
    for (const MenuRange& range : ranges) {
        const int32_t offset = command - range.firstCommand;
        if (offset >= 0 && offset < range.menu->getNbEntries()) {
            menu = range.menu;
            position = offset;
            return true;
        }
    }
    return false;
}

} // namespace quillory
