// The plug-in plays what it displays at any sample rate, also when the host changes the rate
// after the settings were made: the taps' swing in milliseconds and the modulation period in
// seconds, measured from the audio, match the depth and speed texts.

#include "shell/Opcodes.h"
#include "tests/support/TestHost.h"
#include "tests/support/TwoTapDelays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace quillory::testing {
namespace {

TEST(PluginSampleRate, SwingAndPeriodMatchTheDisplayAfterTheRateChanges) {
    for (const float rate : {44100.0f, 48000.0f, 96000.0f}) {
        TestHost host;
        AEffect* effect = host.open();
        ASSERT_NE(effect, nullptr);
        host.dispatch(effSetProgram, 0, 4);                   // "For Organ": Sine, mix 1
        effect->setParameter(effect, 2, 0.0f);                // two taps
        host.dispatch(effSetSampleRate, 0, 0, nullptr, rate); // only now
        const double swingSeconds =
            std::atof(host.dispatchText(effGetParamDisplay, 0).c_str()) / 1000.0; // "2.0ms"
        const double hertz =
            std::atof(host.dispatchText(effGetParamDisplay, 1).c_str()); // "1.16Hz"

        const auto frames = static_cast<size_t>(2.5 * rate);
        std::vector<float> ramp(frames);
        std::vector<float> silence(frames, 0.0f);
        for (size_t n = 0; n < frames; ++n) {
            ramp[n] = static_cast<float>(n);
        }
        std::vector<float> left;
        std::vector<float> right;
        host.processStereo(ramp, silence, left, right);

        const TapDelayTrack track = twoTapDelays(left, right, static_cast<size_t>(0.01 * rate));
        double shortest = track.tap0[0];
        double longest = track.tap0[0];
        for (const double delay : track.tap0) {
            shortest = std::min(shortest, delay);
            longest = std::max(longest, delay);
        }
        const double swing = (longest - shortest) / 2.0 / rate;
        const double centre = (longest + shortest) / 2.0;
        // The texts carry two or three significant digits.
        EXPECT_NEAR(swing, swingSeconds, 0.03 * swingSeconds) << rate;
        EXPECT_NEAR(centre / rate, 1.5 * swing, 0.001 * swing) << rate;
        EXPECT_NEAR(meanPeriod(track.tap0, centre) / rate, 1.0 / hertz, 0.01 / hertz) << rate;
    }
}

} // namespace
} // namespace quillory::testing
