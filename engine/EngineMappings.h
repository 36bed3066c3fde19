#pragma once
// The depth and speed settings in the engine's units, for one value or for four (the
// frames of a glide are mapped four at a time). Both forms do the same operations in the
// same order, so they give the same numbers.

#include "engine/ChorusEngine.h"
#include "engine/FastExp.h"
#include "engine/VectorTypes.h"

namespace quillory {

// Above this many frames of half-depth the centre delay stops growing with the depth, so
// that deep settings do not push the whole sound far behind the beat. A count of frames,
// not a time: it does not scale with the sample rate.
inline constexpr double kCenterOffsetLimit = 440.0;

// Depth value 0..1 → modulation depth in frames: 0.1 ms × 5000^value.
template <class F> inline F modDepthFor(const ChorusEngine& engine, F value, double sampleRate) {
    return fastExp(value * engine.depthLogRange) * engine.depthBase * sampleRate;
}

inline double centerDelayFor(double modDepth) {
    const double half = 0.5 * modDepth;
    return half > kCenterOffsetLimit ? modDepth + kCenterOffsetLimit : modDepth + half;
}

inline Double4 centerDelayFor(Double4 modDepth) {
    const Double4 half = 0.5 * modDepth;
    const UInt4 capped = lanesAbove(half, kCenterOffsetLimit);
    const Double4 limit = half * 0.0 + kCenterOffsetLimit;
    const UInt4 offset =
        (capped & std::bit_cast<UInt4>(limit)) | (~capped & std::bit_cast<UInt4>(half));
    return modDepth + std::bit_cast<Double4>(offset);
}

// Speed value 0..1 → phase step per frame: 2π over a period of 0.05 s × 1000^(1 − value)
// in frames. Written as a product with e^-x rather than a quotient of e^x: the two differ
// by a unit in the last place, and products cost a fraction of a division.
template <class F>
inline F phaseIncrementFor(const ChorusEngine& engine, F value, double sampleRate) {
    const double cyclesPerFrame = ChorusEngine::kTwoPi / (engine.periodBase * sampleRate);
    return fastExp((value - 1.0) * engine.periodLogRange) * cyclesPerFrame;
}

// Sine and cosine of phase steps, which stay below 0.13 rad at any sample rate the effect
// accepts (20 Hz at 1 kHz): their Taylor series through x^9 and x^10 leave less than
// 4e-18 there.
template <class F> inline F stepSineFor(F step) {
    const F x2 = step * step;
    return step * (1.0 - x2 / 6.0 * (1.0 - x2 / 20.0 * (1.0 - x2 / 42.0 * (1.0 - x2 / 72.0))));
}

template <class F> inline F stepCosineFor(F step) {
    const F x2 = step * step;
    return 1.0 -
           x2 / 2.0 * (1.0 - x2 / 12.0 * (1.0 - x2 / 30.0 * (1.0 - x2 / 56.0 * (1.0 - x2 / 90.0))));
}

} // namespace quillory
