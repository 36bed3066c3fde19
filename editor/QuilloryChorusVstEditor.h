#pragma once
// The plug-in's editor. It registers itself with the effect when created and tells the host
// the size of its window.

#include "shell/AEffEditor.h"

namespace quillory {

class QuilloryChorusVst;

class QuilloryChorusVstEditor : public AEffGUIEditor {
public:
    // The skin's size in pixels.
    static constexpr int16_t kWidth = 242;
    static constexpr int16_t kHeight = 410;

    explicit QuilloryChorusVstEditor(QuilloryChorusVst* owner);
};

} // namespace quillory
