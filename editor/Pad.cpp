#include "editor/Pad.h"

#include "editor/ControlView.h"
#include "editor/PadDisplay.h"
#include "gui/CBitmap.h"
#include "params/ParameterX.h"

#include <utility>

namespace quillory {
namespace {

// The value text fills the pad below its label and graph.
constexpr int32_t kTextTopInset = 40;
// The graph strip: in from the pad's sides and 22 rows in from its top and bottom edges.
constexpr int32_t kGraphLeftInset = 3;
constexpr int32_t kGraphRightInset = 4;
constexpr int32_t kGraphVerticalInset = 22;

// A rectangle with left <= right and top <= bottom.
CRect ordered(CRect rect) {
    if (rect.right < rect.left) {
        std::swap(rect.left, rect.right);
    }
    if (rect.bottom < rect.top) {
        std::swap(rect.top, rect.bottom);
    }
    return rect;
}

} // namespace

Pad::Pad(ParameterX* padParameter, int32_t normal, int32_t active, CColor textColour, int32_t left,
         int32_t top, int32_t style, ChorusEditorContext* owner, Pad* previous)
    : parameter(padParameter), x(left), y(top), normalId(normal), activeId(active), effect(owner),
      normalBitmap(new CBitmap(normal)), activeBitmap(new CBitmap(active)) {
    if (previous != nullptr) {
        previous->next = this;
    }
    parameter->attachPad(*this);

    padRect = ordered(CRect(x, y, x + normalBitmap->getWidth(), y + normalBitmap->getHeight()));
    textRect = padRect;
    textRect.top += kTextTopInset;
    graphRect = CRect(padRect.left + kGraphLeftInset, padRect.top + kGraphVerticalInset,
                      padRect.right - kGraphRightInset, padRect.bottom - kGraphVerticalInset);
    display = std::make_unique<PadDisplay>(style, graphRect, textRect, textColour, this, parameter,
                                           effect);
}

Pad::~Pad() {
    normalBitmap->forget();
    activeBitmap->forget();
}

void Pad::refresh(const ParameterX&) {
    redrawPending.store(true, std::memory_order_release);
}

void Pad::markViewDirty() {
    if (controlView != nullptr) {
        controlView->setDirty(true);
    }
}

} // namespace quillory
