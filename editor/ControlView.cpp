#include "editor/ControlView.h"

#include "editor/OstrelEditView.h"
#include "editor/Pad.h"
#include "editor/PadDisplay.h"
#include "gui/CBitmap.h"

namespace quillory {

ControlView::ControlView(Pad* shownPad) : CView(shownPad->padRect), pad(shownPad) {
    setMouseableArea(pad->padRect);
    setMouseEnabled(false);
}

void ControlView::draw(CDrawContext* context) {
    CBitmap* bitmap = pad->display->dragging ? pad->activeBitmap : pad->normalBitmap;
    bitmap->draw(context, pad->padRect, CPoint(0, 0));
    // The value is painted over the fresh bitmap: the display view comes later in the same
    // redraw and draws its content only when asked to here.
    if (OstrelEditView* valueView = pad->display->displayView) {
        valueView->requestContent();
    }
    setDirty(false);
}

} // namespace quillory
