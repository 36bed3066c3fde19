#include "editor/QuilloryChorusVstEditor.h"

#include "editor/COptionMenuDropdown.h"
#include "editor/ControlView.h"
#include "editor/Dropdown.h"
#include "editor/OstrelEditView.h"
#include "editor/Pad.h"
#include "editor/PadDisplay.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/GuiConstants.h"
#include "gui/platform/Window.h"

namespace quillory {

QuilloryChorusVstEditor::QuilloryChorusVstEditor(AudioEffect* owner,
                                                 ChorusEditorContext& effectContext)
    : AEffGUIEditor(owner), context(effectContext),
      backgroundBitmap(new CBitmap(kBackgroundBitmap)) {
    const bool loaded = backgroundBitmap->isLoaded();
    rect.top = 0;
    rect.left = 0;
    rect.bottom = loaded ? static_cast<int16_t>(backgroundBitmap->getHeight()) : kHeight;
    rect.right = loaded ? static_cast<int16_t>(backgroundBitmap->getWidth()) : kWidth;
}

// The effect closes the editor before it destroys the control models; a frame still here
// is only let go.
QuilloryChorusVstEditor::~QuilloryChorusVstEditor() {
    if (chorusFrame != nullptr) {
        chorusFrame->forget();
    }
    backgroundBitmap->forget();
}

bool QuilloryChorusVstEditor::open(void* parentWindow) {
    if (chorusFrame != nullptr) {
        close(); // opened twice without a close: build the tree anew
    }
    auto* newFrame = new CFrame(CRect(0, 0, rect.right, rect.bottom), parentWindow, this);
    if (!newFrame->isOpen()) {
        newFrame->forget();
        return false;
    }
    systemWindow = parentWindow;
    chorusFrame = newFrame;
    frame = newFrame;
    chorusFrame->setBackground(backgroundBitmap);
    buildViews();
    // Every view shows its parameter's current value from the first paint on.
    for (int32_t index = 0; ParameterX* parameter = context.parameter(index); ++index) {
        parameter->refreshControl();
    }
    applyRefreshMarks();
    return true;
}

// Drawing order, back to front: the dropdowns, then each pad with its value display on top.
void QuilloryChorusVstEditor::buildViews() {
    for (Dropdown* dropdown = context.dropdownList(); dropdown != nullptr;
         dropdown = dropdown->next) {
        dropdown->open(this, chorusFrame);
    }
    for (Pad* pad = context.padList(); pad != nullptr; pad = pad->next) {
        pad->controlView = new ControlView(pad);
        chorusFrame->addView(pad->controlView);
        pad->display->displayView = new OstrelEditView(pad->display.get());
        chorusFrame->addView(pad->display->displayView);
    }
}

// A drag in progress is not ended here: the next idle after the window opens again polls
// the button and ends it or carries it on.
void QuilloryChorusVstEditor::close() {
    if (chorusFrame != nullptr) {
        CFrame* closing = chorusFrame;
        chorusFrame = nullptr;
        frame = nullptr;
        closing->forget(); // the frame goes with its window and views
    }
    for (Dropdown* dropdown = context.dropdownList(); dropdown != nullptr;
         dropdown = dropdown->next) {
        dropdown->view = nullptr;
    }
    for (Pad* pad = context.padList(); pad != nullptr; pad = pad->next) {
        pad->display->displayView = nullptr;
        pad->controlView = nullptr;
    }
    systemWindow = nullptr;
}

void QuilloryChorusVstEditor::idle() {
    // Nothing while a popup menu runs its own loop or when a host idles us from inside idle.
    if (inIdle || chorusFrame == nullptr || chorusFrame->isPopupOpen()) {
        return;
    }
    inIdle = true;
    applyRefreshMarks();
    AEffGUIEditor::idle();
    pollDrag();
    inIdle = false;
}

void QuilloryChorusVstEditor::applyRefreshMarks() {
    for (Pad* pad = context.padList(); pad != nullptr; pad = pad->next) {
        if (pad->takeRedrawMark()) {
            pad->markViewDirty();
        }
    }
    for (Dropdown* dropdown = context.dropdownList(); dropdown != nullptr;
         dropdown = dropdown->next) {
        const int32_t choice = dropdown->takePendingChoice();
        if (choice != Dropdown::kNoChoice && dropdown->view != nullptr) {
            dropdown->view->setValue(static_cast<float>(choice));
        }
    }
}

// The drag is polled rather than tracked: the left button and the cursor, turned into frame
// coordinates, go to the dragged pad once per idle.
void QuilloryChorusVstEditor::pollDrag() {
    PadDisplay* dragged = context.activeDrag();
    if (dragged == nullptr || chorusFrame == nullptr) {
        return;
    }
    const gui::Window* window = chorusFrame->getPlatformWindow();
    if (window == nullptr) {
        return;
    }
    const int32_t button = window->mouseButtons() & kMouseLeft;
    const CPoint origin = window->screenOrigin();
    const CPoint cursor = window->cursorPosition();
    dragged->updateDrag(button, CPoint(cursor.x - origin.x, cursor.y - origin.y));
}

Dropdown* QuilloryChorusVstEditor::findDropdown(int32_t tag) {
    for (Dropdown* dropdown = context.dropdownList(); dropdown != nullptr;
         dropdown = dropdown->next) {
        if (dropdown->tag == tag) {
            return dropdown;
        }
    }
    return nullptr;
}

int32_t QuilloryChorusVstEditor::parameterIndexFor(int32_t tag) {
    if ((tag & kDropdownTagMask) != kDropdownTagBase) {
        return tag;
    }
    const Dropdown* dropdown = findDropdown(tag);
    return dropdown != nullptr && dropdown->parameter != nullptr ? dropdown->parameter->index : -1;
}

void QuilloryChorusVstEditor::beginEdit(int32_t index) {
    const int32_t parameterIndex = parameterIndexFor(index);
    if (parameterIndex >= 0) {
        AEffGUIEditor::beginEdit(parameterIndex);
    }
}

void QuilloryChorusVstEditor::endEdit(int32_t index) {
    const int32_t parameterIndex = parameterIndexFor(index);
    if (parameterIndex >= 0) {
        AEffGUIEditor::endEdit(parameterIndex);
    }
}

void QuilloryChorusVstEditor::valueChanged(CDrawContext*, CControl* control) {
    if (control == nullptr) {
        return;
    }
    const int32_t tag = control->getTag();
    if ((tag & kDropdownTagMask) != kDropdownTagBase) {
        return;
    }
    Dropdown* dropdown = findDropdown(tag);
    if (dropdown == nullptr) {
        return;
    }
    const float value = control->getValue();
    if (!(value > -1.0f && value < 65536.0f)) {
        return; // no choice any dropdown could hold
    }
    const auto choice = static_cast<int32_t>(value);
    if (dropdown->parameter == nullptr) {
        dropdown->onChoice(choice);
        return;
    }
    // The parameter reports the choice to the host, whose echo through setParameter must not
    // reach the parameter again.
    ParameterX* parameter = dropdown->parameter;
    parameter->hostEnabled.store(false);
    parameter->setChoiceFromEditor(choice);
    parameter->hostEnabled.store(true);
}

} // namespace quillory
