#pragma once
// The text the editor writes over the controls, placed as the editor places it: a pad's
// display text centred below its strip in 11 px (the Mix pad's split at its blank into the
// dry share at the left and the wet share at the right), a dropdown's text centred on its bar
// in 12 px, each line vertically centred in its rectangle. The preview draws with it, and the
// skin tests check that the text areas of the layout cover what it draws.

#include "tools/skin/SkinLayout.h"

#include <cairo.h>

#include <string>

namespace quillory::skin {

// Draws in window coordinates, in the control's text colour.
void drawPadText(cairo_t* context, Control pad, const std::string& displayText);
void drawBarText(cairo_t* context, Control bar, const std::string& text);

} // namespace quillory::skin
