#include "gui/platform/headless/HeadlessText.h"

namespace quillory::gui::headless {

void RecordingTextRenderer::drawText(PixelImage& image, const CRect& clip, const char* text,
                                     const CRect& box, const TextStyle& style) {
    if (recording) {
        records.push_back(TextRecord{
            text, box, clip, style.color, style.font.face != nullptr ? style.font.face : "",
            style.font.height, style.font.style, style.align, style.opaque});
    }
    glyphs.drawText(image, clip, text, box, style);
}

} // namespace quillory::gui::headless
