#include "editor/PadDisplay.h"

#include "editor/Pad.h"
#include "gui/CDrawContext.h"
#include "params/ParameterX.h"

#include <algorithm>
#include <cstring>

namespace quillory {
namespace {

// The value text: standard font 4 (11 pixels), normal face.
constexpr int32_t kValueFont = 4;
// The wedge is 15 % of the strip's height at its left end and grows to the full height.
constexpr double kWedgeBase = 0.15;
constexpr double kWedgeGrowth = 0.85;
// The marker spans 0.93 × value to 0.93 × value + 0.07 of the strip, so that it stays inside
// the strip for every value from 0 to 1.
constexpr double kMarkerScale = 0.93;
constexpr double kMarkerHalfWidth = 0.035;
// The marker style's texts keep this far from the sides of the view.
constexpr int32_t kMarkerTextInset = 7;

} // namespace

PadDisplay::PadDisplay(int32_t displayStyle, const CRect& graph, const CRect& text, CColor colour,
                       Pad* owner, ParameterX* shown, ChorusEditorContext* owningEffect)
    : parameter(shown), pad(owner), style(displayStyle),
      viewRect(text.left, graph.top, text.right, text.bottom), textRect(text), graphRect(graph),
      effect(owningEffect), textColour(colour) {
    if (style == kPadStyleMarker) {
        textRect.left += kMarkerTextInset;
        textRect.right -= kMarkerTextInset;
    }
    fillColumns();
}

// Positions, colours (blue at the left to red at the right) and, for the wedge, the rows of
// every column. A strip too narrow or too wide for the table (a bitmap that did not load)
// gets no columns at all.
void PadDisplay::fillColumns() {
    const int32_t width = graphRect.width();
    const int32_t height = graphRect.height();
    if (width < 1 || width >= kMaxPadColumns) {
        columnCount = 0;
        return;
    }
    columnCount = width;
    const int32_t centre = (graphRect.top + graphRect.bottom) / 2;
    for (int32_t i = 0; i <= width; ++i) {
        PadColumn& entry = columns[static_cast<size_t>(i)];
        entry.position = static_cast<double>(i) / width;
        entry.barColour = CColor{static_cast<uint8_t>(255 * i / width), 0,
                                 static_cast<uint8_t>(255 * (width - i) / width), 255};
        entry.backColour = kGraphBackground;
        if (style == kPadStyleBar) {
            const auto half =
                static_cast<int32_t>(height * (kWedgeBase + kWedgeGrowth * entry.position) * 0.5);
            entry.barTop = centre - half;
            entry.barBottom = centre + half + 1;
        }
    }
}

void PadDisplay::drawDisplay(CDrawContext* context) const {
    char text[kDisplayTextLength + 1];
    parameter->copyDisplayText(text);
    context->setFont(kValueFont, 0, kFaceNormal);
    context->setFontColor(textColour);
    if (style == kPadStyleMarker) {
        drawMarkerStyle(context, text);
    } else {
        drawBarStyle(context, text);
    }
}

void PadDisplay::drawBarStyle(CDrawContext* context, const char* text) const {
    context->drawString(text, textRect, false, kCenterText);
    drawColumns(context, parameter->target.load(std::memory_order_relaxed));
}

// The text is cut at its first blank: for the mix, the dry share goes to the left and the
// wet share to the right. Left-aligned text starts one pixel in from its rectangle's edge.
void PadDisplay::drawMarkerStyle(CDrawContext* context, const char* text) const {
    char left[kDisplayTextLength + 1];
    std::strncpy(left, text, kDisplayTextLength);
    left[kDisplayTextLength] = '\0';
    const char* right = "";
    if (char* blank = std::strchr(left, ' ')) {
        *blank = '\0';
        right = blank + 1;
    }
    context->drawString(left, textRect, false, kLeftText);
    context->drawString(right, textRect, false, kRightText);
    drawColumns(context, parameter->target.load(std::memory_order_relaxed));
}

// Each column is a vertical line in up to three parts: ground colour above and below, the
// column's gradient colour between. Rows run from the strip's top to its bottom row
// inclusive.
void PadDisplay::drawColumns(CDrawContext* context, double value) const {
    const int32_t top = graphRect.top;
    const int32_t bottom = graphRect.bottom;
    const double markerStart = value * kMarkerScale;
    const double markerMiddle = markerStart + kMarkerHalfWidth;
    const double markerEnd = markerMiddle + kMarkerHalfWidth;
    for (int32_t i = 0; i < columnCount; ++i) {
        const PadColumn& entry = columns[static_cast<size_t>(i)];
        const int32_t x = graphRect.left + i;
        int32_t barTop = bottom + 1; // no coloured rows unless the column is in the graph
        int32_t barBottom = bottom + 1;
        if (style == kPadStyleBar) {
            // At value 0 the first column still shows the wedge's thin end.
            if (entry.position <= value) {
                barTop = entry.barTop;
                barBottom = entry.barBottom;
            }
        } else if (entry.position >= markerStart && entry.position < markerEnd) {
            const double distance = entry.position < markerMiddle ? entry.position - markerStart
                                                                  : markerEnd - entry.position;
            const auto inset = static_cast<int32_t>((1.0 - distance / kMarkerHalfWidth) * 0.5 *
                                                    graphRect.height());
            barTop = top + inset;
            barBottom = bottom - inset;
        }
        drawRows(context, x, top, barTop - 1, entry.backColour);
        drawRows(context, x, barTop, barBottom - 1, entry.barColour);
        drawRows(context, x, std::max(barBottom, top), bottom, entry.backColour);
    }
}

void PadDisplay::drawRows(CDrawContext* context, int32_t x, int32_t first, int32_t last,
                          CColor colour) const {
    if (first > last) {
        return;
    }
    context->setFrameColor(colour);
    context->moveTo(CPoint(x, first));
    context->lineTo(CPoint(x, last + 1)); // the end point itself is left out
}

} // namespace quillory
