#pragma once
// The model of a dropdown: a bar showing a fixed label and the current choice of a stepped
// parameter ("Numb. taps = 3"); a click opens a popup of the choices. It lives as long as
// the effect; while the editor is open it points at the option menu that shows it.
//
// Threads. refresh() may come from any thread, the audio thread among them, while the
// user-interface thread opens and closes the editor: it never touches the option menu, it
// only leaves the choice for the editor to hand over on the user-interface thread.
// Everything else here is user-interface thread only.

#include "gui/CColor.h"
#include "params/ParameterControl.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace quillory {

class CControlListener;
class CFrame;
class ChorusEditorContext;
class COptionMenuDropdown;
class Dropdown;
class ParameterX;

// Dropdown tags are their ids or-ed with this, so that they cannot be taken for parameter
// indices; bits 12 to 15 tell them apart.
inline constexpr int32_t kDropdownTagBase = 0x2000;
inline constexpr int32_t kDropdownTagMask = 0xF000;
inline constexpr int32_t kDropdownLabelLength = 199; // without the terminator

struct DropdownEntry {
    const char* text;
    int32_t index; // the parameter's choice
    Dropdown* owner;
};

class Dropdown : public ParameterControl {
public:
    // Attaches itself to `parameter` (may be null) and links itself behind `previous`.
    Dropdown(int32_t id, const char* label, int32_t normalId, int32_t activeId, int32_t y,
             CColor fontColour, ParameterX* parameter, ChorusEditorContext* effect,
             Dropdown* previous);
    virtual ~Dropdown() = default;

    Dropdown(const Dropdown&) = delete;
    Dropdown& operator=(const Dropdown&) = delete;

    // A choice for a dropdown without a parameter; nothing here.
    virtual void onChoice(int32_t choice);
    // Just before the popup opens; nothing here.
    virtual void beforePopup();

    // Makes the option menu, adds it to `frame` and keeps it as `view`.
    void open(CControlListener* listener, CFrame* frame);

    // The parameter's choice changed from outside the editor: show it. Any thread.
    void refresh(const ParameterX& changed) override;
    // Takes the choice refresh() left, or kNoChoice when there is none.
    static constexpr int32_t kNoChoice = -1;
    int32_t takePendingChoice() {
        return pendingChoice.exchange(kNoChoice, std::memory_order_acquire);
    }

    COptionMenuDropdown* view = nullptr;
    char label[kDropdownLabelLength + 1] = {};
    int32_t tag;
    ChorusEditorContext* effect;
    ParameterX* parameter;
    Dropdown* next = nullptr;
    std::vector<DropdownEntry> entries;
    int32_t x = 77; // every bar sits at the same left edge
    int32_t y;
    int32_t normalId;
    int32_t activeId; // shown while the bar is clicked
    CColor fontColour;

protected:
    void addEntry(const char* text);

private:
    std::atomic<int32_t> pendingChoice{kNoChoice};
};

// The number of chorus taps: 2, 3 or 4.
class ChorusTapsDropdown final : public Dropdown {
public:
    ChorusTapsDropdown(ParameterX* taps, ChorusEditorContext* effect, Dropdown* previous);
};

// The chorus waveform: Sine or Wander.
class ChorusWaveformDropdown final : public Dropdown {
public:
    ChorusWaveformDropdown(ParameterX* waveform, ChorusEditorContext* effect, Dropdown* previous);
};

} // namespace quillory
