// Audio through the built plug-in: every program's impulse response against one derived
// here from the described mappings, and the properties a host relies on.

#include "shell/Opcodes.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace quillory::testing {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kSampleRate = 44100.0;

struct ProgramValues {
    double depth;
    int taps; // 2, 3 or 4
    double speed;
    bool wander;
    double mix;
};

// The built-in bank.
constexpr ProgramValues kPrograms[16] = {
    {0.357036, 2, 0.478872, true, 0.430669},
    {0.235507, 2, 0.661281, true, 0.633546},
    {0.195329, 3, 0.691185, false, 0.953399},
    {0.737863, 3, 0.173342, true, 1.0},
    {0.353125, 4, 0.587689, false, 1.0},
    {0.227890, 3, 0.752862, false, 1.0},
    {0.532632, 3, 0.149175, true, 1.0},
    {0.849588, 4, 0.0, false, 0.678003},
    {0.589415, 2, 0.294016, true, 0.705768},
    {0.382380, 4, 0.553349, true, 0.727251},
    {0.441503, 3, 0.492013, false, 0.847071},
    {0.418928, 3, 0.633125, false, 1.0},
    {0.292476, 3, 0.411153, true, 0.760817},
    {0.897296, 4, 0.369332, true, 1.0},
    {0.482833, 4, 1.0, true, 1.0},
    {0.777225, 4, 0.267337, false, 0.544678},
};

// Depth: 0.1 ms × 5000^v in frames; the centre sits half a depth further, at most 440
// frames. Speed: 20 Hz × 1000^(v − 1) as a phase step.
double modDepthOf(double depth) {
    return 0.0001 * std::pow(5000.0, depth) * kSampleRate;
}
double centreOf(double modDepth) {
    return modDepth + std::min(0.5 * modDepth, 440.0);
}
double phaseStepOf(double speed) {
    return 2.0 * kPi * 20.0 * std::pow(1000.0, speed - 1.0) / kSampleRate;
}
// Tap k of n: start phase k/n of a cycle; share of the opposite channel (n − k)/(n + 1),
// except the two-tap layout's 0.67 and 0.33.
double tapWeight(int k, int taps) {
    return taps == 2 ? (k == 0 ? 0.67 : 0.33) : double(taps - k) / (taps + 1);
}

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

// An impulse on the left comes back through every tap at its swept delay, split between the
// channels by the tap's weight; Wander taps stand at the centre delay until their first
// draw 50,000 frames after the program is selected.
TEST_F(PluginAudio, EveryProgramsImpulseResponseFollowsItsDelaysWeightsAndMix) {
    const size_t frames = 20000;
    // The bank has no two-tap Sine program, so a 17th case turns "For Synth Pad" into one.
    for (int program = 0; program < 17; ++program) {
        TestHost fresh;
        ASSERT_NE(fresh.open(), nullptr);
        fresh.dispatch(effSetProgram, 0, program < 16 ? program : 7);
        ProgramValues values = kPrograms[program < 16 ? program : 7];
        if (program == 16) {
            fresh.effect()->setParameter(fresh.effect(), 2, 0.0f);
            values.taps = 2;
        }
        std::vector<float> left(frames, 0.0f);
        std::vector<float> right(frames, 0.0f);
        left[0] = 1.0f;
        std::vector<float> outLeft;
        std::vector<float> outRight;
        fresh.processStereo(left, right, outLeft, outRight);

        const double modDepth = modDepthOf(values.depth);
        const double centre = centreOf(modDepth);
        const double step = phaseStepOf(values.speed);
        for (size_t n = 0; n < frames; ++n) {
            // The engine output holds half the input and half the taps' sum.
            double wetLeft = n == 0 ? 0.5 : 0.0;
            double wetRight = 0.0;
            for (int k = 0; k < values.taps; ++k) {
                const double phase = 2.0 * kPi * k / values.taps + double(n + 1) * step;
                const double delay = values.wander ? centre : std::sin(phase) * modDepth + centre;
                const double picked = hat(double(n), delay);
                wetLeft += 0.5 * (1.0 - tapWeight(k, values.taps)) * picked;
                wetRight += 0.5 * tapWeight(k, values.taps) * picked;
            }
            const double dryLeft = n == 0 ? 1.0 : 0.0;
            ASSERT_NEAR(outLeft[n], values.mix * wetLeft + (1.0 - values.mix) * dryLeft, 1e-6)
                << "program " << program << " frame " << n;
            ASSERT_NEAR(outRight[n], values.mix * wetRight, 1e-6)
                << "program " << program << " frame " << n;
        }
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
