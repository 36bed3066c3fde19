#pragma once
// The value display on a pad's lower part and the pad's drag state. The display draws the
// parameter's text and a one-line graph over the freshly painted pad bitmap: a wedge that
// fills the strip up to the value (kPadStyleBar) or a small diamond marker at the value with
// the text split into its left and right parts (kPadStyleMarker). The graph's columns, one
// per pixel with their geometry and colour, are worked out once here.
//
// The drag: a left-button press on the display view starts it (press), and the editor's
// idle then feeds the polled button and cursor to updateDrag until the button is released.
// The value follows the horizontal movement with a gain that grows with its speed.
//
// User-interface thread only; the parameter's value and text are read as the parameter
// allows from any thread.

#include "gui/CColor.h"
#include "gui/CRect.h"

#include <array>
#include <cstdint>

namespace quillory {

class CDrawContext;
class ChorusEditorContext;
class OstrelEditView;
class Pad;
class ParameterX;

inline constexpr CColor kGraphBackground{192, 192, 192, 255};
// Columns a graph can have: its width plus one.
inline constexpr int32_t kMaxPadColumns = 200;

struct PadColumn {
    int32_t barTop = 0;    // first row of the wedge (bar style)
    int32_t barBottom = 0; // row after the wedge's last row (bar style)
    double position = 0.0; // where the column lies in the strip, 0 at the left, 1 at the right
    CColor barColour;
    CColor backColour = kGraphBackground;
};

// Buttons the editor polls during a drag, and the state a display remembers.
enum : int32_t { kDragReleased = 0, kDragHeld = 1, kDragPressed = 2 };

class PadDisplay {
public:
    PadDisplay(int32_t style, const CRect& graphRect, const CRect& textRect, CColor textColour,
               Pad* pad, ParameterX* parameter, ChorusEditorContext* effect);

    // Draws the text and the graph; the pad bitmap has just been painted beneath.
    void drawDisplay(CDrawContext* context) const;

    // A press inside the display view with `buttons` (button and modifier bits). Only the
    // left button alone starts a drag; the view takes every press either way.
    void press(const CPoint& where, int32_t buttons);
    // The polled left button (kDragReleased or kDragHeld) and cursor, in frame coordinates.
    void updateDrag(int32_t button, const CPoint& where);

    // The graph's columns, graphWidth() + 1 of them (the last one is never drawn).
    int32_t graphWidth() const { return columnCount; }
    const PadColumn& column(int32_t index) const { return columns[static_cast<size_t>(index)]; }

    ParameterX* parameter;
    Pad* pad;
    int32_t style;
    CRect viewRect; // the display view: the text's width, from the graph's top down
    CRect textRect;
    CRect graphRect;
    bool dragging = false; // the pad shows its active bitmap
    OstrelEditView* displayView = nullptr;
    ChorusEditorContext* effect;

    int32_t buttonState = kDragReleased;
    int32_t lastX = 0;       // x at the last value step
    uint32_t lastTick = 0;   // milliseconds, at the last value step
    double dragOffset = 0.0; // sum of the value steps of this drag, not clamped
    double startValue = 0.0; // the value at the press
    double dragValue = 0.0;  // the value last sent: startValue + dragOffset, within 0..1
    CPoint lastPoint;        // the last point seen by press or updateDrag
    CColor textColour;

private:
    void fillColumns();
    void drawBarStyle(CDrawContext* context, const char* text) const;
    void drawMarkerStyle(CDrawContext* context, const char* text) const;
    void drawColumns(CDrawContext* context, double value) const;
    void drawRows(CDrawContext* context, int32_t x, int32_t first, int32_t last,
                  CColor colour) const;
    void endDrag();
    void valueStep(int32_t x);

    int32_t columnCount = 0;
    std::array<PadColumn, kMaxPadColumns> columns{};
};

} // namespace quillory
