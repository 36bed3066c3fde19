// Pixel rules that every back end keeps, run against each back end through its harness.

#include "PixelRulesTest.h"
#include "BackendHarness.h"
#include "ReferenceScene.h"

#include "gui/CBitmap.h"
#include "gui/COffscreenContext.h"

#include <cmath>
#include <functional>
#include <set>
#include <utility>

namespace quillory::test {
namespace {

using Pixels = std::set<std::pair<int32_t, int32_t>>;

Pixels pixelsOf(const gui::PixelImage& image, CColor color) {
    Pixels found;
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            if (image.at(x, y) == gui::packPixel(color)) {
                found.insert({x, y});
            }
        }
    }
    return found;
}

// Draws on a black offscreen context of `width` by `height` and reads the result back.
gui::PixelImage render(int32_t width, int32_t height,
                       const std::function<void(CDrawContext&)>& draw) {
    auto* context = new COffscreenContext(nullptr, width, height, kBlackCColor);
    gui::PixelImage out;
    if (context->hasSurface()) {
        draw(*context);
        context->getSurface()->readPixels(out);
    }
    context->forget();
    return out;
}

// A 2 x 2 bitmap whose diagonal is the transparent colour.
gui::PixelImage checkerPixels() {
    gui::PixelImage image(2, 2);
    image.at(0, 0) = image.at(1, 1) = gui::packPixel(kMagentaCColor);
    image.at(1, 0) = image.at(0, 1) = gui::packPixel(kWhiteCColor);
    return image;
}

} // namespace

void PixelRules::SetUp() {
    gui::setBackend(&GetParam()->backend());
}

void PixelRules::TearDown() {
    gui::setBackend(nullptr);
}

TEST_P(PixelRules, LinesLeaveOutTheirEndPointInEveryDirection) {
    const gui::PixelImage image = render(20, 20, [](CDrawContext& context) {
        context.setFrameColor(kWhiteCColor);
        context.moveTo(CPoint(2, 3));
        context.lineTo(CPoint(8, 3)); // to the right
        context.moveTo(CPoint(8, 5));
        context.lineTo(CPoint(2, 5)); // to the left
        context.moveTo(CPoint(12, 2));
        context.lineTo(CPoint(12, 8)); // down
        context.moveTo(CPoint(14, 8));
        context.lineTo(CPoint(14, 2)); // up
        context.moveTo(CPoint(17, 17));
        context.lineTo(CPoint(17, 17)); // no length: nothing
    });
    Pixels expected;
    for (int32_t step = 0; step < 6; ++step) {
        expected.insert({2 + step, 3});
        expected.insert({8 - step, 5});
        expected.insert({12, 2 + step});
        expected.insert({14, 8 - step});
    }
    EXPECT_EQ(pixelsOf(image, kWhiteCColor), expected);
}

TEST_P(PixelRules, DiagonalLinesTakeOnePixelPerStepAlongTheIdealLine) {
    const std::pair<CPoint, CPoint> lines[] = {
        {CPoint(1, 1), CPoint(15, 6)},   {CPoint(15, 12), CPoint(2, 18)},
        {CPoint(18, 1), CPoint(12, 19)}, {CPoint(3, 10), CPoint(10, 3)},
        {CPoint(2, 2), CPoint(9, 9)},
    };
    for (const auto& [from, to] : lines) {
        SCOPED_TRACE(::testing::Message() << "line (" << from.x << ", " << from.y << ") to ("
                                          << to.x << ", " << to.y << ")");
        const Pixels lit = pixelsOf(render(20, 20,
                                           [&](CDrawContext& context) {
                                               context.setFrameColor(kWhiteCColor);
                                               context.moveTo(from);
                                               context.lineTo(to);
                                           }),
                                    kWhiteCColor);
        const int32_t dx = to.x - from.x;
        const int32_t dy = to.y - from.y;
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        EXPECT_EQ(lit.size(), static_cast<size_t>(std::max(std::abs(dx), std::abs(dy))));
        EXPECT_TRUE(lit.count({from.x, from.y}));
        EXPECT_FALSE(lit.count({to.x, to.y}));
        std::set<int32_t> majors;
        for (const auto& [x, y] : lit) {
            majors.insert(xMajor ? x : y);
            // Distance across the line from the ideal line through the two points.
            const double along = xMajor ? double(x - from.x) / dx : double(y - from.y) / dy;
            const double ideal = xMajor ? from.y + along * dy : from.x + along * dx;
            EXPECT_LE(std::abs((xMajor ? y : x) - ideal), 1.0) << "pixel " << x << ", " << y;
        }
        EXPECT_EQ(majors.size(), lit.size()) << "two pixels on one step";
    }
}

