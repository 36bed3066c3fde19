#pragma once
// The skin's painters. Controls are painted onto the panel in window coordinates and each
// bitmap is cut out of the result, so that the corners around a control's rounded rim show
// exactly the panel beneath it.

#include "tools/skin/Canvas.h"
#include "tools/skin/SkinLayout.h"

namespace quillory::skin {

// The whole window without its controls: bitmap 102.
Surface renderPanel();

// One control, normal or glowing, in window coordinates.
void paintControl(cairo_t* context, Control control, bool active);

// A bitmap of the table: the panel for 102, otherwise its control cut out of the panel.
Surface renderBitmap(cairo_surface_t* panel, const SkinBitmap& bitmap);

} // namespace quillory::skin
