// Stretches of vectorised frames against the engine's one-tap-at-a-time frame: over long
// renders of every mode, with depth and speed moving all the time, they must agree to far
// below the output's resolution.

#include "engine/ChorusFrames.h"
#include "tests/unit/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace quillory {
namespace {

template <int Taps, bool Wander> void compareRenders(uint32_t mode) {
    auto reference = makeEngine(mode);
    auto fast = makeEngine(mode);
    reference->random.seed(1234);
    fast->random.seed(1234);
    TapVectors taps = loadTapVectors(*fast);
    std::mt19937 generator(mode);
    std::uniform_real_distribution<double> sample(-1.0, 1.0);
    double largestDifference = 0.0;
    constexpr int32_t kStretch = 48;
    double increments[kStretch];
    double depths[kStretch];
    double centres[kStretch];
    double stepSines[kStretch];
    double stepCosines[kStretch];
    Double4 delays[kStretch];
    // Past three Wander draws, and past a wrap of the delay lines.
    for (int frame = 0; frame < 180000; frame += kStretch) {
        // Depth and speed sweep slowly across their whole ranges, as during glides; the
        // reference takes them frame by frame, the stretch from the arrays.
        double inputs[kStretch][2];
        double expected[kStretch][2];
        for (int n = 0; n < kStretch; ++n) {
            const double sweep = 0.5 + 0.5 * std::sin((frame + n) * 0.0001);
            reference->applyDepth(sweep, 48000.0);
            reference->applySpeed(1.0 - sweep, 48000.0);
            increments[n] = reference->phaseIncrement;
            depths[n] = reference->modDepth;
            centres[n] = reference->centerDelay;
            stepSines[n] = std::sin(increments[n]);
            stepCosines[n] = std::cos(increments[n]);
            inputs[n][0] = sample(generator);
            inputs[n][1] = sample(generator);
            reference->processFrame(inputs[n][0], inputs[n][1]);
            expected[n][0] = reference->outLeft;
            expected[n][1] = reference->outRight;
        }
        const chorus_frames::StretchSettings settings = {increments, depths, centres, stepSines,
                                                         stepCosines};
        chorus_frames::stretchDelays<Taps, Wander>(*fast, taps, settings, delays, kStretch);
        for (int n = 0; n < kStretch; ++n) {
            const Double2 out = chorus_frames::readTapsAndStore<Taps>(
                *fast, fast->writeIndex, delays[n], taps, inputs[n][0], inputs[n][1]);
            largestDifference = std::max({largestDifference, std::fabs(expected[n][0] - out[0]),
                                          std::fabs(expected[n][1] - out[1])});
        }
    }
    EXPECT_LT(largestDifference, 1e-9) << "mode " << mode;
    storeTapVectors(taps, Taps, *fast);
    for (int k = 0; k < Taps; ++k) {
        EXPECT_NEAR(fast->tapStates[k].phase, reference->tapStates[k].phase, 1e-9);
        EXPECT_EQ(fast->tapStates[k].wanderRateTarget, reference->tapStates[k].wanderRateTarget);
    }
}

TEST(ChorusFrames, AgreeWithTheOneTapAtATimeFrameInEveryMode) {
    compareRenders<2, false>(0);
    compareRenders<3, false>(1);
    compareRenders<4, false>(2);
    compareRenders<2, true>(8);
    compareRenders<3, true>(9);
    compareRenders<4, true>(10);
}

} // namespace
} // namespace quillory
