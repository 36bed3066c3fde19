// The engine's plain state: reset, the tap layouts, the mode bits, the mappings and the
// Wander draws, and the random source behind them.

#include "engine/ChorusEngine.h"
#include "engine/RandomSource.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace quillory::testing {
namespace {

bool sameTap(const ChorusTap& a, const ChorusTap& b) {
    return a.phase == b.phase && a.wanderClock == b.wanderClock && a.crossWeight == b.crossWeight &&
           a.wanderRateTarget == b.wanderRateTarget && a.wanderDepthTarget == b.wanderDepthTarget &&
           a.wanderRate == b.wanderRate && a.wanderDepth == b.wanderDepth;
}

void scribbleTaps(ChorusEngine& e) {
    for (int k = 0; k < kMaxTaps; ++k) {
        e.tapStates[k] = ChorusTap{9.0 + k, 0.5, 0.9, 7.0, 6.0, 3.0, 2.0};
    }
}

TEST(ChorusEngine, ResetClearsLinesAndTapsButKeepsModeAndRandomState) {
    auto chorus = makeProcessor();
    ChorusEngine& e = chorus->engine;
    e.mode = 9;
    e.line[17] = {3.0, 0.0};
    e.line[kLineLength - 1] = {0.0, -4.0};
    e.writeIndex = 1234;
    scribbleTaps(e);
    e.random.seed(77);
    const uint64_t randomState = e.random.state;
    e.reset();
    EXPECT_EQ(e.mode, 9u);
    EXPECT_EQ(e.random.state, randomState);
    EXPECT_EQ(e.writeIndex, 0);
    EXPECT_TRUE(e.line[17].left == 0.0 && e.line[kLineLength - 1].right == 0.0);
    EXPECT_TRUE(e.modDepth == 500.0 && e.centerDelay == 750.0 && e.phaseIncrement == 0.00022);
    for (const ChorusTap& tap : e.tapStates) {
        EXPECT_TRUE(sameTap(tap, ChorusTap{0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0}));
    }
}

// The taps choice sits in bits 0–2, the waveform choice in bits 3–5; only 2, 3 or 4 taps of
// Sine or Wander run, and any other bit, choice or combination runs none.
TEST(ChorusEngine, ModeBitsSelectTapsAndWaveformThroughTheirMasks) {
    for (uint32_t mode = 0; mode < 256; ++mode) {
        const uint32_t taps = mode & 7;
        const uint32_t waveform = (mode >> 3) & 7;
        const bool runs = mode < 64 && taps <= 2 && waveform <= 1;
        EXPECT_EQ(ChorusEngine::tapCount(mode), runs ? static_cast<int>(taps) + 2 : 0) << mode;
    }
    auto chorus = makeProcessor();
    ChorusEngine& e = chorus->engine;
    e.selectWaveform(1);
    e.selectTaps(2);
    EXPECT_EQ(e.mode, 10u);
    e.selectTaps(0);
    EXPECT_EQ(e.mode, 8u);
    e.selectWaveform(0);
    EXPECT_EQ(e.mode, 0u);
    e.selectTaps(-1); // a choice outside the list leaves a mode that runs no taps
    EXPECT_EQ(ChorusEngine::tapCount(e.mode), 0);
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
    auto chorus = makeProcessor();
    ChorusEngine& e = chorus->engine;
    for (const Layout& layout : layouts) {
        for (const uint32_t mode : {layout.mode, layout.mode + 8}) {
            scribbleTaps(e);
            const ChorusTap untouched = e.tapStates[3];
            e.line[10] = {1.5, -2.5};
            e.writeIndex = 321;
            e.modDepth = 12.0;
            e.centerDelay = 34.0;
            e.phaseIncrement = 0.056;
            e.mode = mode;
            e.applyMode();
            for (size_t k = 0; k < layout.taps.size(); ++k) {
                const ChorusTap& tap = e.tapStates[k];
                EXPECT_DOUBLE_EQ(tap.phase, layout.taps[k].first) << mode << " tap " << k;
                EXPECT_EQ(tap.crossWeight, layout.taps[k].second) << mode << " tap " << k;
                EXPECT_TRUE(
                    sameTap(tap, ChorusTap{tap.phase, 0.0, tap.crossWeight, 0.0, 0.0, 0.0, 0.0}))
                    << mode << " tap " << k;
            }
            if (layout.taps.size() < 4) {
                EXPECT_TRUE(sameTap(e.tapStates[3], untouched)) << mode;
            }
            EXPECT_TRUE(e.line[10].left == 1.5 && e.line[10].right == -2.5 && e.writeIndex == 321 &&
                        e.modDepth == 12.0 && e.centerDelay == 34.0 && e.phaseIncrement == 0.056)
                << "history, delays and speed must survive a mode change";
        }
    }
}

TEST(TapLayout, ApplyModeIgnoresModesOutsideTheLayouts) {
    auto chorus = makeProcessor();
    ChorusEngine& e = chorus->engine;
    for (const uint32_t mode : {3u, 7u, 11u, 16u, 24u, 0xFFFFFFFFu}) {
        scribbleTaps(e);
        const auto before = std::to_array(e.tapStates);
        e.mode = mode;
        e.applyMode();
        for (int k = 0; k < kMaxTaps; ++k) {
            EXPECT_TRUE(sameTap(e.tapStates[k], before[k])) << mode << " tap " << k;
        }
    }
}

TEST(EngineMapping, DepthGivesModDepthAndCenterDelayWithFrameCappedOffset) {
    EXPECT_EQ(kDepthLogRange, std::log(5000.0));
    EXPECT_EQ(kPeriodLogRange, std::log(1000.0));
    auto chorus = makeProcessor();
    ChorusEngine& e = chorus->engine;
    for (const double sr : {44100.0, 96000.0}) { // the 440-frame cap does not scale with sr
        for (const double v : {0.0, 0.25, 0.5, 0.6, 0.75, 1.0}) {
            e.applyDepth(v, sr);
            const double depth = 0.0001 * std::pow(5000.0, v) * sr;
            EXPECT_NEAR(e.modDepth, depth, depth * 1e-12) << v << " @ " << sr;
            EXPECT_NEAR(e.centerDelay, depth + std::min(0.5 * depth, 440.0), depth * 1e-12)
                << v << " @ " << sr;
        }
    }
    e.applyDepth(0.0, 44100.0);
    EXPECT_NEAR(e.modDepth, 4.41, 1e-12);
    EXPECT_NEAR(e.centerDelay, 6.615, 1e-12);
    e.applyDepth(0.75, 44100.0);
    EXPECT_NEAR(e.modDepth, 2622.0, 0.5);
    EXPECT_EQ(e.centerDelay, e.modDepth + 440.0);
}

TEST(EngineMapping, SpeedGivesPhaseStepPerFrame) {
    auto chorus = makeProcessor();
    ChorusEngine& e = chorus->engine;
    const std::pair<double, double> table[] = {
        {0.0, 2.8495e-06}, {0.25, 1.6024e-05}, {0.5, 9.0110e-05}, {1.0, 2.8495e-03}};
    for (const auto& [v, step] : table) {
        e.applySpeed(v, 44100.0);
        EXPECT_NEAR(e.phaseIncrement, step, step * 1e-4) << v;
        e.applySpeed(v, 48000.0);
        const double exact = 2.0 * kPi * 20.0 * std::pow(1000.0, v - 1.0) / 48000.0;
        EXPECT_NEAR(e.phaseIncrement, exact, exact * 1e-12) << v;
    }
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
} // namespace quillory::testing