TEST_P(PixelRules, OutlineCoversTheBorderAndFillLeavesTopRowAndLeftColumn) {
    const gui::PixelImage image = render(20, 10, [](CDrawContext& context) {
        context.setFrameColor(kWhiteCColor);
        context.drawRect(CRect(2, 2, 9, 8));
        context.setFillColor(kRedCColor);
        context.fillRect(CRect(11, 2, 18, 8));
    });
    Pixels border;
    Pixels filled;
    for (int32_t y = 2; y < 8; ++y) {
        for (int32_t x = 2; x < 9; ++x) {
            if (x == 2 || x == 8 || y == 2 || y == 7) {
                border.insert({x, y});
            }
            if (x + 9 >= 12 && y >= 3) {
                filled.insert({x + 9, y});
            }
        }
    }
    EXPECT_EQ(pixelsOf(image, kWhiteCColor), border);
    EXPECT_EQ(pixelsOf(image, kRedCColor), filled);
}

TEST_P(PixelRules, ClipAndDrawingOffsetHoldForFillsLinesBitmapsAndText) {
    CBitmap bitmap(sceneBitmapPixels());
    const gui::PixelImage image = render(30, 30, [&](CDrawContext& context) {
        context.offset = CPoint(2, 1);
        context.setClipRect(CRect(8, 8, 20, 18)); // (10, 9, 22, 19) on the surface
        context.setFontColor(kWhiteCColor);
        context.drawString("MMMMMMMM", CRect(0, 0, 30, 30));
        context.setFillColor(kRedCColor);
        context.fillRect(CRect(-10, -10, 40, 40));
        context.setFrameColor(kWhiteCColor);
        context.moveTo(CPoint(-5, 10));
        context.lineTo(CPoint(40, 10));
        bitmap.draw(&context, CRect(0, 0, 16, 12));
    });
    const CRect clip(10, 9, 22, 19);
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 30; ++x) {
            if (!clip.pointInside(CPoint(x, y))) {
                ASSERT_EQ(image.at(x, y), 0u) << "pixel " << x << ", " << y << " outside the clip";
            }
        }
    }
    EXPECT_EQ(image.at(10, 9), sceneBitmapPixels().at(8, 8)); // the bitmap moved by the offset
    EXPECT_EQ(image.colorAt(21, 11), kWhiteCColor);           // the line beyond the bitmap
    EXPECT_EQ(image.colorAt(21, 18), kRedCColor);             // the fill's last clipped pixel
}

