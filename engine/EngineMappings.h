#pragma once
// The depth and speed settings in the engine's units, for one value or for four (the frames
// of a glide are mapped four at a time). Both forms do the same operations in the same order,
// so they give the same numbers.

#include "engine/ChorusConstants.h"
#include "engine/FastExp.h"
#include "engine/VectorTypes.h"

#include <bit>

namespace quillory {

// Depth setting 0..1 → modulation depth in frames: 0.1 ms × 5000^setting.
template <class F> QUILLORY_INLINE F modDepthFor(F value, double sampleRate) {
    return fastExp(value * kDepthLogRange) * kDepthBase * sampleRate;
}

// The centre sits half a depth behind the depth, but at most kCenterOffsetLimit frames.
QUILLORY_INLINE double centerDelayFor(double modDepth) {
    const double half = 0.5 * modDepth;
    return half > kCenterOffsetLimit ? modDepth + kCenterOffsetLimit : modDepth + half;
}

QUILLORY_INLINE Double4 centerDelayFor(Double4 modDepth) {
    const Double4 half = 0.5 * modDepth;
    const UInt4 capped = lanesAbove(half, kCenterOffsetLimit);
    const UInt4 offset = (capped & std::bit_cast<UInt4>(broadcast(kCenterOffsetLimit))) |
                         (~capped & std::bit_cast<UInt4>(half));
    return modDepth + std::bit_cast<Double4>(offset);
}

// Speed setting 0..1 → phase step per frame: 2π over a period of 0.05 s × 1000^(1 − setting)
// in frames. Written as a product with e^-x rather than a quotient of e^x: the two differ by
// a unit in the last place, and products cost a fraction of a division.
template <class F> QUILLORY_INLINE F phaseIncrementFor(F value, double sampleRate) {
    const double radiansPerFrame = kTwoPi / (kPeriodBase * sampleRate);
    return fastExp((value - 1.0) * kPeriodLogRange) * radiansPerFrame;
}

} // namespace quillory
