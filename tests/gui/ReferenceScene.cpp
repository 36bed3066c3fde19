#include "ReferenceScene.h"

#include "gui/CBitmap.h"

#include <algorithm>

namespace quillory::test {

gui::PixelImage sceneBitmapPixels() {
    gui::PixelImage image(16, 12);
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            image.at(x, y) = static_cast<uint32_t>((x * 15) << 16 | (y * 20) << 8 | (x + y) * 7);
        }
    }
    return image;
}

void drawReferenceScene(CDrawContext& context) {
    context.setClipRect(CRect(0, 0, kSceneWidth, kSceneHeight));
    context.setFillColor(CColor{20, 30, 40, 255});
    context.fillRect(CRect(-1, -1, kSceneWidth, kSceneHeight)); // the whole scene

    // Outlines and fills, nested and overlapping.
    context.setFrameColor(kWhiteCColor);
    context.drawRect(CRect(2, 2, 30, 20));
    context.setFillColor(kRedCColor);
    context.fillRect(CRect(2, 2, 30, 20));
    context.setFillColor(kBlueCColor);
    context.fillRect(CRect(20, 10, 40, 28));

    // Horizontal, vertical and diagonal lines in every direction.
    context.setFrameColor(kYellowCColor);
    context.moveTo(CPoint(44, 4));
    context.lineTo(CPoint(70, 4));
    context.lineTo(CPoint(70, 24));
    context.lineTo(CPoint(44, 24));
    context.lineTo(CPoint(44, 5));
    context.setFrameColor(kGreenCColor);
    context.moveTo(CPoint(74, 2));
    context.lineTo(CPoint(94, 22));
    context.moveTo(CPoint(116, 2));
    context.lineTo(CPoint(96, 22));

    // Bitmap copies: whole, from an offset, and cut by a clip rectangle.
    CBitmap bitmap(sceneBitmapPixels());
    bitmap.draw(&context, CRect(4, 32, 20, 44));
    bitmap.draw(&context, CRect(24, 32, 36, 42), CPoint(4, 2));
    context.setClipRect(CRect(44, 34, 54, 40));
    bitmap.draw(&context, CRect(40, 30, 56, 42));
    context.fillRect(CRect(48, 30, 60, 50)); // clipped as well
    context.setClipRect(CRect(0, 0, kSceneWidth, kSceneHeight));

    // Text, left-aligned and right-aligned.
    context.setFont(0, 0, kFaceNormal);
    context.setFontColor(kWhiteCColor);
    context.drawString("Rate 0.50 Hz", kSceneTextAreas[0], false, kLeftText);
    context.setFontColor(kCyanCColor);
    context.drawString("Wave = Sine", kSceneTextAreas[1], false, kRightText);
}

int32_t sceneDifferences(const gui::PixelImage& a, const gui::PixelImage& b) {
    int32_t differences = 0;
    for (int32_t y = 0; y < std::min(a.height, b.height); ++y) {
        for (int32_t x = 0; x < std::min(a.width, b.width); ++x) {
            const bool inText =
                std::any_of(kSceneTextAreas.begin(), kSceneTextAreas.end(),
                            [&](const CRect& area) { return area.pointInside(CPoint(x, y)); });
            differences += !inText && a.at(x, y) != b.at(x, y) ? 1 : 0;
        }
    }
    return differences;
}

} // namespace quillory::test
