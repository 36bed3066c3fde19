// The panel behind the controls: a finely grained graphite surface with the heading, the
// logo mark, a caption rail on the left and recessed plates that group the controls.

#include "tools/skin/Painters.h"
#include "tools/skin/Palette.h"

#include <cmath>

namespace quillory::skin {
namespace {

constexpr int kHeaderHeight = 54;
// The column that the heading, the footer and the Mix pad share on the left.
constexpr double kColumnLeft = 60;
constexpr Rect kModulationPlate{56, 62, 238, 227};
constexpr Rect kMixPlate{56, 299, 238, 381};
// Captions in the rail read upwards along this line.
constexpr double kRailCaptionX = 33;
constexpr uint32_t kGrainSeed = 0x51C0A1u;

void paintSurface(cairo_t* context) {
    cairo_rectangle(context, 0, 0, kWindowWidth, kWindowHeight);
    fillVertical(context, 0, kWindowHeight, palette::kPanelTop, palette::kPanelBottom);

    cairo_rectangle(context, 0, 0, kWindowWidth, kHeaderHeight);
    fillVertical(context, 0, kHeaderHeight, palette::kHeaderTop, palette::kHeaderBottom);
    // The header's lower edge: a dark groove with a faint light lip below it.
    cairo_rectangle(context, 0, kHeaderHeight, kWindowWidth, 1);
    setColour(context, palette::kEdgeDark);
    cairo_fill(context);
    cairo_rectangle(context, 0, kHeaderHeight + 1, kWindowWidth, 1);
    setColour(context, palette::kEdgeLight);
    cairo_fill(context);

    // The panel's own bevel, so that it stands apart from the host's window around it.
    cairo_rectangle(context, 0.5, 0.5, kWindowWidth - 1, kWindowHeight - 1);
    setColour(context, palette::kEdgeDark);
    cairo_stroke(context);
    cairo_move_to(context, 1, 1.5);
    cairo_line_to(context, kWindowWidth - 1, 1.5);
    setColour(context, Colour::bytes(255, 255, 255, 0.12));
    cairo_stroke(context);
}

// The logo mark: three voices of one wave, drifting apart, inside a ring.
void paintLogo(cairo_t* context, double centreX, double centreY) {
    const double radius = 14;
    cairo_arc(context, centreX, centreY, radius, 0, 2 * M_PI);
    setColour(context, palette::kAccent.withAlpha(0.16));
    cairo_fill_preserve(context);
    cairo_set_line_width(context, 1.5);
    setColour(context, palette::kAccent);
    cairo_stroke(context);

    const double alphas[] = {1.0, 0.55, 0.3};
    for (int voice = 0; voice < 3; ++voice) {
        const double phase = voice * 0.9;
        const double amplitude = 5.5;
        cairo_new_path(context);
        for (int step = 0; step <= 40; ++step) {
            const double along = step / 40.0;
            const double x = centreX - 9.5 + 19 * along;
            const double y = centreY - amplitude * std::sin(2 * M_PI * along + phase);
            if (step == 0) {
                cairo_move_to(context, x, y);
            } else {
                cairo_line_to(context, x, y);
            }
        }
        cairo_set_line_width(context, 1.4);
        setColour(context, palette::kAccentBright.withAlpha(alphas[voice]));
        cairo_stroke(context);
    }
    cairo_set_line_width(context, 1.0);
}

void paintHeading(cairo_t* context) {
    paintLogo(context, 30, kHeaderHeight / 2.0);
    const Font name{Weight::Bold, 20};
    const Font kind{Weight::Regular, 20};
    const double baseline = 34;
    drawText(context, name, "Quillory", kColumnLeft, baseline, Align::Left, palette::kHeading);
    const double after = kColumnLeft + textWidth(context, name, "Quillory ");
    drawText(context, kind, "Chorus", after, baseline, Align::Left, palette::kAccent);
}

// A plate sunk into the panel: darker than the surface, shaded along its top edge and lit
// along its bottom edge.
void paintPlate(cairo_t* context, const Rect& plate) {
    roundedRectangle(context, plate.left, plate.top, plate.right, plate.bottom, 6);
    setColour(context, Colour::bytes(0, 0, 0, 0.22));
    cairo_fill(context);
    roundedRectangle(context, plate.left + 0.5, plate.top + 0.5, plate.right - 0.5,
                     plate.bottom - 0.5, 5.5);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, plate.top, 0, plate.bottom);
    addVerticalStop(rim, 0, Colour::bytes(0, 0, 0, 0.55));
    addVerticalStop(rim, 0.5, Colour::bytes(0, 0, 0, 0.2));
    addVerticalStop(rim, 1, Colour::bytes(255, 255, 255, 0.09));
    cairo_set_source(context, rim);
    cairo_stroke(context);
    cairo_pattern_destroy(rim);
}

// A caption in the rail, reading upwards, centred on its plate, with a thin bracket line
// running on from both ends of the word along the plate's height.
void paintRailCaption(cairo_t* context, const Rect& plate, const char* caption) {
    const Font font{Weight::Bold, 8, 2.0};
    const double centreY = (plate.top + plate.bottom) / 2.0;
    const double half = textWidth(context, font, caption) / 2 + 6;
    cairo_save(context);
    cairo_translate(context, kRailCaptionX, centreY);
    cairo_rotate(context, -M_PI / 2);
    drawText(context, font, caption, 0, 0, Align::Centre, palette::kCaptionDim);
    cairo_restore(context);

    const double lineX = kRailCaptionX - 3.5;
    const double top = plate.top + 6;
    const double bottom = plate.bottom - 6;
    cairo_move_to(context, lineX, top);
    cairo_line_to(context, lineX, centreY - half);
    cairo_move_to(context, lineX, centreY + half);
    cairo_line_to(context, lineX, bottom);
    setColour(context, palette::kCaptionDim.withAlpha(0.45));
    cairo_stroke(context);
    // Short ticks turn the line's ends towards the plate.
    for (double y : {top + 0.5, bottom - 0.5}) {
        cairo_move_to(context, lineX, y);
        cairo_line_to(context, lineX + 5, y);
    }
    cairo_stroke(context);
}

// The soft shadow a control casts on its plate; the control's bitmap covers the rest.
void paintSocket(cairo_t* context, Control control) {
    const Rect rect = controlRect(control);
    for (int ring = 3; ring >= 1; --ring) {
        roundedRectangle(context, rect.left - ring + 1, rect.top - ring + 2, rect.right + ring - 1,
                         rect.bottom + ring, 5 + ring);
        setColour(context, Colour::bytes(0, 0, 0, 0.16));
        cairo_fill(context);
    }
}

// Between the two plates: the logo's three voices drawn wide and faint, a quiet signature
// that ties the sections together.
void paintSignature(cairo_t* context) {
    const double left = kModulationPlate.left + 8;
    const double right = kModulationPlate.right - 8;
    const double centreY = (kModulationPlate.bottom + kMixPlate.top) / 2.0;
    const double alphas[] = {0.22, 0.14, 0.08};
    for (int voice = 0; voice < 3; ++voice) {
        const double phase = voice * 0.9;
        cairo_new_path(context);
        for (int step = 0; step <= 160; ++step) {
            const double along = step / 160.0;
            const double x = left + (right - left) * along;
            // Two periods, fading in and out towards the plates' edges.
            const double envelope = std::sin(M_PI * along);
            const double y = centreY - 11 * envelope * std::sin(4 * M_PI * along + phase);
            if (step == 0) {
                cairo_move_to(context, x, y);
            } else {
                cairo_line_to(context, x, y);
            }
        }
        cairo_set_line_width(context, 1.2);
        setColour(context, palette::kAccent.withAlpha(alphas[voice]));
        cairo_stroke(context);
    }
    cairo_set_line_width(context, 1.0);
}

void paintFooter(cairo_t* context) {
    const Font font{Weight::Bold, 7.5, 1.6};
    const double baseline = 397;
    drawText(context, font, "QUILLORY SYNTH", kColumnLeft, baseline, Align::Left,
             palette::kCaptionDim);
    drawText(context, font, "V1.00", kMixPlate.right - 2, baseline, Align::Right,
             palette::kCaptionDim);
}

} // namespace

