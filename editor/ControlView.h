#pragma once
// The view of a pad while the editor is open: paints the pad's bitmap (the glowing one while
// it is dragged) and then has the pad's display view paint the value over it. It takes no
// mouse input; presses on the pad's lower part go to the display view above it.

#include "gui/CView.h"

namespace quillory {

class Pad;

class ControlView final : public CView {
public:
    explicit ControlView(Pad* pad);

    void draw(CDrawContext* context) override;

private:
    Pad* pad;
};

} // namespace quillory
