#pragma once
// One frame of the chorus for a fixed tap count and waveform, with all taps' modulation
// computed in vectors. It performs exactly the arithmetic of ChorusEngine::processFrame,
// tap by tap in the same order, except that the sine comes from a polynomial (within
// 1e-13 of the library sine), so the two agree far below the resolution of the output.

#include "engine/ChorusEngine.h"
#include "engine/TapVectors.h"

#include <cstring>

namespace quillory {
namespace chorus_frames {

constexpr double kTwoPi = ChorusEngine::kTwoPi;
constexpr double kWanderClockStep = 0.00002;
constexpr double kWanderFollow = 0.00004;
constexpr double kWanderKeep = 0.99996;

// `amount` in the lanes where `mask` is set, +0 elsewhere. Selecting with bit operations
// keeps the work in vector registers; adding or subtracting +0 leaves a lane unchanged.
inline Double4 where(UInt4 mask, double amount) {
    const Double4 amounts = {amount, amount, amount, amount};
    return std::bit_cast<Double4>(mask & std::bit_cast<UInt4>(amounts));
}

// Lanes of taps not in use are computed too but never read; they are pinned to a zero
// modulation so that their arithmetic stays finite and their read positions need no wrap.
template <int Taps> inline Double4 inUse(Double4 values) {
    if constexpr (Taps == 4) {
        return values;
    } else {
        const UInt4 lanes = {0, 1, 2, 3};
        const auto mask = static_cast<UInt4>(lanes < static_cast<uint64_t>(Taps));
        return std::bit_cast<Double4>(mask & std::bit_cast<UInt4>(values));
    }
}

inline Double4 wrapPhase(Double4 phase) {
    return phase - where(lanesAbove(phase, kTwoPi), kTwoPi);
}

inline Double2 loadPair(const double* at) {
    Double2 pair;
    std::memcpy(&pair, at, sizeof(pair));
    return pair;
}

// Reads both lines for every tap and mixes the taps into the frame, stores the frame at
// `writeIndex` and advances it, and answers the engine's output pair. The caller keeps the
// write slot in a local across a stretch of frames, out of the engine's memory. The output
// pair, the interpolation and the cross weighting run on (left, right) pairs; each element
// sees the same operations in the same order as the one-tap-at-a-time read.
template <int Taps>
inline Double2 readTapsAndStore(ChorusEngine& engine, int32_t& writeIndex, Double4 delay,
                                const TapVectors& taps, double left, double right) {
    constexpr double kLength = ChorusEngine::kLineLength;
    Double4 position = static_cast<double>(writeIndex) - delay;
    position = position + where(lanesBelow(position, 0.0), kLength);
    const UInt4 outside = lanesBelow(position, 0.0) | lanesAtLeast(position, kLength);

    Double2 out = {left, right};
    if (anyLane(outside)) {
        // Delays longer than the line, or a read that lands exactly on its end: rare.
        double outLeft = left;
        double outRight = right;
        for (int k = 0; k < Taps; ++k) {
            engine.readAt(ChorusEngine::wrapReadPosition(position[k]), taps.crossWeight[k], outLeft,
                          outRight);
        }
        out = Double2{outLeft, outRight};
    } else {
        const Int4 slot = __builtin_convertvector(position, Int4);
        const Double4 fraction = position - __builtin_convertvector(slot, Double4);
        const Double4 keep = 1.0 - fraction;
        for (int k = 0; k < Taps; ++k) {
            const Double2 share = {keep[k], fraction[k]};
            const Double2 leftPair = loadPair(&engine.lineLeft[slot[k]]) * share;
            const Double2 rightPair = loadPair(&engine.lineRight[slot[k]]) * share;
            const Double2 firsts = {leftPair[0], rightPair[0]};
            const Double2 seconds = {leftPair[1], rightPair[1]};
            const Double2 read = firsts + seconds;      // (a, b)
            const Double2 crossed = {read[1], read[0]}; // (b, a)
            out += taps.keepPair[k] * read + taps.crossPair[k] * crossed;
        }
    }
    writeIndex = engine.writeFrame(writeIndex, left, right);
    return 0.5 * out;
}

// Engine settings for each frame of a stretch of frames, as the glides leave them. For
// Sine, also the sine and cosine of each frame's phase step.
struct StretchSettings {
    const double* phaseIncrement;
    const double* modDepth;
    const double* centerDelay;
    const double* stepSine;
    const double* stepCosine;
};

// Each tap's delay for modulation values `modulation`, in frames.
template <int Taps>
inline Double4 tapDelays(Double4 modulation, double modDepth, double centerDelay) {
    return inUse<Taps>(modulation) * broadcast(modDepth) + broadcast(centerDelay);
}

// Leaves the last frame's settings in the engine, as frame-by-frame processing would.
inline void keepLastSettings(ChorusEngine& engine, const StretchSettings& settings, int32_t n) {
    engine.phaseIncrement = settings.phaseIncrement[n];
    engine.modDepth = settings.modDepth[n];
    engine.centerDelay = settings.centerDelay[n];
}

// Sine taps all turn by the same angle every frame, so their sines follow by rotation:
// (sin, cos) of phase + step from (sin, cos) of phase and of the step, with a few products
// where the polynomial would be evaluated anew. The rotation starts from the phases
// themselves for every stretch, so its rounding never builds up beyond a few units in the
// last place; the phases are still advanced exactly as the one-frame computation does.
template <int Taps>
inline void sineDelays(ChorusEngine& engine, TapVectors& taps, const StretchSettings& settings,
                       Double4* delays, int32_t count) {
    constexpr double kHalfPi = ChorusEngine::kTwoPi / 4.0;
    Double4 phase = taps.phase;
    Double4 sine = sin4(phase);
    Double4 cosine = sin4(phase + kHalfPi);
    for (int32_t n = 0; n < count; ++n) {
        phase = wrapPhase(phase + broadcast(settings.phaseIncrement[n]));
        const Double4 stepSine = broadcast(settings.stepSine[n]);
        const Double4 stepCosine = broadcast(settings.stepCosine[n]);
        const Double4 nextSine = sine * stepCosine + cosine * stepSine;
        cosine = cosine * stepCosine - sine * stepSine;
        sine = nextSine;
        delays[n] = tapDelays<Taps>(sine, settings.modDepth[n], settings.centerDelay[n]);
    }
    taps.phase = phase;
    keepLastSettings(engine, settings, count - 1);
}

// New Wander targets for the taps whose clock has passed 1, drawn in tap order, rate
// before depth, as the one-tap-at-a-time computation draws them.
template <int Taps> inline void drawWanderTargets(ChorusEngine& engine, TapVectors& taps) {
    for (int k = 0; k < Taps; ++k) {
        if (taps.wanderClock[k] >= 1.0) {
            ChorusTap& tap = engine.tapStates[k];
            tap.wanderClock = taps.wanderClock[k];
            tap.wanderRateTarget = taps.wanderRateTarget[k];
            tap.wanderDepthTarget = taps.wanderDepthTarget[k];
            engine.drawWanderTargets(k);
            taps.wanderClock[k] = tap.wanderClock;
            taps.wanderRateTarget[k] = tap.wanderRateTarget;
            taps.wanderDepthTarget[k] = tap.wanderDepthTarget;
        }
    }
}

// Wander: move the drift clocks and followers, take the sine of the phase before this
// frame's advance, then advance each tap at its own rate.
template <int Taps>
inline void wanderDelays(ChorusEngine& engine, TapVectors& taps, const StretchSettings& settings,
                         Double4* delays, int32_t count) {
    Double4 phase = taps.phase;
    Double4 rate = taps.wanderRate;
    Double4 depth = taps.wanderDepth;
    for (int32_t n = 0; n < count; ++n) {
        taps.wanderClock += kWanderClockStep;
        if (anyLane(lanesAtLeast(inUse<Taps>(taps.wanderClock), 1.0))) {
            drawWanderTargets<Taps>(engine, taps);
        }
        rate = taps.wanderRateTarget * kWanderFollow + rate * kWanderKeep;
        depth = taps.wanderDepthTarget * kWanderFollow + depth * kWanderKeep;
        const Double4 modulation = sin4(phase) * depth;
        phase = wrapPhase(phase + broadcast(settings.phaseIncrement[n]) * rate);
        delays[n] = tapDelays<Taps>(modulation, settings.modDepth[n], settings.centerDelay[n]);
    }
    taps.phase = phase;
    taps.wanderRate = rate;
    taps.wanderDepth = depth;
    keepLastSettings(engine, settings, count - 1);
}

template <int Taps, bool Wander>
inline void stretchDelays(ChorusEngine& engine, TapVectors& taps, const StretchSettings& settings,
                          Double4* delays, int32_t count) {
    if constexpr (Wander) {
        wanderDelays<Taps>(engine, taps, settings, delays, count);
    } else {
        sineDelays<Taps>(engine, taps, settings, delays, count);
    }
}

} // namespace chorus_frames
} // namespace quillory
