#pragma once
// Small fixed-width vectors (GCC/clang vector extensions) for the audio path. With plain
// SSE2 each 32-byte operation becomes two instructions; nothing here needs AVX.

#include <cstdint>
#include <cstring>

namespace quillory {

using Double4 = double __attribute__((vector_size(32)));      // one lane per tap
using UInt4 = std::uint64_t __attribute__((vector_size(32))); // lane masks of Double4
using Int4 = std::int32_t __attribute__((vector_size(16)));   // slot numbers per tap
using Double2 = double __attribute__((vector_size(16)));      // a (left, right) pair
using UInt2 = std::uint64_t __attribute__((vector_size(16)));

// Lane comparisons made half by half: compilers turn a comparison of a whole 32-byte vector
// into four scalar comparisons when the machine has only 16-byte registers, but compare a
// 16-byte half in one instruction.
namespace vector_detail {
struct Halves {
    Double2 low;
    Double2 high;
};

template <class Compare> inline UInt4 compareHalves(Double4 values, Compare compare) {
    Halves halves;
    std::memcpy(&halves, &values, sizeof(halves));
    const UInt2 masks[2] = {compare(halves.low), compare(halves.high)};
    UInt4 mask;
    std::memcpy(&mask, masks, sizeof(mask));
    return mask;
}
} // namespace vector_detail

inline UInt4 lanesAbove(Double4 values, double limit) {
    return vector_detail::compareHalves(
        values, [limit](Double2 half) { return static_cast<UInt2>(half > limit); });
}

inline UInt4 lanesAtLeast(Double4 values, double limit) {
    return vector_detail::compareHalves(
        values, [limit](Double2 half) { return static_cast<UInt2>(half >= limit); });
}

inline UInt4 lanesBelow(Double4 values, double limit) {
    return vector_detail::compareHalves(
        values, [limit](Double2 half) { return static_cast<UInt2>(half < limit); });
}

inline Double4 broadcast(double value) {
    return Double4{value, value, value, value};
}

inline Double4 loadDouble4(const double* from) {
    Double4 values;
    std::memcpy(&values, from, sizeof(values));
    return values;
}

inline void storeDouble4(double* to, Double4 values) {
    std::memcpy(to, &values, sizeof(values));
}

inline bool anyLane(UInt4 mask) {
    return (mask[0] | mask[1] | mask[2] | mask[3]) != 0;
}

} // namespace quillory
