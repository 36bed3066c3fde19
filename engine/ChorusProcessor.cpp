#include "engine/ChorusProcessor.h"

#include "engine/StretchKernel.h"

namespace quillory {
namespace {

// The processing path once for each vector unit; the kernel's helpers are all inlined into
// each, so each copy runs in its own unit's instructions.
int32_t runBaseline(ChorusProcessor& chorus, const float* const* inputs, float* const* outputs,
                    int32_t start, int32_t end) {
    return stages::runForMode<false>(chorus, inputs, outputs, start, end);
}

#if QUILLORY_AVX2_PATH
[[gnu::target("avx2,fma")]] int32_t runAvx2(ChorusProcessor& chorus, const float* const* inputs,
                                            float* const* outputs, int32_t start, int32_t end) {
    return stages::runForMode<true>(chorus, inputs, outputs, start, end);
}
#endif

} // namespace

ChorusProcessor::ChorusProcessor() {
    engine.reset();
    mix.jump(kResetMix);
    drive(Setting::mix);
}

void ChorusProcessor::process(const float* const* inputs, float* const* outputs, int32_t frames) {
#if QUILLORY_AVX2_PATH
    if (vectorUnit == VectorUnit::avx2) {
        processBlock(inputs, outputs, frames, runAvx2);
        return;
    }
#endif
    processBlock(inputs, outputs, frames, runBaseline);
}

void ChorusProcessor::takeControlChanges() {
    if (controls.hasNews()) {
        applyNews(controls.collect());
    }
}

Glide& ChorusProcessor::glide(Setting setting) {
    switch (setting) {
    case Setting::depth:
        return depth;
    case Setting::speed:
        return speed;
    default:
        return mix;
    }
}

void ChorusProcessor::drive(Setting setting) {
    switch (setting) {
    case Setting::depth:
        engine.applyDepth(depth.current, engineSampleRate);
        break;
    case Setting::speed:
        engine.applySpeed(speed.current, engineSampleRate);
        break;
    case Setting::mix:
        wetGain = mix.current;
        dryGain = 1.0 - mix.current;
        break;
    }
}

// Jumps first, so that a glide started after a program change glides from the program's
// value; then the sample rate; then the glides, each of which re-drives the engine at once
// from where `current` is (which changes nothing audible unless the rate has changed since).
void ChorusProcessor::applyNews(const ControlNews& news) {
    constexpr Setting kSettings[] = {Setting::depth, Setting::speed, Setting::mix};
    for (const Setting setting : kSettings) {
        const auto s = static_cast<int32_t>(setting);
        if (news.jumped[s]) {
            glide(setting).jump(news.jumpValue[s]);
            drive(setting);
        }
    }
    if (news.rateChanged) {
        // Depth and speed are re-mapped from their present values for the new rate, as the
        // start of a glide would; the lines and the write position stay as they are.
        engineSampleRate = news.sampleRate;
        drive(Setting::depth);
        drive(Setting::speed);
    }
    for (const Setting setting : kSettings) {
        const auto s = static_cast<int32_t>(setting);
        if (news.glideStarted[s]) {
            glide(setting).start(news.glideTarget[s]);
            drive(setting);
        }
    }
    constexpr auto kTaps = static_cast<int32_t>(Choice::taps);
    constexpr auto kWaveform = static_cast<int32_t>(Choice::waveform);
    if (news.chosen[kTaps]) {
        engine.selectTaps(news.choice[kTaps]);
    }
    if (news.chosen[kWaveform]) {
        engine.selectWaveform(news.choice[kWaveform]);
    }
}

} // namespace quillory
