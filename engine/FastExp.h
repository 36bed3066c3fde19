#pragma once
// e^x for the depth and speed mappings, which run on every frame of a glide. The library
// exp costs more than a whole frame of the chorus; this one agrees with it to within a
// few units in the last place for the arguments the mappings use (0 to about 9).
//
// x = k·ln2 + r with k the nearest integer to x/ln2 and |r| ≤ ln2/2; ln2 is split in two
// (Cody-Waite) so that r is exact. e^r comes from its Taylor series through r^13, whose
// remainder there is below 3e-18, and 2^k is put straight into the exponent bits.

#include <bit>
#include <cstdint>

namespace quillory {

inline double fastExp(double x) {
    // 1/ln2 only chooses k, so its rounding does not matter.
    constexpr double kInvLn2 = 1.4426950408889634;
    // ln2 rounded to 32 significant bits, so k·kLn2Hi is exact for |k| < 2^21 ...
    constexpr double kLn2Hi = 0x1.62e42fefp-1;
    // ... and the rest of ln2.
    constexpr double kLn2Lo = 0x1.473de6af278edp-34;
    // Adding 1.5·2^52 rounds to an integer (see the sine reduction).
    constexpr double kRoundShift = 0x1.8p52;

    const double shifted = x * kInvLn2 + kRoundShift;
    const double k = shifted - kRoundShift;
    const double r = (x - k * kLn2Hi) - k * kLn2Lo;

    // e^r = 1 + r + r²/2! + ... + r^13/13!, summed in pairs, then quadruples (Estrin) so
    // that a glide's per-frame exponentials do not wait on one long chain of operations.
    const double r2 = r * r;
    const double r4 = r2 * r2;
    const double r8 = r4 * r4;
    const double p01 = 1.0 + r;
    const double p23 = 1.0 / 2.0 + r * (1.0 / 6.0);
    const double p45 = 1.0 / 24.0 + r * (1.0 / 120.0);
    const double p67 = 1.0 / 720.0 + r * (1.0 / 5040.0);
    const double p89 = 1.0 / 40320.0 + r * (1.0 / 362880.0);
    const double p1011 = 1.0 / 3628800.0 + r * (1.0 / 39916800.0);
    const double p1213 = 1.0 / 479001600.0 + r * (1.0 / 6227020800.0);
    const double p0to3 = p01 + r2 * p23;
    const double p4to7 = p45 + r2 * p67;
    const double p8to11 = p89 + r2 * p1011;
    const double p0to7 = p0to3 + r4 * p4to7;
    const double p8to13 = p8to11 + r4 * p1213;
    const double sum = p0to7 + r8 * p8to13;

    // 2^k for |k| well inside the exponent range: the biased exponent k + 1023.
    const auto exponent = static_cast<int64_t>(k) + 1023;
    return sum * std::bit_cast<double>(static_cast<uint64_t>(exponent) << 52);
}

} // namespace quillory
