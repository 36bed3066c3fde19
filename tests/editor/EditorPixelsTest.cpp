// What the value graphs look like on screen, column by column: the wedge of the Depth pad
// and the marker of the Mix pad at both ends and the middle of their range.

#include "EditorHarness.h"

#include <ostream>

namespace quillory::test {
namespace {

// A stretch of one screen column in one colour, rows inclusive.
struct ColourRun {
    CColor colour;
    int32_t first;
    int32_t last;
    friend bool operator==(const ColourRun&, const ColourRun&) = default;
};

void PrintTo(const ColourRun& run, std::ostream* out) {
    *out << "(" << int{run.colour.red} << "," << int{run.colour.green} << ","
         << int{run.colour.blue} << ") rows " << run.first << "-" << run.last;
}

constexpr CColor kGrey = kGraphBackground;

// Gradient colour of column `i` of a graph `width` columns wide.
CColor gradient(int32_t i, int32_t width) {
    return CColor{static_cast<uint8_t>(255 * i / width), 0,
                  static_cast<uint8_t>(255 * (width - i) / width), 255};
}

class ValueGraph : public EditorHarness {
protected:
    // The colour runs of screen column `x` from row `top` to row `bottom`.
    std::vector<ColourRun> column(int32_t x, int32_t top, int32_t bottom) {
        std::vector<ColourRun> runs;
        for (int32_t y = top; y <= bottom; ++y) {
            const CColor colour = screen().colorAt(x, y);
            if (!runs.empty() && runs.back().colour == colour) {
                runs.back().last = y;
            } else {
                runs.push_back({colour, y, y});
            }
        }
        return runs;
    }
    void showValue(int32_t index, float value) {
        effect->setParameter(index, value);
        if (backend.windows().empty()) {
            ASSERT_TRUE(open());
        }
        idle();
    }
    // Depth strip: columns x 74 ... 133, rows 92 ... 115; Mix strip: x 63 ... 229, rows
    // 329 ... 351.
    std::vector<ColourRun> depth(int32_t x) { return column(x, 92, 115); }
    std::vector<ColourRun> mix(int32_t x) { return column(x, 329, 351); }
    std::vector<ColourRun> groundDepth() { return {{kGrey, 92, 115}}; }
    std::vector<ColourRun> groundMix() { return {{kGrey, 329, 351}}; }
};

TEST_F(ValueGraph, DepthWedgeGrowsFromThinBlueToFullRed) {
    showValue(kParamDepth, 0.0f);
    const std::vector<ColourRun> thinEnd{
        {kGrey, 92, 101}, {kBlueCColor, 102, 104}, {kGrey, 105, 115}};
    EXPECT_EQ(depth(74), thinEnd);
    for (int32_t x = 75; x <= 133; ++x) {
        ASSERT_EQ(depth(x), groundDepth()) << "x " << x;
    }

    showValue(kParamDepth, 0.5f);
    EXPECT_EQ(depth(74), thinEnd);
    const std::vector<ColourRun> middle{
        {kGrey, 92, 96}, {gradient(30, 60), 97, 109}, {kGrey, 110, 115}};
    EXPECT_EQ(depth(104), middle);
    EXPECT_EQ(depth(105), groundDepth());

    showValue(kParamDepth, 1.0f);
    const std::vector<ColourRun> fullEnd{{CColor{250, 0, 4, 255}, 92, 114}, {kGrey, 115, 115}};
    EXPECT_EQ(depth(133), fullEnd);
    for (int32_t x = 74; x <= 133; ++x) {
        ASSERT_NE(depth(x), groundDepth()) << "x " << x;
    }
}

TEST_F(ValueGraph, MixMarkerStaysInsideTheStripAtBothEnds) {
    showValue(kParamMix, 0.0f);
    EXPECT_EQ(mix(63), groundMix()); // the marker's first column has no coloured row
    EXPECT_EQ(mix(69), (std::vector<ColourRun>{{gradient(6, 167), 329, 350}, {kGrey, 351, 351}}));
    EXPECT_NE(mix(74), groundMix());
    EXPECT_EQ(mix(75), groundMix());

    showValue(kParamMix, 1.0f);
    EXPECT_EQ(mix(218), groundMix());
    EXPECT_NE(mix(219), groundMix());
    EXPECT_EQ(mix(224),
              (std::vector<ColourRun>{{gradient(161, 167), 329, 350}, {kGrey, 351, 351}}));
    EXPECT_NE(mix(229), groundMix());
}

TEST_F(ValueGraph, MixMarkerAtTheMiddleIsADiamondBetweenItsTexts) {
    backend.texts().clear();
    showValue(kParamMix, 0.5f);
    EXPECT_EQ(mix(140), groundMix());
    EXPECT_EQ(mix(141), (std::vector<ColourRun>{
                            {kGrey, 329, 338}, {gradient(78, 167), 339, 340}, {kGrey, 341, 351}}));
    for (const int32_t x : {146, 147}) {
        EXPECT_EQ(mix(x),
                  (std::vector<ColourRun>{{gradient(x - 63, 167), 329, 350}, {kGrey, 351, 351}}));
    }
    EXPECT_NE(mix(152), groundMix());
    EXPECT_EQ(mix(153), groundMix());

    // The dry share one pixel in from the text area's left edge, the wet share at its right.
    bool left = false;
    bool right = false;
    for (const auto& text : backend.texts()) {
        if (text.text != "50.0%") {
            continue;
        }
        EXPECT_EQ(text.color, kBlackCColor);
        EXPECT_EQ(text.height, 11);
        left = left || (text.align == kLeftText && text.box.left == 68);
        right = right || (text.align == kRightText && text.box.right == 227);
    }
    EXPECT_TRUE(left && right);
}

} // namespace
} // namespace quillory::test
