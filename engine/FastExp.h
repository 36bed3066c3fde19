#pragma once
// e^x for the depth and speed mappings, which run on every frame of a glide. The library
// exp costs more than a whole frame of the chorus; this one agrees with it to within a
// unit or two in the last place for the arguments the mappings use (0 to about 9), and
// works on four values at once as well as on one.
//
// x = k·ln2 + r with k the nearest integer to x/ln2 and |r| ≤ ln2/2; ln2 is split in two
// (Cody-Waite) so that r is exact. e^r comes from its Taylor series through r^13, whose
// remainder there is below 3e-18, and 2^k is put straight into the exponent bits.

#include "engine/VectorTypes.h"

#include <bit>
#include <cstdint>

namespace quillory {
namespace fast_exp_detail {

// 1/ln2 only chooses k, so its rounding does not matter.
inline constexpr double kInvLn2 = 1.4426950408889634;
// ln2 rounded to 32 significant bits, so that k·kLn2Hi is exact for |k| < 2^21 ...
inline constexpr double kLn2Hi = 0x1.62e42fefp-1;
// ... and the rest of ln2.
inline constexpr double kLn2Lo = 0x1.473de6af278edp-34;
// Adding 1.5·2^52 rounds a value below 2^51 to an integer k, which then sits in the low
// bits of the sum: its bits minus those of 1.5·2^52 are k as a two's complement integer.
inline constexpr double kRoundShift = 0x1.8p52;
inline constexpr uint64_t kRoundShiftBits = std::bit_cast<uint64_t>(kRoundShift);
inline constexpr uint64_t kExponentBias = 1023;

// F is double or Double4, U the unsigned integer type of the same width.
template <class F, class U> QUILLORY_INLINE F expKernel(F x) {
    const F shifted = x * kInvLn2 + kRoundShift;
    const F k = shifted - kRoundShift;
    const F r = (x - k * kLn2Hi) - k * kLn2Lo;

    // Summed in pairs, then quadruples (Estrin), so that the terms do not wait on one long
    // chain of operations.
    const F r2 = r * r;
    const F r4 = r2 * r2;
    const F r8 = r4 * r4;
    const F p01 = 1.0 + r;
    const F p23 = 1.0 / 2.0 + r * (1.0 / 6.0);
    const F p45 = 1.0 / 24.0 + r * (1.0 / 120.0);
    const F p67 = 1.0 / 720.0 + r * (1.0 / 5040.0);
    const F p89 = 1.0 / 40320.0 + r * (1.0 / 362880.0);
    const F p1011 = 1.0 / 3628800.0 + r * (1.0 / 39916800.0);
    const F p1213 = 1.0 / 479001600.0 + r * (1.0 / 6227020800.0);
    const F p0to3 = p01 + r2 * p23;
    const F p4to7 = p45 + r2 * p67;
    const F p8to11 = p89 + r2 * p1011;
    const F p0to7 = p0to3 + r4 * p4to7;
    const F p8to13 = p8to11 + r4 * p1213;
    const F sum = p0to7 + r8 * p8to13;

    // 2^k: the biased exponent k + 1023 in the exponent field.
    const U kBits = std::bit_cast<U>(shifted) - kRoundShiftBits;
    return sum * std::bit_cast<F>((kBits + kExponentBias) << 52);
}

} // namespace fast_exp_detail

QUILLORY_INLINE double fastExp(double x) {
    return fast_exp_detail::expKernel<double, uint64_t>(x);
}

QUILLORY_INLINE Double4 fastExp(Double4 x) {
    return fast_exp_detail::expKernel<Double4, UInt4>(x);
}

} // namespace quillory
