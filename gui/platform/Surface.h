#pragma once
// A drawing target of a back end: a window's client area or an offscreen image.
//
// Coordinates are the surface's own pixels: (0, 0) is the top-left pixel, x grows to the
// right and y downwards; a rectangle covers left <= x < right and top <= y < bottom. The
// draw context has already added its drawing offset and applied the toolkit's rules (a
// filled rectangle leaves its top row and left column, an outline is four lines, left-aligned
// text starts one pixel in); a surface draws exactly the pixels each operation names.
//
// Pixel rules that every back end keeps, so that one scene gives the same pixels everywhere
// outside the glyphs of text:
//  - Nothing is drawn outside the clip rectangle (intersected with the surface's bounds). An
//    empty clip draws nothing.
//  - No antialiasing except inside text glyphs. Colours are written as they are: alpha is
//    ignored (only drawBitmapAlpha blends).
//  - A one-pixel line covers the pixels of the line from `from` towards `to`, leaving `to`
//    itself out. Horizontal and vertical lines are exact; a diagonal line visits one pixel per
//    step along its longer axis (max(|dx|, |dy|) pixels), each within half a pixel of the ideal
//    line, and a back end's native rule may pick the neighbouring pixel across the line.
//  - Bitmap and surface copies are opaque pixel copies, no scaling.
//
// Threads: a surface is used only on the thread that made it (the user-interface thread).
// Operations never fail: anything they cannot do they leave undone.

#include "gui/CColor.h"
#include "gui/CRect.h"
#include "gui/GuiConstants.h"

#include <cstdint>

namespace quillory::gui {

class Backend;
class PlatformBitmap;
struct PixelImage;

// A font by face name and size: the name is a Windows family name ("Arial", "Symbol");
// back ends on other systems map it to a metric-compatible family.
struct FontDescription {
    const char* face = "Arial";
    int32_t height = 12;         // character (em) height in pixels
    int32_t style = kFaceNormal; // kFaceBold | kFaceItalic | kFaceUnderline
};

struct TextStyle {
    FontDescription font;
    CColor color = kWhiteCColor;
    CHoriTxtAlign align = kCenterText;
    // true: the cell the text occupies (its advance width by the font's line height) is
    // first filled with `background`; false: only the glyphs are drawn.
    bool opaque = false;
    CColor background = kBlackCColor;
};

struct LinePen {
    CColor color = kWhiteCColor;
    int32_t width = 1; // pixel rules hold for width 1; wider lines are the back end's own
    CLineStyle style = CLineStyle::kSolid;
};

class Surface {
public:
    virtual ~Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // The back end that made the surface. Bitmaps and surfaces of another back end are not
    // drawn (the draw context checks this before it calls).
    const Backend& owner() const { return *maker; }

    // Size in pixels; output outside it is dropped.
    virtual int32_t width() const = 0;
    virtual int32_t height() const = 0;

    // Limits all later output to `clip`. The draw context calls this only when the clip
    // changes, and starts every surface with a clip of the whole surface.
    virtual void setClip(const CRect& clip) = 0;

    // A line from `from` to `to` without the pixel at `to` (see the rules above); `from` ==
    // `to` draws nothing. Called very often with the same pen: a back end that makes pen
    // objects keeps the last one.
    virtual void drawLine(CPoint from, CPoint to, const LinePen& pen) = 0;

    // Sets every pixel of `area` to `color`.
    virtual void fillRect(const CRect& area, CColor color) = 0;

    // One line of 8-bit text (Windows-1252; null or empty draws nothing), vertically centred
    // in `box` by the font's ascent and descent, aligned horizontally as `style.align` says,
    // never wrapped; '&' is an ordinary character. Glyphs may be antialiased. Text is clipped
    // by the clip rectangle only, not by `box`.
    virtual void drawText(const char* text, const CRect& box, const TextStyle& style) = 0;

    // Copies the pixels of `bitmap` starting at `source` into `destination`, one to one; the
    // part of `destination` beyond the bitmap's edges is left as it was.
    virtual void drawBitmap(const PlatformBitmap& bitmap, const CRect& destination,
                            CPoint source) = 0;
    // The same, leaving out the bitmap pixels whose colour is `transparent` (alpha ignored).
    virtual void drawBitmapTransparent(const PlatformBitmap& bitmap, const CRect& destination,
                                       CPoint source, CColor transparent) = 0;
    // The same, blending every bitmap pixel over the surface with the constant opacity
    // `alpha` (255 = a plain copy, 0 = nothing).
    virtual void drawBitmapAlpha(const PlatformBitmap& bitmap, const CRect& destination,
                                 CPoint source, uint8_t alpha) = 0;

    // Copies `sourceArea` of `source`, an offscreen surface of the same back end, to this
    // surface with its top-left corner at `destination`; opaque, clipped by this surface's
    // clip. The source's own clip does not apply.
    virtual void copyFrom(const Surface& source, const CRect& sourceArea, CPoint destination) = 0;

    // Reads all pixels back into `out` (width() by height()). For tests and screenshots;
    // never on a drawing path. False when the pixels cannot be read.
    virtual bool readPixels(PixelImage& out) const = 0;

protected:
    explicit Surface(const Backend& madeBy) : maker(&madeBy) {}

private:
    const Backend* maker;
};

} // namespace quillory::gui
