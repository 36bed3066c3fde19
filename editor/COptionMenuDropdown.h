#pragma once
// The option menu of a dropdown while the editor is open: draws its owner's label in front
// of the current entry ("Wave = Sine"), on the normal bar and on the glowing bar while it is
// clicked, and tells its owner just before the popup opens.

#include "gui/COptionMenu.h"

namespace quillory {

class Dropdown;

class COptionMenuDropdown final : public COptionMenu {
public:
    // `prefixOnly`: the bar shows the label alone (a dropdown without a parameter).
    COptionMenuDropdown(const CRect& size, CControlListener* listener, int32_t tag,
                        CBitmap* background, CBitmap* bgWhenClick, Dropdown* owner,
                        bool prefixOnly);

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = -1) override;
    void takeFocus(CDrawContext* context = nullptr) override;

private:
    // The bar's text: the label, followed by `entry` unless the bar shows the label alone.
    // Null when there is no entry to show.
    const char* barText(const char* entry);

    Dropdown* owner;
    bool prefixOnly;
    char text[kOptionMenuEntryLength + 200] = {};
    char label[200] = {};
};

} // namespace quillory
