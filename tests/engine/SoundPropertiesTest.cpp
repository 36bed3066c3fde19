// What a listener hears, measured from rendered audio at several sample rates: the delays the
// taps sweep through, in milliseconds, and how fast, in seconds, do not depend on the rate;
// Sine taps mirror each other; Wander taps drift apart at their own random rates and depths.

#include "tests/engine/EngineTestSupport.h"
#include "tests/support/TwoTapDelays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quillory::testing {
namespace {

constexpr double kRates[] = {44100.0, 48000.0, 96000.0};

// Two taps of `waveform` at `rate`, depth and speed settled on the given settings, fed with
// a ramp on the left; answers the taps' delays from frame `skip` on.
TapDelayTrack twoTapTrack(double rate, int32_t waveform, double depth, double speed, int32_t frames,
                          int32_t skip, uint32_t seed = 1) {
    auto chorus = makeProcessor();
    chorus->engine.random.seed(seed);
    chorus->controls.setSampleRate(rate);
    chorus->controls.choose(Choice::taps, 0);
    chorus->controls.choose(Choice::waveform, waveform);
    chorus->controls.jump(Setting::depth, depth);
    chorus->controls.jump(Setting::speed, speed);
    chorus->controls.jump(Setting::mix, 1.0);
    StereoBuffer<float> ramp(static_cast<size_t>(frames));
    for (int32_t n = 0; n < frames; ++n) {
        ramp.left[static_cast<size_t>(n)] = static_cast<float>(n);
    }
    StereoBuffer<double> output(ramp.frames());
    chorus->process(ramp.at(0), output.at(0), frames);
    return twoTapDelays(output.left, output.right, static_cast<size_t>(skip));
}

TEST(SoundProperties, SineTapsSweepTheSetDepthAtTheSetSpeedAtEveryRate) {
    const double depth = 0.45;                               // 4.6 ms
    const double speed = 0.8;                                // 5.02 Hz
    const double seconds = 0.0001 * std::pow(5000.0, depth); // swing
    const double hertz = 20.0 * std::pow(1000.0, speed - 1.0);
    for (const double rate : kRates) {
        const int32_t skip = static_cast<int32_t>(0.02 * rate); // past the longest delay
        const TapDelayTrack track =
            twoTapTrack(rate, 0, depth, speed, static_cast<int32_t>(2.0 * rate), skip);
        const double centre = 1.5 * seconds * rate; // half a swing behind it
        double swing = 0.0;
        for (size_t n = 0; n < track.tap0.size(); ++n) {
            ASSERT_NEAR(track.tap0[n] + track.tap1[n], 2.0 * centre, 1e-6) << rate;
            swing = std::max(swing, std::fabs(track.tap0[n] - centre));
        }
        EXPECT_NEAR(swing / rate, seconds, seconds * 1e-4) << rate;
        EXPECT_NEAR(meanPeriod(track.tap0, centre) / rate, 1.0 / hertz, 1e-3 / hertz) << rate;
    }
}

TEST(SoundProperties, WanderTapsHoldStillThenDriftApartAtTheirOwnRatesAndDepths) {
    const double depth = 0.45;
    const double speed = 0.8;
    const double seconds = 0.0001 * std::pow(5000.0, depth);
    const double period = 1.0 / (20.0 * std::pow(1000.0, speed - 1.0));
    for (const double rate : kRates) {
        const double modDepth = seconds * rate;
        const double centre = 1.5 * modDepth;
        const int32_t skip = static_cast<int32_t>(0.02 * rate);
        // Six draws of new rates and depths, one every 50,000 frames.
        const TapDelayTrack track = twoTapTrack(rate, 1, depth, speed, 300000, skip, 77);
        const auto firstDraw = static_cast<size_t>(50000 - skip);
        double mirrorMiss = 0.0;
        for (size_t n = 0; n < track.tap0.size(); ++n) {
            for (const double delay : {track.tap0[n], track.tap1[n]}) {
                if (n < firstDraw - 1) {
                    ASSERT_NEAR(delay, centre, 1e-6) << rate << " frame " << n;
                }
                ASSERT_LE(std::fabs(delay - centre), modDepth + 1e-6) << rate << " frame " << n;
            }
            mirrorMiss =
                std::max(mirrorMiss, std::fabs(track.tap0[n] + track.tap1[n] - 2 * centre));
        }
        EXPECT_GT(mirrorMiss, 0.1 * modDepth) << "Wander taps move on their own, " << rate;

        // Once the followers have closed in on their first targets, each stretch between draws
        // swings by a depth factor of 0.2 to 1.0 at a rate factor of 0.71 to 1.44, and the
        // draws are not all alike.
        double smallestSwing = modDepth;
        double largestSwing = 0.0;
        for (size_t from = 150000; from + 50000 <= track.tap0.size() + skip; from += 50000) {
            const auto begin = track.tap0.begin() + static_cast<std::ptrdiff_t>(from - skip);
            const std::vector<double> stretch(begin, begin + 50000 - skip);
            double swing = 0.0;
            for (const double delay : stretch) {
                swing = std::max(swing, std::fabs(delay - centre));
            }
            smallestSwing = std::min(smallestSwing, swing);
            largestSwing = std::max(largestSwing, swing);
            const double seen = meanPeriod(stretch, centre) / rate;
            EXPECT_GT(seen, period / 1.44 * 0.98) << rate << " from " << from;
            EXPECT_LT(seen, period / 0.71 * 1.02) << rate << " from " << from;
        }
        EXPECT_GT(smallestSwing, 0.1 * modDepth) << rate;
        EXPECT_GT(largestSwing - smallestSwing, 0.02 * modDepth) << rate;
    }
}

} // namespace
} // namespace quillory::testing
