#pragma once
// How a pane of a popup menu looks: a light grey panel with a grey outline, black 12-pixel
// "Arial" text, the highlighted item in white on blue, greyed items in grey, a check mark left
// of checked items, an arrow right of sub-menu items, a line for separators and between
// columns. Drawn with the portable rasteriser into the pane's own image.

#include "gui/platform/PixelImage.h"
#include "gui/platform/Surface.h"
#include "gui/platform/x11/PopupNavigator.h"

namespace quillory::gui {
class Backend;
}
namespace quillory::gui::raster {
class TextRenderer;
}

namespace quillory::gui::x11 {

inline constexpr CColor kPopupBackground{240, 240, 240, 255};
inline constexpr CColor kPopupOutline{151, 151, 151, 255};
inline constexpr CColor kPopupHighlight{51, 153, 255, 255};

// The font of the items; text widths for the layout are measured in it.
FontDescription popupFont();

// Draws `pane` into `image`, which is the pane's size.
void paintPopupPane(PixelImage& image, const PopupPane& pane, const Backend& owner,
                    raster::TextRenderer& text);

} // namespace quillory::gui::x11
