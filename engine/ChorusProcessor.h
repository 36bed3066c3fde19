#pragma once
// The chorus that plays: block processing of stereo audio through the engine, with the glides
// that smooth continuous settings into it, the dry/wet mix and the sample rate. Settings
// arrive through `controls` from any thread; everything else belongs to the audio thread.
//
// For each block: take over the settings handed in since the last frame, then process frames
// in runs that end where a new setting arrives. A run goes in stretches of at most
// kStretchFrames frames (StretchKernel.h): the glides' values of every frame, the engine
// settings they give, the modulation and tap delays, then the line reads and the mix.

#include "engine/ChorusEngine.h"
#include "engine/ControlInbox.h"
#include "engine/Glide.h"
#include "engine/VectorTypes.h"
#include "engine/VectorUnit.h"

#include <cstdint>

namespace quillory {

// Stretches end where the write position reaches a multiple of this many frames, so that
// where they begin does not depend on how the host cuts the audio into blocks.
inline constexpr int32_t kStretchFrames = 64;

// Per frame of a stretch: the glides' values and the engine settings they give.
struct StretchSettings {
    alignas(32) double depth[kStretchFrames];
    alignas(32) double speed[kStretchFrames];
    alignas(32) double mix[kStretchFrames];
    alignas(32) double modDepth[kStretchFrames];
    alignas(32) double centerDelay[kStretchFrames];
    alignas(32) double phaseIncrement[kStretchFrames];
    alignas(32) double wetGain[kStretchFrames];
    alignas(32) double dryGain[kStretchFrames];
    Double4 delays[kStretchFrames];                // each tap's delay, frames
    alignas(32) double engineLeft[kStretchFrames]; // the engine's output
    alignas(32) double engineRight[kStretchFrames];
};

struct ChorusProcessor {
    ChorusProcessor();

    // Writes `frames` frames into both output channels from both input channels. The inputs
    // of a frame are read before its outputs are written, so the buffers may be the same.
    void process(const float* const* inputs, float* const* outputs, int32_t frames);
    // The same, leaving the output unrounded: for measuring the engine against a reference.
    void process(const float* const* inputs, double* const* outputs, int32_t frames);

    // Takes over every setting handed in since the last frame.
    void takeControlChanges();

    ControlInbox controls; // the only part other threads touch

    // Audio side.
    ChorusEngine engine;
    Glide depth;
    Glide speed;
    Glide mix;
    double wetGain = kResetMix;
    double dryGain = 1.0 - kResetMix;
    double engineSampleRate = 44100.0;
    VectorUnit vectorUnit = bestVectorUnit();
    StretchSettings stretch{};

    Glide& glide(Setting setting);
    // Runs the engine operation `setting` drives with its glide's `current`: the depth and
    // centre delay, the phase step, or the mix gains.
    void drive(Setting setting);

private:
    // Runs of frames between new settings; `run` processes one (StretchKernel.h).
    template <class Sample, class Run>
    void processBlock(const float* const* inputs, Sample* const* outputs, int32_t frames, Run run) {
        int32_t done = 0;
        while (done < frames) {
            takeControlChanges();
            done += run(*this, inputs, outputs, done, frames);
        }
    }
    void applyNews(const ControlNews& news);
};

} // namespace quillory
