#pragma once
// A fixed scene of lines, outlines, fills, clipped bitmap copies and text, drawn through the
// toolkit's draw context. Every back end must give the same pixels for it outside the text
// areas; its only dependency is the portable toolkit, so the Windows test programs draw it
// too.

#include "gui/CDrawContext.h"
#include "gui/platform/PixelImage.h"

#include <array>
#include <cstdint>

namespace quillory::test {

inline constexpr int32_t kSceneWidth = 120;
inline constexpr int32_t kSceneHeight = 90;

// Where the scene writes text; glyphs there may differ between font engines.
inline constexpr std::array<CRect, 2> kSceneTextAreas{{
    CRect(4, 60, 116, 74),
    CRect(4, 74, 116, 88),
}};

// The bitmap the scene copies from: 16 x 12 pixels, every pixel a different colour.
gui::PixelImage sceneBitmapPixels();

// Draws the scene at the context's (0, 0), with its own bitmap made by the installed back end.
void drawReferenceScene(CDrawContext& context);

// Pixels that differ between `a` and `b` outside the text areas (the images' common part).
int32_t sceneDifferences(const gui::PixelImage& a, const gui::PixelImage& b);

} // namespace quillory::test
