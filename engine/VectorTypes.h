#pragma once
// Small fixed-width vectors (GCC/clang vector extensions) for the audio path. With plain
// SSE2 each 32-byte operation becomes two instructions; the same code compiled for AVX2
// makes it one.

#include <bit>
#include <cstdint>
#include <cstring>

// The audio path's helpers are forced inline: a kernel compiled for a wider vector unit then
// carries its own copy of each, in that unit's instructions, instead of calling the baseline
// copy.
#define QUILLORY_INLINE [[gnu::always_inline]] inline

namespace quillory {

using Double4 = double __attribute__((vector_size(32)));      // one lane per tap or frame
using UInt4 = std::uint64_t __attribute__((vector_size(32))); // lane masks of Double4
using Int4 = std::int32_t __attribute__((vector_size(16)));   // slot numbers per tap
using Double2 = double __attribute__((vector_size(16)));      // a (left, right) pair
using UInt2 = std::uint64_t __attribute__((vector_size(16)));
using Float4 = float __attribute__((vector_size(16))); // four frames of one channel

// The two halves of a 32-byte vector, and a vector made of two halves. With plain SSE2 these
// cost nothing (a 32-byte vector is two registers); with AVX they are a lane extract or insert.
QUILLORY_INLINE Double2 lowHalf(Double4 values) {
    return __builtin_shufflevector(values, values, 0, 1);
}

QUILLORY_INLINE Double2 highHalf(Double4 values) {
    return __builtin_shufflevector(values, values, 2, 3);
}

QUILLORY_INLINE UInt4 joinHalves(UInt2 low, UInt2 high) {
    return __builtin_shufflevector(low, high, 0, 1, 2, 3);
}

// Lane comparisons made half by half: compilers turn a comparison of a whole 32-byte vector
// into four scalar comparisons when the machine has only 16-byte registers, but compare a
// 16-byte half in one instruction.
namespace vector_detail {
template <class Compare> QUILLORY_INLINE UInt4 compareHalves(Double4 values, Compare compare) {
    return joinHalves(compare(lowHalf(values)), compare(highHalf(values)));
}
} // namespace vector_detail

QUILLORY_INLINE UInt4 lanesAbove(Double4 values, double limit) {
    return vector_detail::compareHalves(
        values, [limit](Double2 half) { return static_cast<UInt2>(half > limit); });
}

QUILLORY_INLINE Double4 broadcast(double value) {
    return Double4{value, value, value, value};
}

// `amount` in the lanes where `mask` is set, +0 elsewhere. Selecting with bit operations
// keeps the work in vector registers; adding or subtracting +0 leaves a lane unchanged.
QUILLORY_INLINE Double4 where(UInt4 mask, double amount) {
    return std::bit_cast<Double4>(mask & std::bit_cast<UInt4>(broadcast(amount)));
}

QUILLORY_INLINE Double4 loadDouble4(const double* from) {
    Double4 values;
    std::memcpy(&values, from, sizeof(values));
    return values;
}

QUILLORY_INLINE void storeDouble4(double* to, Double4 values) {
    std::memcpy(to, &values, sizeof(values));
}

// Four samples of a host buffer, widened to double, and four narrowed back into one (or,
// for the unrounded output, stored as they are).
QUILLORY_INLINE Double4 loadWidened4(const float* from) {
    Float4 values;
    std::memcpy(&values, from, sizeof(values));
    return __builtin_convertvector(values, Double4);
}

QUILLORY_INLINE void storeNarrowed4(float* to, Double4 values) {
    const Float4 narrowed = __builtin_convertvector(values, Float4);
    std::memcpy(to, &narrowed, sizeof(narrowed));
}

QUILLORY_INLINE void storeNarrowed4(double* to, Double4 values) {
    storeDouble4(to, values);
}

// Whether any lane is above `limit`: one comparison per half and the halves' sign bits.
QUILLORY_INLINE bool anyAbove(Double4 values, double limit) {
    const UInt2 above =
        static_cast<UInt2>(lowHalf(values) > limit) | static_cast<UInt2>(highHalf(values) > limit);
#if defined(__SSE2__)
    return __builtin_ia32_movmskpd(std::bit_cast<Double2>(above)) != 0;
#else
    return (above[0] | above[1]) != 0;
#endif
}

} // namespace quillory
