// The five parameters as a host sees them: names, values, display texts, quantisation,
// clamping and glides.

#include "shell/Opcodes.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace quillory::testing {
namespace {

class PluginParameters : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(host.open(), nullptr); }

    std::string text(int32_t opcode, int32_t index) {
        char buffer[64];
        std::memset(buffer, 'x', sizeof(buffer));
        host.dispatch(opcode, index, 0, buffer);
        return std::string(buffer, strnlen(buffer, sizeof(buffer)));
    }
    std::string display(int32_t index) { return text(effGetParamDisplay, index); }
    float get(int32_t index) { return host.effect()->getParameter(host.effect(), index); }
    void set(int32_t index, float value) {
        host.effect()->setParameter(host.effect(), index, value);
    }

    // Processes `frames` frames of a constant 1 on both channels; answers the last output.
    float processConstant(size_t frames) {
        std::vector<float> left(frames, 1.0f);
        std::vector<float> right(frames, 1.0f);
        host.processStereo(left, right, lastLeft, lastRight);
        return lastLeft.back();
    }

    TestHost host;
    std::vector<float> lastLeft;
    std::vector<float> lastRight;
};

TEST_F(PluginParameters, StartOnTheFirstProgram) {
    const float values[] = {0.357036f, 0.478872f, 0.0f, 1.0f, 0.430669f};
    const char* displays[] = {"2.1ms", "0.55Hz", "2", "Wander", "56.9% 43.1%"};
    const char* names[] = {"Chrs Dpth", "Chrs Spd", "Chrs Taps", "Chrs Waveform", "Pan/chr Mix"};
    for (int32_t index = 0; index < 5; ++index) {
        EXPECT_EQ(get(index), values[index]) << index;
        EXPECT_EQ(display(index), displays[index]) << index;
        EXPECT_EQ(text(effGetParamName, index), names[index]) << index;
        EXPECT_EQ(text(effGetParamLabel, index), "") << index;
    }
}

TEST_F(PluginParameters, IndicesOutsideTheFiveAreEmptyAndInert) {
    for (int32_t index : {5, -1, 1000}) {
        EXPECT_EQ(get(index), 0.0f);
        EXPECT_EQ(display(index), "");
        EXPECT_EQ(text(effGetParamName, index), "");
        set(index, 0.7f);
    }
    EXPECT_EQ(get(0), 0.357036f);
}

TEST_F(PluginParameters, ContinuousTextsFollowTheirScales) {
    struct Row {
        int32_t index;
        float value;
        const char* text;
    };
    const Row rows[] = {
        {0, 0.0f, "0.1ms"},       {0, 0.5f, "7.1ms"},       {0, 0.75f, "59ms"},
        {0, 1.0f, "500ms"},       {0, 0.54f, "9.9ms"},      {0, 0.55f, "11ms"},
        {1, 0.0f, "0.02Hz"},      {1, 0.5f, "0.63Hz"},      {1, 0.9f, "10.0Hz"},
        {1, 1.0f, "20.0Hz"},      {4, 0.0f, "100.0% 0.0%"}, {4, 0.25f, "75.0% 25.0%"},
        {4, 1.0f, "0.0% 100.0%"},
    };
    for (const Row& row : rows) {
        set(row.index, row.value);
        EXPECT_EQ(display(row.index), row.text) << row.index << " at " << row.value;
        EXPECT_EQ(get(row.index), row.value);
    }
}

TEST_F(PluginParameters, SteppedValuesAreQuantisedIntoEqualShares) {
    struct Row {
        int32_t index;
        float value;
        const char* text;
        float reported;
    };
    const Row rows[] = {
        {2, 0.0f, "2", 0.0f},      {2, 0.3344f, "2", 0.0f}, {2, 0.3345f, "3", 0.5f},
        {2, 0.5f, "3", 0.5f},      {2, 0.6688f, "3", 0.5f}, {2, 0.669f, "4", 1.0f},
        {2, 1.0f, "4", 1.0f},      {3, 0.5f, "Sine", 0.0f}, {3, 0.503f, "Wander", 1.0f},
        {3, 1.0f, "Wander", 1.0f}, {3, 0.0f, "Sine", 0.0f},
    };
    for (const Row& row : rows) {
        set(row.index, row.value);
        EXPECT_EQ(display(row.index), row.text) << row.index << " at " << row.value;
        EXPECT_EQ(get(row.index), row.reported) << row.index << " at " << row.value;
    }
}

TEST_F(PluginParameters, ValuesOutsideTheRangeAreClampedAndNonNumbersIgnored) {
    set(0, 7.5f);
    EXPECT_EQ(get(0), 1.0f);
    EXPECT_EQ(display(0), "500ms");
    set(4, -3.0f);
    EXPECT_EQ(display(4), "100.0% 0.0%");
    set(2, 12.0f);
    EXPECT_EQ(display(2), "4");
    set(1, std::nanf(""));
    set(1, INFINITY);
    EXPECT_EQ(get(1), 0.478872f);
    EXPECT_EQ(display(1), "0.55Hz");
}

// Two taps on a constant 1, once the lines are full, give an engine output of 1.5, so the
// output 1 + 0.5 × mix shows the mix the engine runs with.
TEST_F(PluginParameters, MixGlidesOverTwentyThousandFrames) {
    set(2, 0.0f);
    set(4, 0.0f);
    processConstant(30000);
    EXPECT_EQ(lastLeft.back(), 1.0f);

    set(4, 1.0f);
    EXPECT_EQ(get(4), 1.0f); // the host reads the new value at once
    processConstant(1000);
    const double mixAfter1000 = 2.0 * (lastLeft.back() - 1.0);
    EXPECT_NEAR(mixAfter1000, 1.0 - std::pow(0.999, 1000), 1e-5);
    EXPECT_NEAR(mixAfter1000, 0.632, 0.001);
    processConstant(19000);
    EXPECT_EQ(lastLeft.back(), 1.5f);
    EXPECT_LT(lastLeft[10000], 1.5f);
}

TEST_F(PluginParameters, SettingTheSameValueAgainStillLandsExactlyOnIt) {
    set(2, 0.0f);
    set(4, 0.25f);
    processConstant(30000);
    const float settled = lastLeft.back();
    set(4, 0.25f);
    processConstant(20000);
    for (float sample : lastLeft) {
        EXPECT_EQ(sample, settled);
    }
}

} // namespace
} // namespace quillory::testing
