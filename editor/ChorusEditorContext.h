#pragma once
// What the editor needs of the effect that owns it, and all it may reach there: the
// parameters by host index (values, texts and the writes back through setFromEditor and
// setChoiceFromEditor, which also report to the host), the control models the effect owns
// and the pad being dragged. Beginning and ending an edit go to the host through the editor
// base class. The effect implements this; the editor and its tests hold nothing else of it.

#include "params/ParameterX.h"

#include <cstdint>

namespace quillory {

class Dropdown;
class Pad;
class PadDisplay;

class ChorusEditorContext {
public:
    // The parameter with host index `index` (0..4), or null for any other index.
    virtual ParameterX* parameter(int32_t index) = 0;
    // The first of the pads (Depth, Speed, Mix, linked through `next`) and the first of the
    // dropdowns (taps, waveform). They live as long as the effect.
    virtual Pad* padList() = 0;
    virtual Dropdown* dropdownList() = 0;
    // The display of the pad being dragged, or null. User-interface thread only.
    virtual PadDisplay* activeDrag() = 0;
    virtual void setActiveDrag(PadDisplay* display) = 0;

protected:
    ~ChorusEditorContext() = default;
};

} // namespace quillory
