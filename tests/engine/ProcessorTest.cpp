// The chorus as it plays, block by block: line reads at known delays, the level and the
// stereo spread of the taps, modes that run no taps, the Wander draws, how settings arriving
// between blocks take effect, and that the host's choice of block size changes nothing.

#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace quillory::testing {
namespace {

// Output equals the engine output (mix 1), taps in `mode` at a fixed delay of `delay`
// frames: the settings are taken over first, then the engine's fields are set directly.
std::unique_ptr<ChorusProcessor> fixedDelay(uint32_t mode, double delay) {
    auto chorus = makeProcessor();
    chorus->controls.jump(Setting::mix, 1.0);
    chorus->takeControlChanges();
    chorus->engine.mode = mode;
    chorus->engine.applyMode();
    chorus->engine.modDepth = 0.0;
    chorus->engine.centerDelay = delay;
    return chorus;
}

StereoBuffer<double> render(ChorusProcessor& chorus, StereoBuffer<float>& input) {
    StereoBuffer<double> output(input.frames());
    chorus.process(input.at(0), output.at(0), static_cast<int32_t>(input.frames()));
    return output;
}

// Slot s holds s on the left and 3s on the right, so that a read returns its position. Two
// taps of weights 0.67 and 0.33 at one delay then give 0.5 × (input + 4 × position) on both
// channels.
TEST(Processor, TapsReadTheLinesWithLinearInterpolationWrappingAsOftenAsNeeded) {
    struct Case {
        int32_t writeIndex;
        double delay;
        double position;
    };
    const Case cases[] = {
        {1000, 10.0, 990.0},               // whole frames
        {1000, 10.25, 989.75},             // between slots 989 and 990
        {3, 5.25, 65533.75},               // behind slot 0: round to the end of the line
        {5, 0.5, 4.5},                     // under a frame: the previous frame and the slot
                                           // at the write position
        {0, 0.25, 0.25 * 65535.0},         // between the last slot and slot 0 (which holds 0)
        {100, 65546.0, 90.0},              // longer than the line: round it
        {100, 2.0 * 65536.0 + 10.0, 90.0}, // ... as often as needed
    };
    for (const Case& c : cases) {
        auto chorus = fixedDelay(0, c.delay);
        for (int32_t s = 0; s < kLineLength; ++s) {
            chorus->engine.line[s] = {double(s), 3.0 * s};
        }
        chorus->engine.line[kLineLength] = chorus->engine.line[0];
        chorus->engine.writeIndex = c.writeIndex;
        StereoBuffer<float> silence(1);
        const StereoBuffer<double> out = render(*chorus, silence);
        EXPECT_NEAR(out.left[0], 2.0 * c.position, 1e-9) << c.writeIndex << " " << c.delay;
        EXPECT_NEAR(out.right[0], 2.0 * c.position, 1e-9) << c.writeIndex << " " << c.delay;
    }
}

TEST(Processor, ImpulseReturnsAtTheDelayAcrossTheLineEndAndNotBeforeItIsStored) {
    // Weight sums of the layouts: sum(1 - w) = sum(w) = 1, 1.5 and 2 for 2, 3 and 4 taps.
    const std::pair<uint32_t, double> modes[] = {{0, 1.0}, {1, 1.5}, {2, 2.0}};
    for (const auto& [mode, weightSum] : modes) {
        // Under one frame the current input must not be heard yet: it is stored after reading.
        for (const double delay : {0.5, 1.0, 2.25, 7.0}) {
            auto chorus = fixedDelay(mode, delay);
            chorus->engine.writeIndex = kLineLength - 3;
            StereoBuffer<float> impulse(11);
            impulse.left[0] = 1.0f;
            const StereoBuffer<double> out = render(*chorus, impulse);
            for (int n = 0; n <= 10; ++n) {
                // Linear interpolation spreads the impulse as a triangle around the delay.
                const double triangle = std::max(0.0, 1.0 - std::abs(n - delay));
                const double echo = n == 0 ? 0.0 : 0.5 * weightSum * triangle;
                const double dry = n == 0 ? 0.5 : 0.0;
                EXPECT_NEAR(out.left[n], dry + echo, 1e-15) << mode << " " << delay << " " << n;
                EXPECT_NEAR(out.right[n], echo, 1e-15) << mode << " " << delay << " " << n;
            }
            EXPECT_EQ(chorus->engine.writeIndex, 8);
        }
    }
}

TEST(Processor, ConstantMonoInputSettlesAtALevelSetByTheTapCount) {
    const std::pair<uint32_t, double> modes[] = {{0, 1.5}, {1, 2.0}, {2, 2.5},
                                                 {8, 1.5}, {9, 2.0}, {10, 2.5}};
    for (const auto& [mode, level] : modes) {
        auto chorus = fixedDelay(mode, 0.0);
        chorus->engine.applyDepth(0.0, 44100.0); // delays 2.205 to 11.025 frames
        StereoBuffer<float> ones(2000);
        std::fill(ones.left.begin(), ones.left.end(), 1.0f);
        std::fill(ones.right.begin(), ones.right.end(), 1.0f);
        const StereoBuffer<double> out = render(*chorus, ones);
        for (int n = 0; n < 2000; ++n) {
            ASSERT_EQ(out.right[n], out.left[n]) << mode << " frame " << n;
            if (n < 2) { // every tap still reads the zeros of a fresh line
                ASSERT_NEAR(out.left[n], 0.5, 1e-15) << mode << " frame " << n;
            } else if (n >= 12) {
                ASSERT_NEAR(out.left[n], level, 1e-12) << mode << " frame " << n;
            }
        }
    }
}

TEST(Processor, ModesOutsideTheLayoutsPassTheInputThroughForEveryMixAndStillRecord) {
    StereoBuffer<float> input = noise(50, 5);
    for (const uint32_t mode : {3u, 4u, 7u, 11u, 16u, 0x3Fu, 0xFFFFFFFFu}) {
        for (const double mix : {0.0, 0.3, 1.0}) {
            auto chorus = makeProcessor();
            chorus->controls.jump(Setting::mix, mix);
            chorus->engine.mode = mode;
            StereoBuffer<float> output(input.frames());
            chorus->process(input.at(0), output.at(0), 50);
            EXPECT_EQ(output.left, input.left) << mode << " at mix " << mix;
            EXPECT_EQ(output.right, input.right) << mode << " at mix " << mix;
            EXPECT_EQ(chorus->engine.line[49].left, double{input.left[49]}) << mode;
        }
    }
}

// Frame numbers (1-based, counted from the layout) on which the Wander clock passes 1,
// found by repeating the clock's own double arithmetic.
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

TEST(Processor, WanderHoldsTheTapsAtTheCentreUntilTheFirstDraw) {
    auto wander = fixedDelay(10, 450.5);
    auto still = fixedDelay(2, 450.5);
    wander->engine.modDepth = 300.0;
    wander->engine.phaseIncrement = still->engine.phaseIncrement = 0.01;
    const int firstDraw = wanderDrawFrames(1)[0]; // 50,000 with double rounding
    StereoBuffer<float> input = noise(static_cast<size_t>(firstDraw - 1), 9);
    EXPECT_EQ(render(*wander, input).left, render(*still, input).left);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(wander->engine.tapStates[k].wanderDepth, 0.0) << k;
        EXPECT_EQ(wander->engine.tapStates[k].phase, k * kPi / 2.0) << k;
    }
}

