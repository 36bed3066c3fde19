#include "editor/QuilloryChorusVstEditor.h"

namespace quillory {

QuilloryChorusVstEditor::QuilloryChorusVstEditor(AudioEffect* owner,
                                                 ChorusEditorContext& effectContext)
    : AEffGUIEditor(owner), context(effectContext) {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = kHeight;
    rect.right = kWidth;
}

} // namespace quillory
