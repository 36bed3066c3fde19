#pragma once
// Text of the headless back end: drawn through cairo like the X11 editor's, and recorded, so
// that tests can ask what was written where without reading glyphs.

#include "gui/platform/cairo/CairoTextRenderer.h"

#include <string>
#include <vector>

namespace quillory::gui::headless {

struct TextRecord {
    std::string text;
    CRect box;  // the rectangle the text was aligned in, in surface pixels
    CRect clip; // the clip it was drawn under
    CColor color;
    std::string face;
    int32_t height = 0;
    int32_t fontStyle = 0;
    CHoriTxtAlign align = kCenterText;
    bool opaque = false;
};

class RecordingTextRenderer final : public raster::TextRenderer {
public:
    void drawText(PixelImage& image, const CRect& clip, const char* text, const CRect& box,
                  const TextStyle& style) override;

    std::vector<TextRecord> records;
    bool recording = true; // off for benchmarks, which would otherwise grow the list forever

private:
    cairo::CairoTextRenderer glyphs;
};

} // namespace quillory::gui::headless
