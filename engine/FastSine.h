#pragma once
// Sine of four modulation phases at once, for the audio path.
//
// The phase is reduced to r = phase - nπ with n the nearest integer to phase/π, so that
// r lies in [-π/2, π/2] and sin(phase) = (-1)^n · sin(r). π is split into two doubles
// (Cody-Waite) so that the reduction is exact next to the zeros at 0, π, 2π, ... and the
// result keeps its relative accuracy there. sin(r) comes from the odd Taylor polynomial
// through r^21, evaluated in Estrin's scheme to shorten the chain of dependent operations.
//
// Valid for phase in [-2π, 4π] (in fact for |n| ≤ 8). The Taylor remainder (π/2)^23/23! at
// r = ±π/2 is about 1e-18, so the rounding of the arithmetic is all that is left: within a
// few units in the last place of the C library's sine over that range. The chorus needs it:
// a tap's delay is the sine times up to 48,000 frames.
//
// No branches: the integer n is found by the round-to-integer shift below and its parity
// is read from the bits of the shifted value, so every lane runs the same instructions.
// This needs IEEE double arithmetic with round-to-nearest; -ffast-math would break it.

#include "engine/VectorTypes.h"

#include <bit>
#include <cstdint>

namespace quillory {

namespace fast_sine_detail {

// 1/π rounded to double; only used to choose n, so its rounding does not matter.
inline constexpr double kInvPi = 0x1.45f306dc9c883p-2;
// 1.5·2^52: adding it to a double of magnitude below 2^51 rounds that value to an
// integer, because the spacing of doubles in [2^52, 2^53) is exactly 1. The integer then
// sits in the low mantissa bits of the sum (2^51 + n), so bit 0 is the parity of n.
inline constexpr double kRoundShift = 0x1.8p52;
// π rounded to double. Its last three mantissa bits are zero (50 significant bits), so
// n·kPiHi is exact for |n| ≤ 8, and phase - n·kPiHi is exact by Sterbenz's lemma.
inline constexpr double kPiHi = 0x1.921fb54442d18p+1;
// π - kPiHi rounded to double; kPiHi + kPiLo is within 3e-33 of π.
inline constexpr double kPiLo = 0x1.1a62633145c07p-53;

// Taylor coefficients of sin: (-1)^k / (2k+1)!. Every factorial up to 19! is exact in a
// double, so those quotients are the correctly rounded coefficients; 21! is not, but its
// term is too small for that to show.
inline constexpr double kC3 = -1.0 / 6.0;
inline constexpr double kC5 = 1.0 / 120.0;
inline constexpr double kC7 = -1.0 / 5040.0;
inline constexpr double kC9 = 1.0 / 362880.0;
inline constexpr double kC11 = -1.0 / 39916800.0;
inline constexpr double kC13 = 1.0 / 6227020800.0;
inline constexpr double kC15 = -1.0 / 1307674368000.0;
inline constexpr double kC17 = 1.0 / 355687428096000.0;
inline constexpr double kC19 = -1.0 / 121645100408832000.0;
inline constexpr double kC21 = 1.0 / 51090942171709440000.0;

// Shared by the vector and scalar forms: F is Double4 or double, U the unsigned integer
// type of the same width.
template <class F, class U> QUILLORY_INLINE F sinKernel(F phase) {
    const F shifted = phase * kInvPi + kRoundShift;
    const F n = shifted - kRoundShift;
    const F r = (phase - n * kPiHi) - n * kPiLo;

    // sin(r) = r + r·z·Q(z) with z = r², Q(z) = kC3 + kC5·z + ... + kC21·z^9, grouped in
    // pairs, then quadruples, then eights (Estrin).
    const F z = r * r;
    const F z2 = z * z;
    const F z4 = z2 * z2;
    const F z8 = z4 * z4;
    const F q01 = kC3 + kC5 * z;
    const F q23 = kC7 + kC9 * z;
    const F q45 = kC11 + kC13 * z;
    const F q67 = kC15 + kC17 * z;
    const F q89 = kC19 + kC21 * z;
    const F q0123 = q01 + q23 * z2;
    const F q4567 = q45 + q67 * z2;
    const F q = (q0123 + q4567 * z4) + q89 * z8;
    const F s = r + (r * z) * q;

    // Odd n: flip the sign bit.
    const U sign = std::bit_cast<U>(shifted) << 63;
    return std::bit_cast<F>(std::bit_cast<U>(s) ^ sign);
}

} // namespace fast_sine_detail

// sin of each lane; phase in [-2π, 4π].
QUILLORY_INLINE Double4 sin4(Double4 phase) {
    return fast_sine_detail::sinKernel<Double4, UInt4>(phase);
}

// The same computation for one value.
QUILLORY_INLINE double sinScalar(double phase) {
    return fast_sine_detail::sinKernel<double, std::uint64_t>(phase);
}

} // namespace quillory
