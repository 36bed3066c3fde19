#pragma once
// The view of a pad's value display while the editor is open: draws the value text and
// graph, and takes the press that starts a drag. It lies over the lower part of its pad and
// draws its content only right after the pad's bitmap was painted beneath it, so a redraw of
// this view alone leaves the screen as it was.

#include "gui/CView.h"

namespace quillory {

class PadDisplay;

class OstrelEditView final : public CView {
public:
    explicit OstrelEditView(PadDisplay* display);

    void draw(CDrawContext* context) override;
    // Takes every press inside the view (right and bottom edges included); only the left
    // button alone starts a drag.
    bool hitTest(const CPoint& where, int32_t buttons = -1) override;

    // Called by the pad's view once it has painted the bitmap: draw the content next.
    void requestContent();
    bool needsContent = false;

private:
    PadDisplay* display;
};

} // namespace quillory
