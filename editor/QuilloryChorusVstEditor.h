#pragma once
// The plug-in's editor. It registers itself with the effect when created and tells the host
// the size of its window; it reaches the effect's parameters through `context`.

#include "editor/ChorusEditorContext.h"
#include "shell/AEffEditor.h"

namespace quillory {

class QuilloryChorusVstEditor : public AEffGUIEditor {
public:
    // The skin's size in pixels.
    static constexpr int16_t kWidth = 242;
    static constexpr int16_t kHeight = 410;

    QuilloryChorusVstEditor(AudioEffect* owner, ChorusEditorContext& context);

private:
    ChorusEditorContext& context;
};

} // namespace quillory
