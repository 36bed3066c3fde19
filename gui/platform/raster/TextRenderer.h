#pragma once
// Text for the software rasteriser: a back end that rasterises lines, fills and copies itself
// hands text to the platform's font engine through this interface.

#include "gui/CRect.h"
#include "gui/platform/Surface.h"

namespace quillory::gui {
struct PixelImage;
}

namespace quillory::gui::raster {

class TextRenderer {
public:
    virtual ~TextRenderer() = default;
    // Draws `text` into `image` as Surface::drawText describes; nothing outside `clip`, which
    // lies within the image.
    virtual void drawText(PixelImage& image, const CRect& clip, const char* text, const CRect& box,
                          const TextStyle& style) = 0;
};

} // namespace quillory::gui::raster
