#pragma once
// The taps' state held lane by lane in vectors, so that one frame's phase steps, Wander
// followers and sines run for every tap at once. Loaded from the engine's taps before a run
// of frames and stored back after it.

#include "engine/ChorusEngine.h"
#include "engine/VectorTypes.h"

namespace quillory {

struct TapLanes {
    Double4 phase;
    double wanderClock; // shared by the taps in use
    Double4 wanderRateTarget;
    Double4 wanderDepthTarget;
    Double4 wanderRate;
    Double4 wanderDepth;
    // Each tap's share of its own channel (1 − crossWeight) and of the opposite one; zero
    // for taps not in use.
    Double4 keepWeight;
    Double4 crossWeight;
};

QUILLORY_INLINE TapLanes loadTapLanes(const ChorusEngine& engine, int taps) {
    TapLanes lanes{};
    lanes.wanderClock = engine.tapStates[0].wanderClock;
    for (int k = 0; k < kMaxTaps; ++k) {
        const ChorusTap& tap = engine.tapStates[k];
        lanes.phase[k] = tap.phase;
        lanes.wanderRateTarget[k] = tap.wanderRateTarget;
        lanes.wanderDepthTarget[k] = tap.wanderDepthTarget;
        lanes.wanderRate[k] = tap.wanderRate;
        lanes.wanderDepth[k] = tap.wanderDepth;
        if (k < taps) {
            lanes.keepWeight[k] = 1.0 - tap.crossWeight;
            lanes.crossWeight[k] = tap.crossWeight;
        }
    }
    return lanes;
}

// Only the taps in use are written back: the others keep their state untouched.
QUILLORY_INLINE void storeTapLanes(const TapLanes& lanes, int taps, ChorusEngine& engine) {
    for (int k = 0; k < taps; ++k) {
        ChorusTap& tap = engine.tapStates[k];
        tap.phase = lanes.phase[k];
        tap.wanderClock = lanes.wanderClock;
        tap.wanderRateTarget = lanes.wanderRateTarget[k];
        tap.wanderDepthTarget = lanes.wanderDepthTarget[k];
        tap.wanderRate = lanes.wanderRate[k];
        tap.wanderDepth = lanes.wanderDepth[k];
    }
}

} // namespace quillory
