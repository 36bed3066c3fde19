#include "engine/ChorusEngine.h"
#include "engine/RandomSource.h"
#include "tests/unit/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace quillory {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr int32_t kLine = 65536;

// Slot s holds s on the left and rightScale * s on the right, so a read returns its position.
void fillRamp(ChorusEngine& e, double rightScale) {
    for (int32_t s = 0; s < kLine; ++s) {
        e.lineLeft[s] = s;
        e.lineRight[s] = rightScale * s;
    }
    // The slot past the end repeats slot 0, as the engine keeps it.
    e.lineLeft[kLine] = e.lineLeft[0];
    e.lineRight[kLine] = e.lineRight[0];
}

// Runs tap k once on a ramp-filled engine and recovers its modulation value from the read
// position: the delay is m * 1000 + 2000 frames behind slot 4000.
double observeModulation(ChorusEngine& e, int k, bool wander) {
    e.modDepth = 1000.0;
    e.centerDelay = 2000.0;
    e.writeIndex = 4000;
    e.outLeft = 0.0;
    e.outRight = 0.0;
    if (wander) {
        e.runWanderTap(k);
    } else {
        e.runSineTap(k);
    }
    return (2000.0 - e.outLeft) / 1000.0;
}

bool sameTap(const ChorusTap& a, const ChorusTap& b) {
    return a.phase == b.phase && a.wanderClock == b.wanderClock && a.crossWeight == b.crossWeight &&
           a.wanderRateTarget == b.wanderRateTarget && a.wanderDepthTarget == b.wanderDepthTarget &&
           a.wanderRate == b.wanderRate && a.wanderDepth == b.wanderDepth;
}

void scribbleTaps(ChorusEngine& e) {
    for (int k = 0; k < ChorusEngine::kMaxTaps; ++k) {
        e.tapStates[k] = ChorusTap{9.0 + k, 0.5, 0.9, 7.0, 6.0, 3.0, 2.0};
    }
}

// Frame numbers (1-based, counted from applyMode) on which the Wander clock passes 1, found by
// repeating the clock's own double arithmetic.
std::vector<int> wanderDrawFrames(int draws) {
    std::vector<int> frames;
    double clock = 0.0;
    for (int frame = 1; static_cast<int>(frames.size()) < draws; ++frame) {
        clock += 0.00002;
        if (clock >= 1.0) {
            clock -= 1.0;
            frames.push_back(frame);
        }
    }
    return frames;
}

TEST(ChorusEngine, ResetClearsLinesAndTapsButKeepsModeRangesAndRandomState) {
    auto e = makeEngine(9);
    e->lineLeft[17] = 3.0;
    e->lineRight[kLine - 1] = -4.0;
    e->writeIndex = 1234;
    e->outLeft = e->outRight = 8.0;
    scribbleTaps(*e);
    e->random.seed(77);
    const uint64_t randomState = e->random.state;
    e->reset();
    EXPECT_EQ(e->mode, 9u);
    EXPECT_EQ(e->random.state, randomState);
    EXPECT_EQ(e->writeIndex, 0);
    EXPECT_TRUE(e->outLeft == 0.0 && e->outRight == 0.0);
    EXPECT_TRUE(e->lineLeft[17] == 0.0 && e->lineRight[kLine - 1] == 0.0);
    for (const ChorusTap& tap : e->tapStates) {
        EXPECT_TRUE(sameTap(tap, ChorusTap{0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0}));
    }
}

