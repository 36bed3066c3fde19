// The controls: pads with a bevelled rim, a painted label and a recessed display well, and
// dropdown bars with a chevron. The glowing variants light the rim and the label.

#include "tools/skin/Painters.h"
#include "tools/skin/Palette.h"

namespace quillory::skin {
namespace {

constexpr double kPadRadius = 5;
constexpr double kBarRadius = 4;
// The label's baseline in the pad's top area.
constexpr double kLabelBaseline = 15;
// The display well of a pad reaches this far above its bottom edge.
constexpr int kWellBottomMargin = 4;

const Font kLabelFont{Weight::Bold, 9, 1.4};

// A raised body: a dark outline, a face with a vertical gradient and a bevel that is lit
// at the top and shaded at the bottom.
void paintBody(cairo_t* context, double width, double height, double radius) {
    roundedRectangle(context, 0, 0, width, height, radius);
    setColour(context, palette::kEdgeDark);
    cairo_fill(context);

    roundedRectangle(context, 1, 1, width - 1, height - 1, radius - 1);
    fillVertical(context, 1, height - 1, palette::kFaceTop, palette::kFaceBottom);

    roundedRectangle(context, 1.5, 1.5, width - 1.5, height - 1.5, radius - 1.5);
    cairo_pattern_t* bevel = cairo_pattern_create_linear(0, 1, 0, height - 1);
    addVerticalStop(bevel, 0, Colour::bytes(255, 255, 255, 0.20));
    addVerticalStop(bevel, 0.35, Colour::bytes(255, 255, 255, 0.05));
    addVerticalStop(bevel, 1, Colour::bytes(0, 0, 0, 0.35));
    cairo_set_source(context, bevel);
    cairo_stroke(context);
    cairo_pattern_destroy(bevel);
}

// The glow of a held control: a bright rim fading into the face.
void paintGlow(cairo_t* context, double width, double height, double radius) {
    const double alphas[] = {0.42, 0.26, 0.15, 0.07};
    for (int ring = 0; ring < 4; ++ring) {
        const double inset = 2.5 + ring;
        roundedRectangle(context, inset, inset, width - inset, height - inset, radius - inset / 2);
        setColour(context, palette::kAccent.withAlpha(alphas[ring]));
        cairo_stroke(context);
    }
    roundedRectangle(context, 0.5, 0.5, width - 0.5, height - 0.5, radius - 0.5);
    setColour(context, palette::kAccent);
    cairo_stroke(context);
    roundedRectangle(context, 1.5, 1.5, width - 1.5, height - 1.5, radius - 1.5);
    setColour(context, palette::kAccentBright.withAlpha(0.7));
    cairo_stroke(context);
}

// The recessed well around the strip the editor draws its graph on and the area below it
// where the value text goes: flat, so that neither has anything behind it to fight.
void paintWell(cairo_t* context, const Rect& strip, int bottom, const Colour& ground) {
    const Rect well{strip.left - 1, strip.top - 1, strip.right + 1, bottom};
    cairo_rectangle(context, well.left, well.top, well.width(), well.height());
    setColour(context, palette::kEdgeDark);
    cairo_fill(context);
    cairo_rectangle(context, strip.left, strip.bottom, strip.width(), bottom - 1 - strip.bottom);
    setColour(context, ground);
    cairo_fill(context);
    cairo_rectangle(context, strip.left, strip.top, strip.width(), strip.height());
    setColour(context, palette::kGraphGround);
    cairo_fill(context);
    // A light lip along the well's lower edge sets it into the face.
    cairo_move_to(context, well.left, bottom + 0.5);
    cairo_line_to(context, well.right, bottom + 0.5);
    setColour(context, Colour::bytes(255, 255, 255, 0.10));
    cairo_stroke(context);
}

Colour labelColour(bool active) {
    return active ? palette::kAccentBright : palette::kCaption;
}

void paintSquarePad(cairo_t* context, const Rect& rect, const char* label, bool active) {
    paintBody(context, rect.width(), rect.height(), kPadRadius);
    paintWell(context, padGraphStrip(rect.width(), rect.height()),
              rect.height() - kWellBottomMargin, palette::kWellDark);
    drawText(context, kLabelFont, label, rect.width() / 2.0, kLabelBaseline, Align::Centre,
             labelColour(active));
    if (active) {
        paintGlow(context, rect.width(), rect.height(), kPadRadius);
    }
}

// The Mix pad: Dry and Wet over the two shares the editor writes below its strip, joined by
// a thin line with a centre tick like the scale of a crossfader.
void paintMixPad(cairo_t* context, const Rect& rect, bool active) {
    paintBody(context, rect.width(), rect.height(), kPadRadius);
    const Rect strip = padGraphStrip(rect.width(), rect.height());
    paintWell(context, strip, rect.height() - kWellBottomMargin, palette::kWellLight);

    const Colour colour = labelColour(active);
    const double left = strip.left + 5;
    const double right = strip.right - 2;
    drawText(context, kLabelFont, "DRY", left, kLabelBaseline, Align::Left, colour);
    drawText(context, kLabelFont, "WET", right, kLabelBaseline, Align::Right, colour);

    const double lineY = kLabelBaseline - 3.5;
    const double gap = 6;
    const double from = left + textWidth(context, kLabelFont, "DRY") + gap;
    const double to = right - textWidth(context, kLabelFont, "WET") - gap;
    const double middle = rect.width() / 2.0;
    cairo_move_to(context, from, lineY);
    cairo_line_to(context, to, lineY);
    cairo_move_to(context, middle, lineY - 3);
    cairo_line_to(context, middle, lineY + 3);
    setColour(context, colour.withAlpha(0.35));
    cairo_stroke(context);

    if (active) {
        paintGlow(context, rect.width(), rect.height(), kPadRadius);
    }
}

// A chevron pointing down at the bar's right end, clear of the centred text.
void paintChevron(cairo_t* context, const Rect& rect, bool active) {
    const double centreX = rect.width() - 11.5;
    const double centreY = rect.height() / 2.0 + 0.5;
    cairo_move_to(context, centreX - 4, centreY - 2);
    cairo_line_to(context, centreX, centreY + 2);
    cairo_line_to(context, centreX + 4, centreY - 2);
    cairo_set_line_width(context, 1.6);
    setColour(context, active ? palette::kAccentBright : palette::kCaption.withAlpha(0.6));
    cairo_stroke(context);
    cairo_set_line_width(context, 1.0);
}

void paintBar(cairo_t* context, const Rect& rect, bool active) {
    paintBody(context, rect.width(), rect.height(), kBarRadius);
    paintChevron(context, rect, active);
    if (active) {
        paintGlow(context, rect.width(), rect.height(), kBarRadius);
    }
}

} // namespace

void paintControl(cairo_t* context, Control control, bool active) {
    const Rect rect = controlRect(control);
    cairo_save(context);
    cairo_translate(context, rect.left, rect.top);
    switch (control) {
    case Control::DepthPad:
        paintSquarePad(context, rect, "DEPTH", active);
        break;
    case Control::SpeedPad:
        paintSquarePad(context, rect, "SPEED", active);
        break;
    case Control::MixPad:
        paintMixPad(context, rect, active);
        break;
    case Control::TapsBar:
    case Control::WaveBar:
        paintBar(context, rect, active);
        break;
    case Control::Background:
        break;
    }
    cairo_restore(context);
}

} // namespace quillory::skin
