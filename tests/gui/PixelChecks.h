#pragma once
// Small checks on pixel images shared by the toolkit's tests.

#include "gui/CRect.h"
#include "gui/platform/PixelImage.h"

namespace quillory::test {

// True when every pixel of `area` is `value`.
inline bool allPixelsAre(const gui::PixelImage& image, const CRect& area, uint32_t value) {
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            if (image.at(x, y) != value) {
                return false;
            }
        }
    }
    return true;
}

} // namespace quillory::test
