#pragma once
// The block processing path, from a run of frames down to the four stages of each stretch.
// Compiled once per vector unit (VectorUnit.cpp): every function here is forced inline, so
// each unit's copy runs in that unit's instructions.

#include "engine/ChorusProcessor.h"
#include "engine/ModulationStage.h"
#include "engine/SettingsStage.h"
#include "engine/TapReadStage.h"

namespace quillory::stages {

// Frames in the next stretch: up to where the write position reaches a multiple of
// kStretchFrames, no more than `remaining`, and ending before the first frame at which a new
// setting has arrived (`interrupted` then tells so).
QUILLORY_INLINE int32_t stretchLength(const ChorusProcessor& chorus, int32_t remaining,
                                      bool& interrupted) {
    const int32_t toBoundary = kStretchFrames - (chorus.engine.writeIndex & (kStretchFrames - 1));
    const int32_t limit = remaining < toBoundary ? remaining : toBoundary;
    for (int32_t n = 1; n < limit; ++n) {
        if (chorus.controls.hasNews()) {
            interrupted = true;
            return n;
        }
    }
    return limit;
}

// Processes frames `start` .. `end` of the block with `Taps` taps (0: a mode that runs none)
// of the Sine or Wander waveform, until a new setting arrives; answers how many frames it
// processed (at least one). Splitting each stretch into stages lets the processor overlap
// the frames of a stage, whose only links from frame to frame are the glide values and the
// tap phases; per frame the work and its order are those of processing frame by frame.
template <int Taps, bool Wander, bool FusedMultiplyAdd, class Sample>
QUILLORY_INLINE int32_t runFrames(ChorusProcessor& chorus, const float* const* inputs,
                                  Sample* const* outputs, int32_t start, int32_t end) {
    TapLanes taps = loadTapLanes(chorus.engine, Taps);
    Modulation<Taps, Wander, FusedMultiplyAdd> modulation(taps);
    int32_t i = start;
    bool interrupted = false;
    while (i < end && !interrupted) {
        const int32_t count = stretchLength(chorus, end - i, interrupted);
        mapSettings(chorus, advanceGlides(chorus, count), count);
        modulate(modulation, chorus.engine, chorus.stretch, count);
        readTaps<Taps>(chorus.engine, taps, chorus.stretch, inputs, i, count);
        mix(chorus.stretch, inputs, outputs, i, count);
        i += count;
    }
    modulation.storeTo(taps);
    storeTapLanes(taps, Taps, chorus.engine);
    return i - start;
}

// Chooses the run for the engine's `mode`, decoded through its masks. `FusedMultiplyAdd` says
// whether the code is compiled for a vector unit that has it.
template <bool FusedMultiplyAdd, class Sample>
QUILLORY_INLINE int32_t runForMode(ChorusProcessor& chorus, const float* const* inputs,
                                   Sample* const* outputs, int32_t start, int32_t end) {
    const bool wander = ChorusEngine::isWander(chorus.engine.mode);
    switch (ChorusEngine::tapCount(chorus.engine.mode)) {
    case 2:
        return wander ? runFrames<2, true, FusedMultiplyAdd>(chorus, inputs, outputs, start, end)
                      : runFrames<2, false, FusedMultiplyAdd>(chorus, inputs, outputs, start, end);
    case 3:
        return wander ? runFrames<3, true, FusedMultiplyAdd>(chorus, inputs, outputs, start, end)
                      : runFrames<3, false, FusedMultiplyAdd>(chorus, inputs, outputs, start, end);
    case 4:
        return wander ? runFrames<4, true, FusedMultiplyAdd>(chorus, inputs, outputs, start, end)
                      : runFrames<4, false, FusedMultiplyAdd>(chorus, inputs, outputs, start, end);
    default:
        return runFrames<0, false, FusedMultiplyAdd>(chorus, inputs, outputs, start, end);
    }
}

} // namespace quillory::stages
