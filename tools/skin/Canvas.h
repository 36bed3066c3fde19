#pragma once
// Drawing helpers shared by the skin's painters: owned cairo objects, colours, shapes, text
// laid out as outlines, and a fixed-seed grain.

#include "tools/skin/SkinLayout.h"

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>

namespace quillory::skin {

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;

// An opaque 24-bit image surface of the given size, cleared to black.
Surface makeSurface(int width, int height);
// A copy of `area` of `source` as a surface of its own.
Surface cropSurface(cairo_surface_t* source, const Rect& area);
// A drawing context on `surface` with the settings every painter relies on.
Context makeContext(cairo_surface_t* surface);

struct Colour {
    double red;
    double green;
    double blue;
    double alpha = 1.0;

    static constexpr Colour bytes(int red, int green, int blue, double alpha = 1.0) {
        return {red / 255.0, green / 255.0, blue / 255.0, alpha};
    }
    constexpr Colour withAlpha(double newAlpha) const { return {red, green, blue, newAlpha}; }
};

void setColour(cairo_t* context, const Colour& colour);
void addVerticalStop(cairo_pattern_t* pattern, double offset, const Colour& colour);
// Fills the current path with a vertical gradient from `top` at y0 to `bottom` at y1.
void fillVertical(cairo_t* context, double y0, double y1, const Colour& top, const Colour& bottom);

// A rounded rectangle path. Outlines stroked one pixel wide sit on whole pixels when the
// coordinates end in .5.
void roundedRectangle(cairo_t* context, double left, double top, double right, double bottom,
                      double radius);

enum class Weight { Regular, Bold };
enum class Align { Left, Centre, Right };

struct Font {
    Weight weight;
    double size;
    double tracking = 0.0; // extra pixels after every character
};

// Loads the text family's regular and bold faces from their files. Fails (returns false and
// says why on stderr) when the family is not installed, so that no other family silently
// takes its place and changes the bitmaps. Call it before any text is drawn.
bool loadFonts();

// The font's ascent and descent.
cairo_font_extents_t fontExtents(cairo_t* context, const Font& font);
// The width of `text` as `drawText` lays it out.
double textWidth(cairo_t* context, const Font& font, const std::string& text);
// Draws `text` as filled outlines with its baseline at y, aligned at x. Outlines without
// hinting give the same pixels whatever the machine's font rendering settings.
void drawText(cairo_t* context, const Font& font, const std::string& text, double x,
              double baseline, Align align, const Colour& colour);

// Adds a fine grain to `area` of `surface`: a per-pixel jitter and faint horizontal streaks,
// at most `strength` levels either way. The same seed always gives the same grain.
void addGrain(cairo_surface_t* surface, const Rect& area, uint32_t seed, int strength);

} // namespace quillory::skin
