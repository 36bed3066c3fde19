#pragma once
// Text through cairo and fontconfig into a pixel image: "Arial" resolves to a
// metric-compatible family (Liberation Sans from fonts-liberation2), with antialiasing and
// hinting set explicitly so that the same text gives the same glyphs on every machine.

#include "gui/platform/raster/TextRenderer.h"

namespace quillory::gui::cairo {

class CairoTextRenderer final : public raster::TextRenderer {
public:
    void drawText(PixelImage& image, const CRect& clip, const char* text, const CRect& box,
                  const TextStyle& style) override;
};

// Releases the font caches that cairo and fontconfig keep for the whole process, so that a
// leak checker sees none of them at exit. Only when no text is drawn any more.
void releaseFontCaches();

// The width in pixels that `text` takes in `font` (its advance, rounded).
int32_t textWidth(const char* text, const FontDescription& font);

} // namespace quillory::gui::cairo
