#pragma once
// The plug-in's editor: a fixed skin with three pads (Depth, Speed, Mix) and two dropdowns
// (taps, waveform). It registers itself with the effect when created and tells the host the
// size of its window. The view tree exists only while the window is open; the control
// models it shows belong to the effect and are reached through `context`.
//
// Values reach the views one way only: a parameter set from outside the editor calls its
// refreshControl, which leaves a mark in the pad or dropdown model (from any thread); the
// editor applies the marks to the views on the user-interface thread when it opens and at
// the start of every idle, and the frame then redraws what became dirty.

#include "editor/ChorusEditorContext.h"
#include "gui/CControlListener.h"
#include "shell/AEffEditor.h"

namespace quillory {

class CBitmap;
class CFrame;

class QuilloryChorusVstEditor final : public AEffGUIEditor, public CControlListener {
public:
    // The skin's size in pixels, used when its background bitmap cannot be loaded.
    static constexpr int16_t kWidth = 242;
    static constexpr int16_t kHeight = 410;
    static constexpr int32_t kBackgroundBitmap = 102;

    QuilloryChorusVstEditor(AudioEffect* owner, ChorusEditorContext& context);
    ~QuilloryChorusVstEditor() override;

    // Builds the view tree in a child window of `parentWindow`. False when that window
    // cannot be made (no window system, a parent that is not a live window): nothing is
    // left open then.
    bool open(void* parentWindow) override;
    void close() override;
    // Applies the marks of values changed from outside, redraws what is dirty and steps a
    // pad drag in progress.
    void idle() override;
    // Dropdown tags are turned into the index of the dropdown's parameter.
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;

    // A choice picked in a dropdown's popup.
    void valueChanged(CDrawContext* context, CControl* control) override;

    CFrame* getFrame() const { return chorusFrame; }

private:
    void buildViews();
    void applyRefreshMarks();
    void pollDrag();
    // The parameter index a control tag stands for: a dropdown's parameter for a dropdown
    // tag, the tag itself otherwise; -1 for a dropdown tag that matches no dropdown.
    int32_t parameterIndexFor(int32_t tag);
    Dropdown* findDropdown(int32_t tag);

    ChorusEditorContext& context;
    CBitmap* backgroundBitmap;
    CFrame* chorusFrame = nullptr; // the base's `frame`, as the toolkit's frame
    bool inIdle = false;
};

} // namespace quillory
