#pragma once
// One continuous setting smoothed on its way into the engine. A new target starts a glide of
// kGlideSamples frames: each frame covers kGlideCoefficient of the remaining distance, and the
// last frame lands exactly on the target. The smoothing works on the 0..1 setting, before the
// exponential mappings, so depth and speed glide geometrically in frames and hertz.

#include "engine/ChorusConstants.h"

#include <cstdint>

namespace quillory {

struct Glide {
    double current = 0.0; // the value the engine is driven from
    double target = 0.0;  // the value last set
    int32_t count = 0;    // frames of glide left; 0 when settled

    bool running() const { return count != 0; }

    // A new setting: glide there from wherever `current` is.
    void start(double newTarget) {
        target = newTarget;
        count = kGlideSamples;
    }

    // A program change: the value takes effect at once and any glide ends.
    void jump(double value) {
        current = value;
        target = value;
        count = 0;
    }
};

// The engine's three glides (depth, speed, mix) advance together.
inline constexpr int32_t kGlidesSideBySide = 3;

// Advances three glides side by side by `frames` frames and writes each one's value in every
// frame into `values[g]`; answers in `moving[g]` how many of those frames were one-pole
// steps, the frames after them sitting on the target. Side by side, the glides' chains of
// dependent steps overlap instead of following one another.
//
// Out of line, and so compiled for the baseline vector unit alone: no fused multiply-add
// changes how the steps round, wherever it is called from.
void advanceGlides(Glide* const* glides, double* const* values, int32_t frames, int32_t* moving);

} // namespace quillory