TEST(Processor, WanderDrawsTargetsInTapOrderRateBeforeDepthWhenTheClockPassesOne) {
    auto chorus = fixedDelay(9, 100.0);
    chorus->engine.random.seed(4321);
    RandomSource reference;
    reference.seed(4321);
    int frame = 0;
    for (const int drawFrame : wanderDrawFrames(3)) {
        StereoBuffer<float> before(static_cast<size_t>(drawFrame - 1 - frame));
        render(*chorus, before);
        ASSERT_EQ(chorus->engine.random.state, reference.state) << "drew before " << drawFrame;
        StereoBuffer<float> one(1);
        render(*chorus, one);
        frame = drawFrame;
        for (int k = 0; k < 3; ++k) {
            const double rate = reference.next() / 32767.0 * 0.73 + 0.71;
            const double depth = reference.next() / 32767.0 * 0.8 + 0.2;
            const ChorusTap& tap = chorus->engine.tapStates[k];
            EXPECT_EQ(tap.wanderRateTarget, rate) << drawFrame << " tap " << k;
            EXPECT_EQ(tap.wanderDepthTarget, depth) << drawFrame << " tap " << k;
            EXPECT_LT(tap.wanderClock, 0.00002);
        }
    }
}

// Settings handed in between blocks, as a host sends them.
struct Automation {
    int32_t frame;
    Setting setting;
    double value;
    bool glide;
};

