#include "tools/skin/EditorText.h"

#include "tools/skin/Canvas.h"

namespace quillory::skin {
namespace {

const Font kPadFont{Weight::Regular, 11};
const Font kBarFont{Weight::Regular, 12};
// A pad's text rectangle starts this far below its top; the Mix pad's loses 7 pixels at both
// sides, and its left text moves one more pixel to the right.
constexpr int kPadTextTop = 40;
constexpr int kMixTextInset = 7;

Colour colourOf(Control control) {
    return textColour(control) == TextColour::Black ? Colour::bytes(0, 0, 0)
                                                    : Colour::bytes(255, 255, 255);
}

void drawLine(cairo_t* context, const Font& font, const std::string& text, const Rect& box,
              Align align, const Colour& colour) {
    const cairo_font_extents_t extents = fontExtents(context, font);
    const double lineHeight = extents.ascent + extents.descent;
    const double baseline = box.top + (box.height() - lineHeight) / 2 + extents.ascent;
    const double x = align == Align::Left     ? box.left
                     : align == Align::Centre ? (box.left + box.right) / 2.0
                                              : box.right;
    drawText(context, font, text, x, baseline, align, colour);
}

} // namespace

void drawPadText(cairo_t* context, Control pad, const std::string& displayText) {
    const Rect rect = controlRect(pad);
    const Rect text{rect.left, rect.top + kPadTextTop, rect.right, rect.bottom};
    if (pad != Control::MixPad) {
        drawLine(context, kPadFont, displayText, text, Align::Centre, colourOf(pad));
        return;
    }
    const Rect shares{text.left + kMixTextInset, text.top, text.right - kMixTextInset, text.bottom};
    const std::size_t blank = displayText.find(' ');
    const std::string dry = displayText.substr(0, blank);
    const std::string wet = blank == std::string::npos ? "" : displayText.substr(blank + 1);
    drawLine(context, kPadFont, dry, {shares.left + 1, shares.top, shares.right, shares.bottom},
             Align::Left, colourOf(pad));
    drawLine(context, kPadFont, wet, shares, Align::Right, colourOf(pad));
}

void drawBarText(cairo_t* context, Control bar, const std::string& text) {
    drawLine(context, kBarFont, text, controlRect(bar), Align::Centre, colourOf(bar));
}

} // namespace quillory::skin
