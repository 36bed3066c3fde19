#pragma once
// The modulation state of all four taps held lane by lane in vectors, so that one frame's
// phase steps, Wander followers and sines run for every tap at once. Loaded from the
// engine's taps before a run of frames and stored back after it.

#include "engine/ChorusEngine.h"
#include "engine/FastSine.h"

namespace quillory {

struct TapVectors {
    Double4 phase;
    Double4 wanderClock;
    Double4 crossWeight;
    Double4 wanderRateTarget;
    Double4 wanderDepthTarget;
    Double4 wanderRate;
    Double4 wanderDepth;
    // Each tap's weights as (w, w) pairs, ready to scale a (left, right) pair: the share
    // of the tap's own channel (1 − crossWeight) and of the opposite one.
    Double2 keepPair[ChorusEngine::kMaxTaps];
    Double2 crossPair[ChorusEngine::kMaxTaps];
};

inline TapVectors loadTapVectors(const ChorusEngine& engine) {
    TapVectors lanes{};
    for (int k = 0; k < ChorusEngine::kMaxTaps; ++k) {
        const ChorusTap& tap = engine.tapStates[k];
        lanes.phase[k] = tap.phase;
        lanes.wanderClock[k] = tap.wanderClock;
        lanes.crossWeight[k] = tap.crossWeight;
        lanes.wanderRateTarget[k] = tap.wanderRateTarget;
        lanes.wanderDepthTarget[k] = tap.wanderDepthTarget;
        lanes.wanderRate[k] = tap.wanderRate;
        lanes.wanderDepth[k] = tap.wanderDepth;
    }
    for (int k = 0; k < ChorusEngine::kMaxTaps; ++k) {
        const double cross = lanes.crossWeight[k];
        lanes.keepPair[k] = Double2{1.0 - cross, 1.0 - cross};
        lanes.crossPair[k] = Double2{cross, cross};
    }
    return lanes;
}

// Only the taps in use are written back: the others keep their state untouched.
inline void storeTapVectors(const TapVectors& lanes, int taps, ChorusEngine& engine) {
    for (int k = 0; k < taps; ++k) {
        ChorusTap& tap = engine.tapStates[k];
        tap.phase = lanes.phase[k];
        tap.wanderClock = lanes.wanderClock[k];
        tap.crossWeight = lanes.crossWeight[k];
        tap.wanderRateTarget = lanes.wanderRateTarget[k];
        tap.wanderDepthTarget = lanes.wanderDepthTarget[k];
        tap.wanderRate = lanes.wanderRate[k];
        tap.wanderDepth = lanes.wanderDepth[k];
    }
}

} // namespace quillory
