#include "editor/OstrelEditView.h"

#include "editor/PadDisplay.h"

namespace quillory {

OstrelEditView::OstrelEditView(PadDisplay* shown) : CView(shown->viewRect), display(shown) {
    setMouseableArea(display->viewRect);
    setMouseEnabled(true);
}

void OstrelEditView::draw(CDrawContext* context) {
    if (needsContent) {
        display->drawDisplay(context);
    }
    needsContent = false;
    setDirty(false);
}

bool OstrelEditView::hitTest(const CPoint& where, int32_t buttons) {
    if (!CView::hitTest(where, buttons)) {
        return false;
    }
    display->press(where, buttons);
    return true;
}

void OstrelEditView::requestContent() {
    needsContent = true;
    setDirty(true);
}

} // namespace quillory
