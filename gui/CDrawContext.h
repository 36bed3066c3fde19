#pragma once
// Draws lines, rectangles, text and bitmaps on a surface of the back end: a window's client
// area or an offscreen bitmap.
//
// Coordinates are the context's own: `offset` (the drawing offset) is added to every point
// before it reaches the surface, so a container can draw its children in its local
// coordinates. `offsetScreen` is where the context's (0, 0) lies on the screen, which turns
// the screen cursor position into context coordinates.
//
// Pixel rules, the same on every back end:
//  - lineTo draws from the pen position to the point and leaves the point itself out;
//  - drawRect outlines through (left, top), (right - 1, top), (right - 1, bottom - 1),
//    (left, bottom - 1) and back to (left, top): every pixel of the rectangle's border;
//  - fillRect fills (left + 1, top + 1, right, bottom): the top row and the left column are
//    left for an outline;
//  - all output stays inside the clip rectangle.
// A context without a surface (its window could not be made) draws nothing.

#include "gui/CColor.h"
#include "gui/CRect.h"
#include "gui/CReferenceCounter.h"
#include "gui/GuiConstants.h"
#include "gui/platform/Surface.h"

#include <cstdint>
#include <memory>

namespace quillory {

class CFrame;

class CDrawContext : public CReferenceCounter {
public:
    enum class BitmapMode { kOpaque, kTransparent, kAlpha };

    // Draws on `surface`, which the context owns (null: draws nothing). `frame` may be null;
    // it gives the clip (its size), the screen offset and the mouse buttons.
    CDrawContext(CFrame* frame, std::unique_ptr<gui::Surface> surface);
    // Draws on a surface owned by someone else for the context's whole life (a paint
    // event's target).
    CDrawContext(CFrame* frame, gui::Surface* borrowed);
    ~CDrawContext() override;

    void moveTo(const CPoint& point);
    void lineTo(const CPoint& point);
    void drawRect(const CRect& rect);
    void fillRect(const CRect& rect);
    // One line of text, vertically centred in `rect`; left alignment starts at left + 1.
    // `opaque` fills the text's cell with the fill colour first. Null text draws nothing.
    void drawString(const char* text, const CRect& rect, bool opaque = false,
                    CHoriTxtAlign align = kCenterText);

    // Standard font `fontID` (0 ... 7), with `size` pixels (0: the font's own) and `style`
    // face bits.
    void setFont(int32_t fontID, int32_t size = 0, int32_t style = kFaceNormal);
    int32_t getFont() const { return fontNumber; }
    int32_t getFontSize() const { return font.height; }
    int32_t getFontStyle() const { return font.style; }
    void setFontColor(CColor color) { fontColor = color; }
    CColor getFontColor() const { return fontColor; }
    void setFrameColor(CColor color) { pen.color = color; }
    CColor getFrameColor() const { return pen.color; }
    void setFillColor(CColor color) { fillColor = color; }
    CColor getFillColor() const { return fillColor; }
    void setLineWidth(int32_t width) { pen.width = width; }
    int32_t getLineWidth() const { return pen.width; }
    void setLineStyle(CLineStyle style) { pen.style = style; }
    CLineStyle getLineStyle() const { return pen.style; }
    CPoint getPenPosition() const { return penPosition; }

    void setClipRect(const CRect& clip) { clipRect = clip; }
    CRect& getClipRect(CRect& clip) const;
    // The clip of a new context: the frame's size, or (0, 0, 1000, 1000) without a frame.
    void resetClipRect();

    // The cursor position in context coordinates.
    void getMouseLocation(CPoint& point) const;
    // The buttons and modifiers held now (the frame window's polled state; 0 without one).
    int32_t getMouseButtons() const;

    // Draws `bitmap` from `source` into `rect` (context coordinates); used by CBitmap.
    void drawBitmap(const gui::PlatformBitmap& bitmap, const CRect& rect, CPoint source,
                    BitmapMode mode, CColor transparentColor = {}, uint8_t alpha = 255);

    CFrame* getFrame() const { return frame; }
    gui::Surface* getSurface() const { return surface; }

    CPoint offset;       // added to every drawing coordinate
    CPoint offsetScreen; // the screen position of the context's (0, 0)

protected:
    // Hands the current clip, moved by the drawing offset, to the surface when it changed;
    // answers false when nothing can be drawn (no surface, empty clip).
    bool prepareSurface();
    friend class COffscreenContext;

private:
    void startUp();

    CFrame* frame;
    std::unique_ptr<gui::Surface> ownedSurface;
    gui::Surface* surface;
    CRect clipRect;
    CRect surfaceClip{0, 0, -1, -1}; // the clip last handed to the surface
    int32_t fontNumber = 0;
    gui::FontDescription font;
    gui::LinePen pen;
    CColor fontColor = kWhiteCColor;
    CColor fillColor = kBlackCColor;
    CPoint penPosition;
};

} // namespace quillory
