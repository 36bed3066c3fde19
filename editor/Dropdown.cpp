#include "editor/Dropdown.h"

#include "editor/COptionMenuDropdown.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "params/ParameterX.h"
#include "shell/ValueText.h"

#include <utility>

namespace quillory {

Dropdown::Dropdown(int32_t id, const char* labelText, int32_t normal, int32_t active, int32_t top,
                   CColor colour, ParameterX* edited, ChorusEditorContext* owner,
                   Dropdown* previous)
    : tag(id | kDropdownTagBase), effect(owner), parameter(edited), y(top), normalId(normal),
      activeId(active), fontColour(colour) {
    if (parameter != nullptr) {
        parameter->attachDropdown(*this);
    }
    copyString(label, labelText != nullptr ? labelText : "", kDropdownLabelLength);
    if (previous != nullptr) {
        previous->next = this;
    }
}

void Dropdown::onChoice(int32_t) {}

void Dropdown::beforePopup() {}

void Dropdown::addEntry(const char* text) {
    entries.push_back(DropdownEntry{text, static_cast<int32_t>(entries.size()), this});
}

void Dropdown::refresh(const ParameterX& changed) {
    pendingChoice.store(changed.choice.load(std::memory_order_relaxed), std::memory_order_release);
}

// The bitmaps are loaded anew for each opening and handed to the option menu, which keeps
// its own references to them.
void Dropdown::open(CControlListener* listener, CFrame* frame) {
    auto* normal = new CBitmap(normalId);
    auto* active = new CBitmap(activeId);
    CRect rect(x, y, x + normal->getWidth(), y + normal->getHeight());
    if (rect.right < rect.left) {
        std::swap(rect.left, rect.right);
    }
    if (rect.bottom < rect.top) {
        std::swap(rect.top, rect.bottom);
    }
    view = new COptionMenuDropdown(rect, listener, tag, normal, active, this, parameter == nullptr);
    view->setFontColor(fontColour);
    for (const DropdownEntry& entry : entries) {
        view->addEntry(entry.text, -1);
    }
    frame->addView(view);
    normal->forget();
    active->forget();
}

ChorusTapsDropdown::ChorusTapsDropdown(ParameterX* taps, ChorusEditorContext* owner,
                                       Dropdown* previous)
    : Dropdown(7, "Numb. taps = ", 107, 108, 146, kWhiteCColor, taps, owner, previous) {
    for (const char* text : {"2", "3", "4"}) {
        addEntry(text);
    }
}

ChorusWaveformDropdown::ChorusWaveformDropdown(ParameterX* waveform, ChorusEditorContext* owner,
                                               Dropdown* previous)
    : Dropdown(8, "Wave = ", 109, 110, 186, kWhiteCColor, waveform, owner, previous) {
    for (const char* text : {"Sine", "Wander"}) {
        addEntry(text);
    }
}

} // namespace quillory