TEST(TapRead, InterpolatesWrapsAndCrossWeightsAtFixedDelays) {
    struct Case {
        int32_t writeIndex;
        double delay;
        double position; // value a ramp-filled left line yields there
    };
    const Case cases[] = {
        {1000, 10.0, 990.0},               // whole frames
        {1000, 10.25, 989.75},             // fractional: between slots 989 and 990
        {3, 5.25, 65533.75},               // behind slot 0: wraps to the end of the line
        {5, 0.5, 4.5},                     // under one frame: previous frame and writeIndex slot
        {0, 0.25, 0.25 * 65535.0},         // between the last slot and slot 0 (which holds 0)
        {100, 65546.0, 90.0},              // a delay longer than the line wraps around
        {100, 2.0 * 65536.0 + 10.0, 90.0}, // ... as often as needed
        {65535, -1.0, 65535.0},            // read position exactly 65536 reads the last slot
        {100, -70000.0, 65535.0},          // far beyond the line end still reads the last slot
    };
    auto e = makeEngine(0);
    fillRamp(*e, 3.0);
    e->phaseIncrement = 0.0;
    e->modDepth = 0.0;
    e->tapStates[0].crossWeight = 0.25;
    for (const Case& c : cases) {
        e->writeIndex = c.writeIndex;
        e->centerDelay = c.delay;
        e->outLeft = e->outRight = 0.0;
        e->runSineTap(0);
        // left: 0.75 * x + 0.25 * 3x; right: 0.75 * 3x + 0.25 * x
        EXPECT_NEAR(e->outLeft, 1.5 * c.position, 1e-9) << c.writeIndex << " " << c.delay;
        EXPECT_NEAR(e->outRight, 2.5 * c.position, 1e-9) << c.writeIndex << " " << c.delay;
    }
}

TEST(ChorusEngine, ImpulseReturnsAtTheDelayAcrossLineEndReadBeforeTheFrameIsWritten) {
    // Weight sums of the layouts: sum(1 - w) = sum(w) = 1, 1.5 and 2 for 2, 3 and 4 taps.
    const std::pair<uint32_t, double> modes[] = {{0, 1.0}, {1, 1.5}, {2, 2.0}};
    for (const auto& [mode, weightSum] : modes) {
        // Under one frame the current input must not be heard yet: it is written after reading.
        for (const double delay : {0.5, 1.0, 2.25, 7.0}) {
            auto e = makeEngine(mode);
            e->modDepth = 0.0;
            e->centerDelay = delay;
            e->writeIndex = kLine - 3; // the frames cross the end of the line
            for (int n = 0; n <= 10; ++n) {
                e->processFrame(n == 0 ? 1.0 : 0.0, 0.0);
                // Linear interpolation spreads the impulse as a triangle around the delay; on
                // frame 0 the taps read before the impulse is stored, so they hear nothing.
                const double triangle = std::max(0.0, 1.0 - std::abs(n - delay));
                const double echo = n == 0 ? 0.0 : 0.5 * weightSum * triangle;
                const double dry = n == 0 ? 0.5 : 0.0;
                EXPECT_DOUBLE_EQ(e->outLeft, dry + echo) << mode << " " << delay << " " << n;
                EXPECT_DOUBLE_EQ(e->outRight, echo) << mode << " " << delay << " " << n;
            }
            EXPECT_EQ(e->writeIndex, 8);
        }
    }
}

TEST(ChorusEngine, ConstantMonoInputSettlesAtLevelSetByTapCount) {
    const std::pair<uint32_t, double> modes[] = {{0, 1.5}, {1, 2.0}, {2, 2.5},
                                                 {8, 1.5}, {9, 2.0}, {10, 2.5}};
    for (const auto& [mode, level] : modes) {
        auto e = makeEngine(mode);
        e->applyDepth(0.0, 44100.0); // delays 2.205 to 11.025 frames
        for (int n = 0; n < 2000; ++n) {
            e->processFrame(1.0, 1.0);
            ASSERT_EQ(e->outRight, e->outLeft) << mode << " frame " << n;
            if (n < 2) { // every tap still reads the zeros of a fresh line
                ASSERT_EQ(e->outLeft, 0.5) << mode << " frame " << n;
            } else if (n >= 12) {
                ASSERT_NEAR(e->outLeft, level, 1e-12) << mode << " frame " << n;
            }
        }
    }
}

