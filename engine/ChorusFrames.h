#pragma once
// One frame of the chorus for a fixed tap count and waveform, with all taps' modulation
// computed in vectors. It performs exactly the arithmetic of ChorusEngine::processFrame,
// tap by tap in the same order, except that the sine comes from a polynomial (within
// 1e-13 of the library sine), so the two agree far below the resolution of the output.

#include "engine/ChorusEngine.h"
#include "engine/TapVectors.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace quillory {
namespace chorus_frames {

constexpr double kTwoPi = ChorusEngine::kTwoPi;
constexpr double kWanderClockStep = 0.00002;
constexpr double kWanderFollow = 0.00004;
constexpr double kWanderKeep = 0.99996;

// Lanes of taps not in use are computed too but never read; they are pinned to a zero
// modulation so that their arithmetic stays finite and their read positions need no wrap.
template <int Taps> inline Double4 inUse(Double4 values) {
    const Double4 lane = {0.0, 1.0, 2.0, 3.0};
    return lane < Taps ? values : Double4{};
}

inline Double4 wrapPhase(Double4 phase) {
    return phase > kTwoPi ? phase - kTwoPi : phase;
}

// Reads both lines for every tap and mixes the taps into the frame, as the common tap
// read does, then stores the frame and advances the write slot.
template <int Taps>
inline void readTapsAndStore(ChorusEngine& engine, Double4 modulation, Double4 crossWeight,
                             double left, double right) {
    constexpr double kLength = ChorusEngine::kLineLength;
    const Double4 delay = inUse<Taps>(modulation) * engine.modDepth + engine.centerDelay;
    Double4 position = static_cast<double>(engine.writeIndex) - delay;
    position = position < 0.0 ? position + kLength : position;
    for (int k = 0; k < Taps; ++k) {
        if (position[k] < 0.0) {
            position[k] = ChorusEngine::wrapReadPosition(position[k]);
        }
    }

    double outLeft = left;
    double outRight = right;
    for (int k = 0; k < Taps; ++k) {
        double a;
        double b;
        if (position[k] >= kLength) {
            a = engine.lineLeft[ChorusEngine::kLineLength - 1];
            b = engine.lineRight[ChorusEngine::kLineLength - 1];
        } else {
            const auto i = static_cast<int32_t>(position[k]);
            const int32_t j = i + 1 == ChorusEngine::kLineLength ? 0 : i + 1;
            const double f = position[k] - i;
            a = (1.0 - f) * engine.lineLeft[i] + f * engine.lineLeft[j];
            b = (1.0 - f) * engine.lineRight[i] + f * engine.lineRight[j];
        }
        const double w = crossWeight[k];
        outLeft += (1.0 - w) * a + w * b;
        outRight += (1.0 - w) * b + w * a;
    }
    engine.outLeft = 0.5 * outLeft;
    engine.outRight = 0.5 * outRight;

    engine.lineLeft[engine.writeIndex] = left;
    engine.lineRight[engine.writeIndex] = right;
    engine.writeIndex = (engine.writeIndex + 1) & (ChorusEngine::kLineLength - 1);
}

template <int Taps>
inline void sineFrame(ChorusEngine& engine, TapVectors& taps, double left, double right) {
    // Advance, wrap, then take the sine of the new phase.
    taps.phase = wrapPhase(taps.phase + engine.phaseIncrement);
    readTapsAndStore<Taps>(engine, sin4(taps.phase), taps.crossWeight, left, right);
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

template <int Taps>
inline void wanderFrame(ChorusEngine& engine, TapVectors& taps, double left, double right) {
    taps.wanderClock += kWanderClockStep;
    const Double4 due = inUse<Taps>(taps.wanderClock);
    if (((due[0] >= 1.0) | (due[1] >= 1.0) | (due[2] >= 1.0) | (due[3] >= 1.0)) != 0) {
        drawWanderTargets<Taps>(engine, taps);
    }
    taps.wanderRate = taps.wanderRateTarget * kWanderFollow + taps.wanderRate * kWanderKeep;
    taps.wanderDepth = taps.wanderDepthTarget * kWanderFollow + taps.wanderDepth * kWanderKeep;
    // The modulation uses the phase before this frame's advance.
    const Double4 modulation = sin4(taps.phase) * taps.wanderDepth;
    taps.phase = wrapPhase(taps.phase + engine.phaseIncrement * taps.wanderRate);
    readTapsAndStore<Taps>(engine, modulation, taps.crossWeight, left, right);
}

} // namespace chorus_frames
} // namespace quillory

#pragma GCC diagnostic pop
