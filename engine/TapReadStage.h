#pragma once
// The last stage of a stretch: every frame's line reads at the taps' delays, the engine's
// output and the dry/wet mix, and the frame stored in the lines.

#include "engine/ChorusProcessor.h"
#include "engine/TapLanes.h"

namespace quillory::stages {

// Two frames of the line side by side: (left, right) below a read position, then above it.
QUILLORY_INLINE Double4 framePairAt(const ChorusEngine& engine, int32_t slot) {
    return loadDouble4(&engine.line[slot].left);
}

// Every tap's read at its delay, one tap per lane, for frame `writeIndex` (which is still to
// be written: the slot there holds the frame from a line's length ago). A delay of d = D + φ
// frames (D whole) lies between the frames D + 1 and D back, which get the shares φ and
// 1 − φ: two-point linear interpolation. The slot arithmetic wraps by the line's mask, so a
// delay longer than the line wraps round it as often as needed.
struct TapReads {
    Double4 left;  // per tap
    Double4 right; // per tap
};

template <int Taps>
QUILLORY_INLINE TapReads readLines(const ChorusEngine& engine, int32_t writeIndex, Double4 delay) {
    const Int4 whole = __builtin_convertvector(delay, Int4); // delays are positive
    const Double4 earlierShare = delay - __builtin_convertvector(whole, Double4);
    const Double4 laterShare = 1.0 - earlierShare;
    const Int4 slot = (writeIndex - 1 - whole) & (kLineLength - 1);

    // One row per tap: (left, right) of the earlier frame, then of the later one. Rows of
    // taps not in use are zero.
    const Double4 row0 = framePairAt(engine, slot[0]);
    const Double4 row1 = framePairAt(engine, slot[1]);
    const Double4 row2 = Taps > 2 ? framePairAt(engine, slot[2]) : Double4{};
    const Double4 row3 = Taps > 3 ? framePairAt(engine, slot[3]) : Double4{};
    // Transposed into one vector per channel and frame, a lane per tap.
    const Double4 low01 = __builtin_shufflevector(row0, row1, 0, 4, 2, 6);
    const Double4 high01 = __builtin_shufflevector(row0, row1, 1, 5, 3, 7);
    const Double4 low23 = __builtin_shufflevector(row2, row3, 0, 4, 2, 6);
    const Double4 high23 = __builtin_shufflevector(row2, row3, 1, 5, 3, 7);
    const Double4 earlierLeft = __builtin_shufflevector(low01, low23, 0, 1, 4, 5);
    const Double4 laterLeft = __builtin_shufflevector(low01, low23, 2, 3, 6, 7);
    const Double4 earlierRight = __builtin_shufflevector(high01, high23, 0, 1, 4, 5);
    const Double4 laterRight = __builtin_shufflevector(high01, high23, 2, 3, 6, 7);
    return {earlierShare * earlierLeft + laterShare * laterLeft,
            earlierShare * earlierRight + laterShare * laterRight};
}

// The same for two taps, in the low halves only: with two taps the upper lanes would carry
// nothing but zeros.
struct TwoTapReads {
    Double2 left;
    Double2 right;
};

QUILLORY_INLINE TwoTapReads readTwoLines(const ChorusEngine& engine, int32_t writeIndex,
                                         Double2 delay) {
    const Double4 wide = {delay[0], delay[1], 0.0, 0.0};
    const Int4 whole = __builtin_convertvector(wide, Int4);
    const Double2 earlierShare = delay - lowHalf(__builtin_convertvector(whole, Double4));
    const Double2 laterShare = 1.0 - earlierShare;
    const Int4 slot = (writeIndex - 1 - whole) & (kLineLength - 1);
    const Double4 row0 = framePairAt(engine, slot[0]);
    const Double4 row1 = framePairAt(engine, slot[1]);
    const Double4 left = __builtin_shufflevector(row0, row1, 0, 4, 2, 6);
    const Double4 right = __builtin_shufflevector(row0, row1, 1, 5, 3, 7);
    return {earlierShare * lowHalf(left) + laterShare * highHalf(left),
            earlierShare * lowHalf(right) + laterShare * highHalf(right)};
}

// The engine's output for one frame: the input plus every tap's read spread across the
// channels by the tap's weights (weights of taps not in use are zero), all halved.
template <int Taps>
QUILLORY_INLINE Double2 engineOutput(const ChorusEngine& engine, int32_t writeIndex, Double4 delay,
                                     const TapLanes& taps, double left, double right) {
    if constexpr (Taps == 0) {
        // A mode outside the tap layouts: the input passes through, unhalved.
        return Double2{left, right};
    } else if constexpr (Taps == 2) {
        const TwoTapReads read = readTwoLines(engine, writeIndex, lowHalf(delay));
        const Double2 keep = lowHalf(taps.keepWeight);
        const Double2 cross = lowHalf(taps.crossWeight);
        const Double2 toLeft = keep * read.left + cross * read.right;
        const Double2 toRight = keep * read.right + cross * read.left;
        const Double2 sums = __builtin_shufflevector(toLeft, toRight, 0, 2) +
                             __builtin_shufflevector(toLeft, toRight, 1, 3);
        return 0.5 * (Double2{left, right} + sums);
    } else {
        const TapReads read = readLines<Taps>(engine, writeIndex, delay);
        const Double4 toLeft = taps.keepWeight * read.left + taps.crossWeight * read.right;
        const Double4 toRight = taps.keepWeight * read.right + taps.crossWeight * read.left;
        // Sums over the taps: pairs of lanes first, then the two halves.
        const Double4 pairs = __builtin_shufflevector(toLeft, toRight, 0, 4, 2, 6) +
                              __builtin_shufflevector(toLeft, toRight, 1, 5, 3, 7);
        const Double2 sums = lowHalf(pairs) + highHalf(pairs);
        return 0.5 * (Double2{left, right} + sums);
    }
}

// Frames first .. first + count of the block: the engine's output of each, kept for the mix,
// and each input frame stored in the lines. The write position stays in a local across the
// stretch, out of the engine's memory.
template <int Taps>
QUILLORY_INLINE void readTaps(ChorusEngine& engine, const TapLanes& taps, StretchSettings& stretch,
                              const float* const* inputs, int32_t first, int32_t count) {
    int32_t writeIndex = engine.writeIndex;
    for (int32_t n = 0; n < count; ++n) {
        const double left = inputs[0][first + n];
        const double right = inputs[1][first + n];
        const Double2 wet =
            engineOutput<Taps>(engine, writeIndex, stretch.delays[n], taps, left, right);
        stretch.engineLeft[n] = wet[0];
        stretch.engineRight[n] = wet[1];
        writeIndex = engine.writeFrame(writeIndex, left, right);
    }
    engine.writeIndex = writeIndex;
}

// The output: the engine's output and the untouched input blended by the mix gains, four
// frames at a time, then the frames left over one by one. Every input frame was read in the
// stage before, so the host may process in place.
template <class Sample>
QUILLORY_INLINE void mix(const StretchSettings& stretch, const float* const* inputs,
                         Sample* const* outputs, int32_t first, int32_t count) {
    int32_t n = 0;
    for (; n + 4 <= count; n += 4) {
        const Double4 wet = loadDouble4(&stretch.wetGain[n]);
        const Double4 dry = loadDouble4(&stretch.dryGain[n]);
        const Double4 left =
            wet * loadDouble4(&stretch.engineLeft[n]) + dry * loadWidened4(&inputs[0][first + n]);
        const Double4 right =
            dry * loadWidened4(&inputs[1][first + n]) + wet * loadDouble4(&stretch.engineRight[n]);
        storeNarrowed4(&outputs[0][first + n], left);
        storeNarrowed4(&outputs[1][first + n], right);
    }
    for (; n < count; ++n) {
        const double left = inputs[0][first + n];
        const double right = inputs[1][first + n];
        outputs[0][first + n] = static_cast<Sample>(stretch.wetGain[n] * stretch.engineLeft[n] +
                                                    stretch.dryGain[n] * left);
        outputs[1][first + n] = static_cast<Sample>(stretch.dryGain[n] * right +
                                                    stretch.wetGain[n] * stretch.engineRight[n]);
    }
}

} // namespace quillory::stages