TEST(ChorusEngine, ModesOutsideTablePassInputThroughUnhalvedAndStillRecord) {
    for (const uint32_t mode : {3u, 4u, 7u, 11u, 16u, 0x3Fu, 0xFFFFFFFFu}) {
        auto e = makeEngine(mode);
        e->modDepth = 0.0;
        e->centerDelay = 3.0;
        for (int n = 0; n < 50; ++n) {
            const double left = std::sin(0.3 * n) + 0.25;
            const double right = -0.7 * std::cos(0.11 * n);
            e->processFrame(left, right);
            ASSERT_TRUE(e->outLeft == left && e->outRight == right) << mode << " frame " << n;
            ASSERT_TRUE(e->lineLeft[n] == left && e->lineRight[n] == right) << mode;
        }
    }
}

TEST(TapLayout, ApplyModeSetsPhasesAndWeightsOfTapsInUseOnly) {
    struct Layout {
        uint32_t mode;
        std::vector<std::pair<double, double>> taps; // phase, cross weight
    };
    const Layout layouts[] = {
        {0, {{0.0, 0.67}, {kPi, 0.33}}},
        {1, {{0.0, 0.75}, {2.0 * kPi / 3.0, 0.5}, {4.0 * kPi / 3.0, 0.25}}},
        {2, {{0.0, 0.8}, {kPi / 2.0, 0.6}, {kPi, 0.4}, {3.0 * kPi / 2.0, 0.2}}},
    };
    for (const Layout& layout : layouts) {
        for (const uint32_t mode : {layout.mode, layout.mode + 8}) {
            auto e = makeEngine(0);
            scribbleTaps(*e);
            const ChorusTap untouched = e->tapStates[3];
            e->lineLeft[10] = 1.5;
            e->lineRight[20] = -2.5;
            e->writeIndex = 321;
            e->modDepth = 12.0;
            e->centerDelay = 34.0;
            e->phaseIncrement = 0.056;
            e->mode = mode;
            e->applyMode();
            for (size_t k = 0; k < layout.taps.size(); ++k) {
                const ChorusTap& tap = e->tapStates[k];
                EXPECT_DOUBLE_EQ(tap.phase, layout.taps[k].first) << mode << " tap " << k;
                EXPECT_EQ(tap.crossWeight, layout.taps[k].second) << mode << " tap " << k;
                EXPECT_TRUE(
                    sameTap(tap, ChorusTap{tap.phase, 0.0, tap.crossWeight, 0.0, 0.0, 0.0, 0.0}))
                    << mode << " tap " << k;
            }
            if (layout.taps.size() < 4) {
                EXPECT_TRUE(sameTap(e->tapStates[3], untouched)) << mode;
            }
            EXPECT_TRUE(e->lineLeft[10] == 1.5 && e->lineRight[20] == -2.5 &&
                        e->writeIndex == 321 && e->modDepth == 12.0 && e->centerDelay == 34.0 &&
                        e->phaseIncrement == 0.056)
                << "history, delays and speed must survive a mode change";
        }
    }
}

TEST(TapLayout, ApplyModeIgnoresModesOutsideTable) {
    for (const uint32_t mode : {3u, 7u, 11u, 16u, 24u, 0xFFFFFFFFu}) {
        auto e = makeEngine(mode);
        scribbleTaps(*e);
        const auto before = std::to_array(e->tapStates);
        e->applyMode();
        for (int k = 0; k < ChorusEngine::kMaxTaps; ++k) {
            EXPECT_TRUE(sameTap(e->tapStates[k], before[k])) << mode << " tap " << k;
        }
    }
}

TEST(SineModulation, TwoTapsMirrorEachOtherThroughPhaseWraps) {
    auto e = makeEngine(0);
    fillRamp(*e, 1.0);
    e->applySpeed(0.9, 44100.0); // a cycle of about 4,400 frames
    double lowest = 0.0;
    double highest = 0.0;
    for (int n = 0; n < 10000; ++n) {
        const double m0 = observeModulation(*e, 0, false);
        const double m1 = observeModulation(*e, 1, false);
        ASSERT_NEAR(m1, -m0, 1e-12) << "frame " << n;
        lowest = std::min(lowest, m0);
        highest = std::max(highest, m0);
    }
    EXPECT_LT(lowest, -0.999);
    EXPECT_GT(highest, 0.999);
}

