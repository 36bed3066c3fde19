#include "editor/COptionMenuDropdown.h"

#include "editor/Dropdown.h"
#include "shell/ValueText.h"

#include <cstdio>

namespace quillory {

COptionMenuDropdown::COptionMenuDropdown(const CRect& rect, CControlListener* menuListener,
                                         int32_t menuTag, CBitmap* bar, CBitmap* clickedBar,
                                         Dropdown* model, bool labelOnly)
    : COptionMenu(rect, menuListener, menuTag, bar, clickedBar), owner(model),
      prefixOnly(labelOnly) {
    copyString(label, owner->label, kDropdownLabelLength);
}

const char* COptionMenuDropdown::barText(const char* entry) {
    if (prefixOnly) {
        return label;
    }
    if (entry == nullptr) {
        return nullptr;
    }
    std::snprintf(text, sizeof text, "%s%s", label, entry);
    return text;
}

void COptionMenuDropdown::draw(CDrawContext* context) {
    drawText(context, barText(shownText(getCurrentIndex())));
    setDirty(false);
}

// As the option menu's own press, with the label on the clicked bar as well.
void COptionMenuDropdown::mouse(CDrawContext* context, const CPoint&, int32_t buttons) {
    if (!acceptClick(context, buttons)) {
        return;
    }
    if (bgWhenClick != nullptr) {
        const char* shown = barText(entryText(getCurrentIndex()));
        drawText(context, shown != nullptr ? shown : "", bgWhenClick);
    }
    beginEdit();
    takeFocus(context);
}

void COptionMenuDropdown::takeFocus(CDrawContext* context) {
    owner->beforePopup();
    COptionMenu::takeFocus(context);
}

} // namespace quillory
