#pragma once
// The model of a pad: a bitmap tile whose lower part shows a continuous parameter's value
// and is dragged sideways to change it. It lives as long as the effect; while the editor is
// open it points at the ControlView that paints it (its PadDisplay points at the view that
// paints the value on top).
//
// Threads. refresh() may come from any thread, the audio thread among them, while the
// user-interface thread opens and closes the editor: it never touches a view, it only
// leaves a mark that the editor takes on the user-interface thread. Everything else here is
// user-interface thread only.

#include "gui/CColor.h"
#include "gui/CRect.h"
#include "params/ParameterControl.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace quillory {

class CBitmap;
class ChorusEditorContext;
class ControlView;
class PadDisplay;
class ParameterX;

// How a pad shows its value: a wedge filled up to the value (Depth, Speed), or a marker at
// the value with the text split into a left and a right part (Mix).
enum : int32_t { kPadStyleBar = 2, kPadStyleMarker = 3 };

class Pad final : public ParameterControl {
public:
    // Attaches itself to `parameter` and links itself behind `previous`. The bitmaps are
    // loaded here, so the window system's back end must already be installed.
    Pad(ParameterX* parameter, int32_t normalId, int32_t activeId, CColor textColour, int32_t x,
        int32_t y, int32_t style, ChorusEditorContext* effect, Pad* previous);
    ~Pad();

    Pad(const Pad&) = delete;
    Pad& operator=(const Pad&) = delete;

    // The parameter changed from outside the pad: redraw at the next idle. Any thread.
    void refresh(const ParameterX& changed) override;
    // Takes the mark refresh() left; true when there was one.
    bool takeRedrawMark() { return redrawPending.exchange(false, std::memory_order_acquire); }
    // Marks the pad's view for redrawing, when the editor is open.
    void markViewDirty();

    std::unique_ptr<PadDisplay> display;
    ParameterX* parameter;
    Pad* next = nullptr;
    ControlView* controlView = nullptr;
    int32_t x;
    int32_t y;
    int32_t normalId;
    int32_t activeId;
    ChorusEditorContext* effect;
    CRect padRect;
    CRect textRect;  // where the value text goes
    CRect graphRect; // where the value graph goes
    CBitmap* normalBitmap;
    CBitmap* activeBitmap; // shown while the pad is dragged

private:
    std::atomic<bool> redrawPending{false};
};

} // namespace quillory