TEST(SineModulation, PhaseLandingOnTwoPiWrapsOnlyOnceItExceedsIt) {
    auto e = makeEngine(0);
    e->phaseIncrement = 0.5;
    e->tapStates[0].phase = 2.0 * kPi - 0.5; // adding 0.5 back is exact here
    e->runSineTap(0);
    EXPECT_EQ(e->tapStates[0].phase, 2.0 * kPi);
    e->runSineTap(0);
    EXPECT_NEAR(e->tapStates[0].phase, 0.5, 1e-15);
}

TEST(SineModulation, FullSpeedAt44100CompletesACycleEvery2205Frames) {
    auto e = makeEngine(0);
    fillRamp(*e, 1.0);
    e->applySpeed(1.0, 44100.0);
    double worst = 0.0;
    for (int n = 1; n <= 3 * 2205; ++n) { // the phase is advanced before the sine is taken
        const double m = observeModulation(*e, 0, false);
        worst = std::max(worst, std::abs(m - std::sin(2.0 * kPi * n / 2205.0)));
    }
    EXPECT_LT(worst, 1e-9);
}

TEST(EngineMapping, DepthGivesModDepthAndCenterDelayWithFrameCappedOffset) {
    auto e = makeEngine(0);
    for (const double sr : {44100.0, 96000.0}) { // the 440-frame cap does not scale with sr
        for (const double v : {0.0, 0.25, 0.5, 0.6, 0.75, 1.0}) {
            e->applyDepth(v, sr);
            const double depth = 0.0001 * std::pow(5000.0, v) * sr;
            EXPECT_NEAR(e->modDepth, depth, depth * 1e-12) << v << " @ " << sr;
            EXPECT_NEAR(e->centerDelay, depth + std::min(0.5 * depth, 440.0), depth * 1e-12)
                << v << " @ " << sr;
        }
    }
    e->applyDepth(0.0, 44100.0);
    EXPECT_NEAR(e->modDepth, 4.41, 1e-12);
    EXPECT_NEAR(e->centerDelay, 6.615, 1e-12);
    e->applyDepth(0.75, 44100.0);
    EXPECT_NEAR(e->modDepth, 2622.0, 0.5);
    EXPECT_EQ(e->centerDelay, e->modDepth + 440.0);
}

TEST(EngineMapping, SpeedGivesPhaseStepPerFrame) {
    auto e = makeEngine(0);
    const std::pair<double, double> table[] = {
        {0.0, 2.8495e-06}, {0.25, 1.6024e-05}, {0.5, 9.0110e-05}, {1.0, 2.8495e-03}};
    for (const auto& [v, step] : table) {
        e->applySpeed(v, 44100.0);
        EXPECT_NEAR(e->phaseIncrement, step, step * 1e-4) << v;
        e->applySpeed(v, 48000.0);
        const double exact = 2.0 * kPi * 20.0 * std::pow(1000.0, v - 1.0) / 48000.0;
        EXPECT_NEAR(e->phaseIncrement, exact, exact * 1e-12) << v;
    }
}

TEST(WanderModulation, HoldsTapsAtCenterDelayUntilTheFirstDraw) {
    auto wander = makeEngine(10);
    auto fixed = makeEngine(2);
    wander->modDepth = 300.0;
    fixed->modDepth = 0.0;
    wander->centerDelay = fixed->centerDelay = 450.5;
    wander->phaseIncrement = fixed->phaseIncrement = 0.01;
    wander->random.seed(1234);
    const uint64_t seeded = wander->random.state;
    const int firstDraw = wanderDrawFrames(1)[0]; // 50,000 with double rounding
    for (int n = 1; n < firstDraw; ++n) {
        const double left = std::sin(0.013 * n);
        const double right = std::cos(0.029 * n) * 0.5;
        wander->processFrame(left, right);
        fixed->processFrame(left, right);
        ASSERT_DOUBLE_EQ(wander->outLeft, fixed->outLeft) << "frame " << n;
        ASSERT_DOUBLE_EQ(wander->outRight, fixed->outRight) << "frame " << n;
    }
    const double phases[] = {0.0, kPi / 2.0, kPi, 3.0 * kPi / 2.0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_DOUBLE_EQ(wander->tapStates[k].phase, phases[k]) << k;
        EXPECT_EQ(wander->tapStates[k].wanderDepth, 0.0) << k;
    }
    EXPECT_EQ(wander->random.state, seeded);
}

