#pragma once
// The first two stages of a stretch: each running glide's value in every frame, then the
// engine settings those values give. A setting that does not glide keeps what it last gave
// the engine.

#include "engine/ChorusProcessor.h"
#include "engine/EngineMappings.h"

namespace quillory::stages {

// For each continuous setting: whether it glides in the stretch, and for how many frames
// its value still moves; from then on it sits on its target.
struct GlideFrames {
    bool gliding[kSettingCount] = {};
    int32_t moving[kSettingCount] = {};
};

// Glides start only with a new setting, which ends the run, so the glides running now are all
// that can run in the stretch.
QUILLORY_INLINE GlideFrames advanceGlides(ChorusProcessor& chorus, int32_t count) {
    StretchSettings& stretch = chorus.stretch;
    static_assert(kSettingCount == kGlidesSideBySide);
    double* const values[kSettingCount] = {stretch.depth, stretch.speed, stretch.mix};
    Glide* const glides[kSettingCount] = {&chorus.depth, &chorus.speed, &chorus.mix};
    GlideFrames frames;
    bool any = false;
    for (int32_t s = 0; s < kSettingCount; ++s) {
        frames.gliding[s] = glides[s]->running();
        any = any || frames.gliding[s];
    }
    if (any) {
        quillory::advanceGlides(glides, values, count, frames.moving);
    }
    for (int32_t s = 0; s < kSettingCount; ++s) {
        if (!frames.gliding[s]) {
            frames.moving[s] = 0;
        }
    }
    return frames;
}

// Fills frames `first` .. `count` of a settings array with one value, four at a time once
// aligned (the array has room up to the next multiple of four).
QUILLORY_INLINE void fillFrames(double* settings, int32_t first, int32_t count, double value) {
    int32_t n = first;
    for (; n < count && (n & 3) != 0; ++n) {
        settings[n] = value;
    }
    for (; n < count; n += 4) {
        storeDouble4(&settings[n], broadcast(value));
    }
}

// Settings of every frame. Moving values are mapped four frames at a time (lanes past the
// moving frames are computed from stale values and overwritten or never read). Once a glide
// has landed, the engine is driven from its target exactly as a settled setting is, and the
// remaining frames take that. The last frame's settings stay in the engine and the mix gains,
// as processing frame by frame would leave them.
QUILLORY_INLINE void mapSettings(ChorusProcessor& chorus, const GlideFrames& glides,
                                 int32_t count) {
    StretchSettings& stretch = chorus.stretch;
    ChorusEngine& engine = chorus.engine;
    const double rate = chorus.engineSampleRate;
    constexpr auto kDepth = static_cast<int32_t>(Setting::depth);
    constexpr auto kSpeed = static_cast<int32_t>(Setting::speed);
    constexpr auto kMix = static_cast<int32_t>(Setting::mix);

    for (int32_t n = 0; n < glides.moving[kDepth]; n += 4) {
        const Double4 modDepth = modDepthFor(loadDouble4(&stretch.depth[n]), rate);
        storeDouble4(&stretch.modDepth[n], modDepth);
        storeDouble4(&stretch.centerDelay[n], centerDelayFor(modDepth));
    }
    for (int32_t n = 0; n < glides.moving[kSpeed]; n += 4) {
        storeDouble4(&stretch.phaseIncrement[n],
                     phaseIncrementFor(loadDouble4(&stretch.speed[n]), rate));
    }
    for (int32_t n = 0; n < glides.moving[kMix]; n += 4) {
        const Double4 mix = loadDouble4(&stretch.mix[n]);
        storeDouble4(&stretch.wetGain[n], mix);
        storeDouble4(&stretch.dryGain[n], 1.0 - mix);
    }

    const int32_t last = count - 1;
    if (glides.moving[kDepth] < count) {
        if (glides.gliding[kDepth]) {
            chorus.drive(Setting::depth);
        }
        fillFrames(stretch.modDepth, glides.moving[kDepth], count, engine.modDepth);
        fillFrames(stretch.centerDelay, glides.moving[kDepth], count, engine.centerDelay);
    } else {
        engine.modDepth = stretch.modDepth[last];
        engine.centerDelay = stretch.centerDelay[last];
    }
    if (glides.moving[kSpeed] < count) {
        if (glides.gliding[kSpeed]) {
            chorus.drive(Setting::speed);
        }
        fillFrames(stretch.phaseIncrement, glides.moving[kSpeed], count, engine.phaseIncrement);
    } else {
        engine.phaseIncrement = stretch.phaseIncrement[last];
    }
    if (glides.moving[kMix] < count) {
        if (glides.gliding[kMix]) {
            chorus.drive(Setting::mix);
        }
        fillFrames(stretch.wetGain, glides.moving[kMix], count, chorus.wetGain);
        fillFrames(stretch.dryGain, glides.moving[kMix], count, chorus.dryGain);
    } else {
        chorus.wetGain = stretch.wetGain[last];
        chorus.dryGain = stretch.dryGain[last];
    }
}

} // namespace quillory::stages
