#include "editor/QuilloryChorusVstEditor.h"

#include "plugin/QuilloryChorusVst.h"

namespace quillory {

QuilloryChorusVstEditor::QuilloryChorusVstEditor(QuilloryChorusVst* owner) : AEffGUIEditor(owner) {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = kHeight;
    rect.right = kWidth;
}

} // namespace quillory
