// Audio through the built plug-in, from the state it starts in: two Sine taps at phases 0
// and π with weights 0.67 and 0.33, 500 frames of depth around a 750-frame centre, a phase
// step of 0.00022 rad per frame, and an even dry/wet mix.

#include "shell/Opcodes.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace quillory::testing {
namespace {

constexpr double kPhaseStep = 0.00022;
constexpr double kDepth = 500.0;
constexpr double kCentre = 750.0;
constexpr double kTapWeights[2] = {0.67, 0.33};
constexpr double kTapPhases[2] = {0.0, 3.141592653589793};

// Share of an impulse written `age` frames before the current frame that a linearly
// interpolated read at `delay` frames picks up.
double hat(double age, double delay) {
    return std::max(0.0, 1.0 - std::fabs(age - delay));
}

std::vector<float> noise(size_t frames, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> samples(frames);
    for (float& sample : samples) {
        sample = uniform(generator);
    }
    return samples;
}

class PluginAudio : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(host.open(), nullptr); }
    TestHost host;
};

TEST_F(PluginAudio, ImpulseComesBackAtEachTapsSweptDelayAcrossTheStereoField) {
    const size_t frames = 1400;
    std::vector<float> left(frames, 0.0f);
    std::vector<float> right(frames, 0.0f);
    left[0] = 1.0f;
    std::vector<float> outLeft;
    std::vector<float> outRight;
    host.processStereo(left, right, outLeft, outRight);

    for (size_t n = 0; n < frames; ++n) {
        // Dry path: the input at full dry gain plus half of it inside the wet engine output.
        double expectedLeft = n == 0 ? 0.5 + 0.5 * 0.5 : 0.0;
        double expectedRight = 0.0;
        for (int k = 0; k < 2; ++k) {
            const double phase = kTapPhases[k] + static_cast<double>(n + 1) * kPhaseStep;
            const double delay = std::sin(phase) * kDepth + kCentre;
            const double picked = hat(static_cast<double>(n), delay);
            // Wet gain 0.5 times the engine's halving: a quarter of each tap reaches the output.
            expectedLeft += 0.25 * (1.0 - kTapWeights[k]) * picked;
            expectedRight += 0.25 * kTapWeights[k] * picked;
        }
        ASSERT_NEAR(outLeft[n], expectedLeft, 1e-6) << "frame " << n;
        ASSERT_NEAR(outRight[n], expectedRight, 1e-6) << "frame " << n;
    }
}

TEST_F(PluginAudio, OutputDoesNotDependOnTheBlockSize) {
    const size_t frames = 20000;
    std::vector<float> left = noise(frames, 1);
    std::vector<float> right = noise(frames, 2);
    std::vector<float> referenceLeft;
    std::vector<float> referenceRight;
    host.processStereo(left, right, referenceLeft, referenceRight, 4096);

    for (int32_t blockSize : {1, 7, 512}) {
        TestHost other;
        ASSERT_NE(other.open(), nullptr);
        std::vector<float> outLeft;
        std::vector<float> outRight;
        other.processStereo(left, right, outLeft, outRight, blockSize);
        EXPECT_EQ(outLeft, referenceLeft) << "block size " << blockSize;
        EXPECT_EQ(outRight, referenceRight) << "block size " << blockSize;
    }
}

TEST_F(PluginAudio, InPlaceProcessingMatchesSeparateBuffers) {
    const size_t frames = 5000;
    std::vector<float> left = noise(frames, 3);
    std::vector<float> right = noise(frames, 4);
    std::vector<float> separateLeft;
    std::vector<float> separateRight;
    host.processStereo(left, right, separateLeft, separateRight);

    TestHost other;
    AEffect* effect = other.open();
    float* channels[2] = {left.data(), right.data()};
    effect->processReplacing(effect, channels, channels, static_cast<int32_t>(frames));
    EXPECT_EQ(left, separateLeft);
    EXPECT_EQ(right, separateRight);
}

TEST_F(PluginAudio, EmptyAndNegativeBlocksWriteNothing) {
    float input[2] = {1.0f, 1.0f};
    float output[2] = {42.0f, 42.0f};
    float* inputs[2] = {input, input};
    float* outputs[2] = {output, output};
    AEffect* effect = host.effect();
    effect->processReplacing(effect, inputs, outputs, 0);
    effect->processReplacing(effect, inputs, outputs, -5);
    EXPECT_EQ(output[0], 42.0f);
    EXPECT_EQ(output[1], 42.0f);
}

TEST_F(PluginAudio, HistorySurvivesSuspendAndResume) {
    std::vector<float> left(800, 0.0f);
    std::vector<float> right(800, 0.0f);
    left[0] = 1.0f;
    std::vector<float> outLeft;
    std::vector<float> outRight;
    host.processStereo(left, right, outLeft, outRight, 100);

    TestHost other;
    ASSERT_NE(other.open(), nullptr);
    std::vector<float> first(left.begin(), left.begin() + 300);
    std::vector<float> firstRight(300, 0.0f);
    std::vector<float> rest(left.begin() + 300, left.end());
    std::vector<float> restRight(500, 0.0f);
    std::vector<float> out1;
    std::vector<float> out1Right;
    std::vector<float> out2;
    std::vector<float> out2Right;
    other.processStereo(first, firstRight, out1, out1Right, 100);
    other.dispatch(effMainsChanged, 0, 0);
    other.dispatch(effMainsChanged, 0, 1);
    other.processStereo(rest, restRight, out2, out2Right, 100);
    out1.insert(out1.end(), out2.begin(), out2.end());
    EXPECT_EQ(out1, outLeft);
}

} // namespace
} // namespace quillory::testing