Surface renderPanel() {
    Surface panel = makeSurface(kWindowWidth, kWindowHeight);
    Context context = makeContext(panel.get());
    cairo_t* cr = context.get();
    paintSurface(cr);
    cairo_surface_flush(panel.get());
    addGrain(panel.get(), {0, 0, kWindowWidth, kWindowHeight}, kGrainSeed, 3);

    paintHeading(cr);
    paintPlate(cr, kModulationPlate);
    paintPlate(cr, kMixPlate);
    paintRailCaption(cr, kModulationPlate, "MODULATION");
    paintRailCaption(cr, kMixPlate, "MIX");
    for (Control control : {Control::DepthPad, Control::SpeedPad, Control::MixPad, Control::TapsBar,
                            Control::WaveBar}) {
        paintSocket(cr, control);
    }
    paintSignature(cr);
    paintFooter(cr);
    return panel;
}

Surface renderBitmap(cairo_surface_t* panel, const SkinBitmap& bitmap) {
    const Rect rect = controlRect(bitmap.control);
    if (bitmap.control == Control::Background) {
        return cropSurface(panel, rect);
    }
    Surface canvas = cropSurface(panel, controlRect(Control::Background));
    {
        Context context = makeContext(canvas.get());
        paintControl(context.get(), bitmap.control, bitmap.active);
    }
    return cropSurface(canvas.get(), rect);
}

} // namespace quillory::skin