TEST_P(PixelRules, BitmapCopiesStartAtTheirOffsetStopAtTheEdgeAndSkipTheTransparentColour) {
    CBitmap bitmap(sceneBitmapPixels()); // 16 x 12
    CBitmap checker(checkerPixels());
    checker.setTransparentColor(kMagentaCColor);
    const gui::PixelImage image = render(40, 20, [&](CDrawContext& context) {
        bitmap.draw(&context, CRect(2, 2, 10, 8), CPoint(3, 4));
        bitmap.draw(&context, CRect(12, 2, 30, 18), CPoint(10, 6));
        context.setFillColor(kRedCColor);
        context.fillRect(CRect(31, 1, 34, 4));
        checker.drawTransparent(&context, CRect(32, 2, 34, 4));
    });
    const gui::PixelImage source = sceneBitmapPixels();
    EXPECT_EQ(image.at(2, 2), source.at(3, 4));
    EXPECT_EQ(image.at(9, 7), source.at(10, 9));
    EXPECT_EQ(image.at(10, 8), 0u); // just outside the destination
    // Source column 16 and row 12 do not exist: the destination beyond them is untouched.
    EXPECT_EQ(image.at(17, 7), source.at(15, 11));
    EXPECT_TRUE(allPixelsAre(image, CRect(18, 2, 30, 18), 0u));
    EXPECT_TRUE(allPixelsAre(image, CRect(12, 8, 30, 18), 0u));
    EXPECT_EQ(image.colorAt(32, 2), kRedCColor);
    EXPECT_EQ(image.colorAt(33, 2), kWhiteCColor);
    EXPECT_EQ(image.colorAt(33, 3), kRedCColor);
}

TEST_P(PixelRules, TextIsCentredVerticallyAndAlignedInItsRectangle) {
    const CRect box(10, 2, 110, 22);
    const auto litColumnsAndRows = [&](CHoriTxtAlign align, bool opaque) {
        const gui::PixelImage image = render(120, 24, [&](CDrawContext& context) {
            context.setFont(3);
            context.setFontColor(kWhiteCColor);
            context.setFillColor(kBlueCColor);
            context.drawString("Wave = Sine", box, opaque, align);
            context.drawString(nullptr, CRect(0, 0, 120, 24));
        });
        CRect lit(1000, 1000, -1, -1);
        for (int32_t y = 0; y < image.height; ++y) {
            for (int32_t x = 0; x < image.width; ++x) {
                if (image.at(x, y) != 0u) {
                    lit = CRect(std::min(lit.left, x), std::min(lit.top, y),
                                std::max(lit.right, x + 1), std::max(lit.bottom, y + 1));
                }
            }
        }
        return lit;
    };
    const CRect left = litColumnsAndRows(kLeftText, false);
    const CRect right = litColumnsAndRows(kRightText, false);
    const CRect centre = litColumnsAndRows(kCenterText, false);
    EXPECT_GE(left.left, box.left + 1); // left text starts one pixel in
    EXPECT_LE(left.left, box.left + 3);
    EXPECT_LE(right.right, box.right);
    EXPECT_GE(right.right, box.right - 3);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, (box.left + box.right) / 2.0, 3.0);
    EXPECT_NEAR((centre.top + centre.bottom) / 2.0, (box.top + box.bottom) / 2.0, 2.5);
    EXPECT_TRUE(box.contains(centre));
    // An opaque text fills its cell, which stays within the rectangle's rows.
    const CRect cell = litColumnsAndRows(kCenterText, true);
    EXPECT_LT(cell.left, centre.left + 1);
    EXPECT_TRUE(box.contains(cell));
}

TEST_P(PixelRules, FrameWindowShowsTheReferenceSceneAsAnOffscreenDrawsIt) {
    class SceneView : public CView {
    public:
        SceneView() : CView(CRect(0, 0, kSceneWidth, kSceneHeight)) {}
        void draw(CDrawContext* context) override {
            drawReferenceScene(*context);
            setDirty(false);
        }
    };
    void* parentWindow = GetParam()->makeParentWindow(kSceneWidth, kSceneHeight);
    ASSERT_NE(parentWindow, nullptr);
    auto* frame = new CFrame(CRect(0, 0, kSceneWidth, kSceneHeight), parentWindow, nullptr);
    ASSERT_TRUE(frame->isOpen());
    frame->addView(new SceneView); // the frame owns it from here on
    GetParam()->showAndPaint(*frame);

    gui::PixelImage shown;
    ASSERT_TRUE(GetParam()->readWindow(*frame, shown));
    frame->forget();
    const gui::PixelImage drawn = render(
        kSceneWidth, kSceneHeight, [](CDrawContext& context) { drawReferenceScene(context); });
    EXPECT_EQ(sceneDifferences(shown, drawn), 0);
}

} // namespace quillory::test
