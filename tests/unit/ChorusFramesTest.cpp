// The vectorised frames against the engine's one-tap-at-a-time frame: over long renders
// of every mode, with depth and speed moving all the time, they must agree to far below
// the output's resolution.

#include "engine/ChorusFrames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace quillory {
namespace {

std::unique_ptr<ChorusEngine> makeEngine(uint32_t mode) {
    auto engine = std::make_unique<ChorusEngine>();
    engine->reset();
    engine->depthBase = 0.0001;
    engine->depthLogRange = std::log(5000.0);
    engine->periodBase = 0.05;
    engine->periodLogRange = std::log(1000.0);
    engine->mode = mode;
    engine->applyMode();
    engine->random.seed(1234);
    return engine;
}

template <int Taps, bool Wander> void compareRenders(uint32_t mode) {
    auto reference = makeEngine(mode);
    auto fast = makeEngine(mode);
    TapVectors taps = loadTapVectors(*fast);
    std::mt19937 generator(mode);
    std::uniform_real_distribution<double> sample(-1.0, 1.0);
    double largestDifference = 0.0;
    // Past three Wander draws, and past a wrap of the delay lines.
    for (int frame = 0; frame < 180000; ++frame) {
        // Depth and speed sweep slowly across their whole ranges, as during glides.
        const double sweep = 0.5 + 0.5 * std::sin(frame * 0.0001);
        for (ChorusEngine* engine : {reference.get(), fast.get()}) {
            engine->applyDepth(sweep, 48000.0);
            engine->applySpeed(1.0 - sweep, 48000.0);
        }
        const double left = sample(generator);
        const double right = sample(generator);
        reference->processFrame(left, right);
        chorus_frames::chorusFrame<Taps, Wander>(*fast, taps, left, right);
        largestDifference =
            std::max({largestDifference, std::fabs(reference->outLeft - fast->outLeft),
                      std::fabs(reference->outRight - fast->outRight)});
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