TEST(Processor, OutputDoesNotDependOnHowTheBlocksAreCut) {
    const std::vector<Automation> automation = {
        {0, Setting::depth, 0.8, true},   {3000, Setting::speed, 0.9, true},
        {9000, Setting::mix, 0.2, false}, {20000, Setting::depth, 0.1, true},
        {26000, Setting::mix, 0.9, true},
    };
    StereoBuffer<float> input = noise(60000, 21);
    auto renderInBlocks = [&](int32_t blockSize) {
        auto chorus = makeProcessor();
        chorus->controls.choose(Choice::taps, 2);
        chorus->controls.choose(Choice::waveform, 1);
        StereoBuffer<double> output(input.frames());
        size_t next = 0;
        for (int32_t done = 0; done < 60000;) {
            while (next < automation.size() && automation[next].frame == done) {
                const Automation& a = automation[next++];
                a.glide ? chorus->controls.startGlide(a.setting, a.value)
                        : chorus->controls.jump(a.setting, a.value);
            }
            // Blocks end where the automation needs them to, as a host's do.
            int32_t frames = std::min(blockSize, 60000 - done);
            if (next < automation.size()) {
                frames = std::min(frames, automation[next].frame - done);
            }
            chorus->process(input.at(done), output.at(done), frames);
            done += frames;
        }
        return output;
    };
    const StereoBuffer<double> reference = renderInBlocks(4096);
    for (const int32_t blockSize : {1, 7, 64, 333, 512}) {
        const StereoBuffer<double> other = renderInBlocks(blockSize);
        EXPECT_EQ(other.left, reference.left) << "block size " << blockSize;
        EXPECT_EQ(other.right, reference.right) << "block size " << blockSize;
    }
}

// A program change and a new setting that follows it before the next frame: the glide starts
// from the program's value. The other way round, the program's value stands.
TEST(Processor, SettingsArrivingTogetherTakeEffectInTheOrderTheyWereMade) {
    auto chorus = makeProcessor();
    chorus->controls.jump(Setting::depth, 0.2);
    chorus->controls.startGlide(Setting::depth, 0.6);
    chorus->takeControlChanges();
    EXPECT_EQ(chorus->depth.current, 0.2);
    EXPECT_EQ(chorus->depth.target, 0.6);
    EXPECT_EQ(chorus->depth.count, kGlideSamples);

    chorus->controls.startGlide(Setting::speed, 0.9);
    chorus->controls.jump(Setting::speed, 0.3);
    chorus->takeControlChanges();
    EXPECT_EQ(chorus->speed.current, 0.3);
    EXPECT_FALSE(chorus->speed.running());
}

// A new rate re-maps depth and speed from where their glides stand, at once; the history and
// the write position stay.
TEST(Processor, ANewSampleRateRemapsDepthAndSpeedFromTheirPresentValues) {
    auto chorus = makeProcessor();
    chorus->controls.jump(Setting::depth, 0.4);
    chorus->controls.jump(Setting::speed, 0.4);
    chorus->controls.startGlide(Setting::depth, 0.8);
    StereoBuffer<float> input = noise(5000, 2);
    render(*chorus, input);
    const FramePair recorded = chorus->engine.line[4999];
    chorus->controls.setSampleRate(96000.0);
    chorus->takeControlChanges();
    auto scratch = makeProcessor();
    ChorusEngine& expected = scratch->engine;
    expected.applyDepth(chorus->depth.current, 96000.0);
    expected.applySpeed(0.4, 96000.0);
    EXPECT_EQ(chorus->engine.modDepth, expected.modDepth);
    EXPECT_EQ(chorus->engine.centerDelay, expected.centerDelay);
    EXPECT_EQ(chorus->engine.phaseIncrement, expected.phaseIncrement);
    EXPECT_EQ(chorus->engine.writeIndex, 5000);
    EXPECT_EQ(chorus->engine.line[4999].left, recorded.left);
    EXPECT_GT(chorus->depth.count, 0); // the glide goes on
}

} // namespace
} // namespace quillory::testing