TEST(WanderModulation, DrawsTargetsInTapOrderRateBeforeDepthWhenClockPassesOne) {
    auto e = makeEngine(9);
    e->random.seed(4321);
    RandomSource reference;
    reference.seed(4321);
    int frame = 0;
    for (const int drawFrame : wanderDrawFrames(5)) {
        while (frame < drawFrame - 1) {
            e->processFrame(0.0, 0.0);
            ++frame;
        }
        ASSERT_EQ(e->random.state, reference.state) << "drew early, before frame " << drawFrame;
        e->processFrame(0.0, 0.0);
        ++frame;
        for (int k = 0; k < 3; ++k) {
            const double rate = reference.next() / 32767.0 * 0.73 + 0.71;
            const double depth = reference.next() / 32767.0 * 0.8 + 0.2;
            const ChorusTap& tap = e->tapStates[k];
            EXPECT_DOUBLE_EQ(tap.wanderRateTarget, rate) << drawFrame << " tap " << k;
            EXPECT_DOUBLE_EQ(tap.wanderDepthTarget, depth) << drawFrame << " tap " << k;
            EXPECT_TRUE(rate >= 0.71 && rate <= 1.44 && depth >= 0.2 && depth <= 1.0);
            EXPECT_LT(tap.wanderClock, 0.00002);
        }
        EXPECT_EQ(e->random.state, reference.state);
    }
}

TEST(WanderModulation, FollowersGlideWithA25000FrameTimeConstantAndScaleThePriorPhase) {
    auto e = makeEngine(8);
    ChorusTap& tap = e->tapStates[0];
    tap.wanderRateTarget = 1.2;
    tap.wanderDepthTarget = 0.8;
    for (int n = 0; n < 25000; ++n) {
        e->runWanderTap(0);
    }
    const double reached = 1.0 - std::pow(1.0 - 0.00004, 25000.0); // about 1 - 1/e
    EXPECT_NEAR(tap.wanderRate, 1.2 * reached, 1e-9);
    EXPECT_NEAR(tap.wanderDepth, 0.8 * reached, 1e-9);

    fillRamp(*e, 1.0);
    e->phaseIncrement = 0.5;
    tap.phase = 1.0;
    tap.wanderRate = tap.wanderRateTarget = 2.0; // steps of 2 * 0.5
    tap.wanderDepth = tap.wanderDepthTarget = 0.5;
    EXPECT_NEAR(observeModulation(*e, 0, true), 0.5 * std::sin(1.0), 1e-12);
    EXPECT_NEAR(observeModulation(*e, 0, true), 0.5 * std::sin(2.0), 1e-12);
}

TEST(RandomSource, StaysWithinRangeReachesBothEndsAndSpreadsEvenly) {
    RandomSource random;
    random.seed(42);
    constexpr int kDraws = 1000000;
    int buckets[16] = {};
    bool sawZero = false;
    bool sawTop = false;
    for (int n = 0; n < kDraws; ++n) {
        const int32_t r = random.next();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        sawZero = sawZero || r == 0;
        sawTop = sawTop || r == 32767;
        ++buckets[r / 2048];
    }
    EXPECT_TRUE(sawZero);
    EXPECT_TRUE(sawTop);
    for (const int count : buckets) {
        EXPECT_NEAR(count, kDraws / 16, kDraws / 16 / 50);
    }
}

TEST(RandomSource, SameSeedRepeatsAndDifferentSeedsDiverge) {
    RandomSource a;
    RandomSource b;
    RandomSource c;
    a.seed(7);
    b.seed(7);
    c.seed(8);
    int differing = 0;
    for (int n = 0; n < 1000; ++n) {
        const int32_t ra = a.next();
        ASSERT_EQ(ra, b.next()) << n;
        differing += ra != c.next() ? 1 : 0;
    }
    EXPECT_GT(differing, 990);
}

} // namespace
} // namespace quillory
