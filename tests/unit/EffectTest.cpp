// The effect object itself, where a host cannot see the state directly.

#include "plugin/QuilloryChorusVst.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace quillory {
namespace {

// One frame, so that the audio side takes over what the control side handed it.
void processOneFrame(QuilloryChorusVst& effect) {
    float left = 0.0f;
    float right = 0.0f;
    float* inputs[2] = {&left, &right};
    effect.processReplacing(inputs, inputs, 1);
}

TEST(Effect, UnusableSampleRatesAreIgnored) {
    auto effect = std::make_unique<QuilloryChorusVst>(nullptr);
    effect->setSampleRate(48000.0f);
    for (float rate : {0.0f, 999.0f, -44100.0f, 1e12f, std::nanf(""), INFINITY, -INFINITY}) {
        effect->setSampleRate(rate);
        processOneFrame(*effect);
        EXPECT_EQ(effect->getSampleRate(), 48000.0f) << rate;
        EXPECT_EQ(effect->chorus.engineSampleRate, 48000.0) << rate;
    }
    effect->setSampleRate(96000.0f);
    processOneFrame(*effect);
    EXPECT_EQ(effect->chorus.engineSampleRate, 96000.0);
}

TEST(Effect, WithoutHostTheRecordKeepsTheBaseDefaults) {
    auto effect = std::make_unique<QuilloryChorusVst>(nullptr);
    AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);
    EXPECT_EQ(record->flags, effFlagsCanReplacing | effFlagsHasEditor);
}

TEST(Effect, StartsWithTheFirstProgramInTheEngine) {
    auto effect = std::make_unique<QuilloryChorusVst>(nullptr);
    const ChorusEngine& engine = effect->chorus.engine;
    // "For Piano": depth 0.357036, speed 0.478872, two Wander taps, mix 0.430669.
    const double modDepth = std::exp(0.357036 * std::log(5000.0)) * 0.0001 * 44100.0;
    EXPECT_DOUBLE_EQ(engine.modDepth, modDepth);
    EXPECT_DOUBLE_EQ(engine.centerDelay, 1.5 * modDepth);
    const double period = std::exp((1.0 - 0.478872) * std::log(1000.0)) * 0.05;
    EXPECT_DOUBLE_EQ(engine.phaseIncrement, 2.0 * 3.141592653589793 / period / 44100.0);
    EXPECT_EQ(engine.mode, 8u);
    EXPECT_EQ(engine.tapStates[0].crossWeight, 0.67);
    EXPECT_EQ(effect->chorus.wetGain, 0.430669);
    EXPECT_EQ(effect->chorus.dryGain, 1.0 - 0.430669);
    EXPECT_EQ(effect->chorus.engineSampleRate, 44100.0);
}

TEST(Effect, MixZeroPassesTheInputExactly) {
    auto effect = std::make_unique<QuilloryChorusVst>(nullptr);
    effect->chorus.controls.jump(Setting::mix, 0.0);
    float left[3] = {0.25f, -1.0f, 0.125f};
    float right[3] = {0.5f, 0.75f, -0.3f};
    float outLeft[3] = {};
    float outRight[3] = {};
    float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    effect->processReplacing(inputs, outputs, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(outLeft[i], left[i]);
        EXPECT_EQ(outRight[i], right[i]);
    }
}

// Whatever a host passes, nothing is read or written through a missing buffer.
TEST(Effect, MissingBuffersProcessNothing) {
    auto effect = std::make_unique<QuilloryChorusVst>(nullptr);
    float samples[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float* channels[2] = {samples, nullptr};
    float* good[2] = {samples, samples};
    effect->processReplacing(nullptr, good, 4);
    effect->processReplacing(good, nullptr, 4);
    effect->processReplacing(channels, good, 4);
    effect->processReplacing(good, channels, 4);
    EXPECT_EQ(effect->chorus.engine.writeIndex, 0);
}

} // namespace
} // namespace quillory
