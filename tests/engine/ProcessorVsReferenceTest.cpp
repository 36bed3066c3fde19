// The engine's block processing against the straightforward reference, on every vector unit
// this machine has: long renders in which the settings keep moving (glides restarted all the
// time, program jumps, tap and waveform changes, sample-rate changes) must agree to far below
// what a float output can resolve.

#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace quillory::testing {
namespace {

using reference::ReferenceChorus;

struct Scenario {
    uint32_t seed;
    int32_t taps;      // choice 0..2, or -1 to change it at random
    int32_t waveform;  // choice 0..1, or -1 to change it at random
    double sampleRate; // the starting rate
    bool changeRates;  // whether the rate changes along the way
    int32_t frames;
};

// Both sides get the same settings between the same blocks.
class Twins {
public:
    Twins(VectorUnit unit, uint32_t seed) : chorus(makeProcessor(unit)) {
        chorus->engine.random.seed(seed);
        reference->random.seed(seed);
    }
    void startGlide(Setting s, double v) {
        chorus->controls.startGlide(s, v);
        reference->startGlide(s, v);
    }
    void jump(Setting s, double v) {
        chorus->controls.jump(s, v);
        reference->jump(s, v);
    }
    void choose(Choice c, int32_t v) {
        chorus->controls.choose(c, v);
        reference->choose(c, v);
    }
    void setSampleRate(double rate) {
        chorus->controls.setSampleRate(rate);
        reference->setSampleRate(rate);
    }

    std::unique_ptr<ChorusProcessor> chorus;
    std::unique_ptr<ReferenceChorus> reference = std::make_unique<ReferenceChorus>();
};

double renderAndCompare(VectorUnit unit, const Scenario& scenario) {
    Twins twins(unit, scenario.seed);
    std::mt19937 generator(scenario.seed);
    std::uniform_real_distribution<double> anyValue(0.0, 1.0);
    std::uniform_int_distribution<int32_t> blockSize(1, 700);
    std::uniform_int_distribution<int32_t> roll(0, 99);
    const double rates[] = {44100.0, 48000.0, 96000.0, 22050.0};

    twins.setSampleRate(scenario.sampleRate);
    twins.choose(Choice::taps, std::max(scenario.taps, 0));
    twins.choose(Choice::waveform, std::max(scenario.waveform, 0));
    twins.jump(Setting::depth, anyValue(generator));
    twins.jump(Setting::speed, anyValue(generator));
    twins.jump(Setting::mix, 1.0);

    StereoBuffer<float> input = noise(static_cast<size_t>(scenario.frames), scenario.seed);
    StereoBuffer<double> fast(input.frames());
    StereoBuffer<double> slow(input.frames());
    int32_t done = 0;
    while (done < scenario.frames) {
        const int32_t frames = std::min(blockSize(generator), scenario.frames - done);
        twins.chorus->process(input.at(done), fast.at(done), frames);
        twins.reference->process(input.at(done), slow.at(done), frames);
        done += frames;

        const int32_t dice = roll(generator);
        const auto setting = static_cast<Setting>(dice % kSettingCount);
        if (dice < 40) {
            twins.startGlide(setting, anyValue(generator)); // keeps the settings sweeping
        } else if (dice < 43) {
            twins.jump(setting, anyValue(generator));
        } else if (dice < 44 && scenario.taps < 0) {
            twins.choose(Choice::taps, dice % 3);
        } else if (dice < 45 && scenario.waveform < 0) {
            twins.choose(Choice::waveform, dice % 2);
        } else if (dice < 46 && scenario.changeRates) {
            twins.setSampleRate(rates[static_cast<size_t>(dice) % 4]);
        }
    }
    double largest = 0.0;
    for (size_t i = 0; i < input.frames(); ++i) {
        largest = std::max({largest, std::fabs(fast.left[i] - slow.left[i]),
                            std::fabs(fast.right[i] - slow.right[i])});
    }
    return largest;
}

TEST(ProcessorVsReference, AgreesOverLongRendersWithMovingSettingsOnEveryVectorUnit) {
    // Each fixed mode runs past several Wander draws and several wraps of the lines; at
    // 96 kHz deep settings make delays longer than the lines.
    const Scenario scenarios[] = {
        {11, 0, 0, 48000.0, false, 200000},  {12, 1, 0, 44100.0, false, 200000},
        {13, 2, 0, 96000.0, false, 200000},  {14, 0, 1, 44100.0, false, 200000},
        {15, 1, 1, 96000.0, false, 200000},  {16, 2, 1, 48000.0, false, 200000},
        {17, -1, -1, 44100.0, true, 300000},
    };
    for (const VectorUnit unit : availableVectorUnits()) {
        for (const Scenario& scenario : scenarios) {
            EXPECT_LT(renderAndCompare(unit, scenario), 1e-9)
                << nameOf(unit) << ", scenario " << scenario.seed;
        }
    }
}

} // namespace
} // namespace quillory::testing
