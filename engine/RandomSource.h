#pragma once
// The effect's own pseudo-random integers, uniform over 0..32767 inclusive. Each effect has
// its own generator, so instances never disturb one another or the C library's global one,
// and tests can seed it for repeatable Wander draws.

#include <cstdint>

namespace quillory {

struct RandomSource {
    static constexpr int32_t kMaximum = 32767;

    uint64_t state = 0x853c49e6748fea9bULL;

    void seed(uint32_t value) {
        state = 0;
        next();
        state += value;
        next();
    }

    // One step of a 64-bit permuted congruential generator; the top 15 bits of its 32-bit
    // output are uniform over 0..32767.
    int32_t next() {
        const uint64_t previous = state;
        state = previous * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto xorShifted = static_cast<uint32_t>(((previous >> 18u) ^ previous) >> 27u);
        const auto rotation = static_cast<uint32_t>(previous >> 59u);
        const uint32_t output = (xorShifted >> rotation) | (xorShifted << ((32u - rotation) & 31u));
        return static_cast<int32_t>(output >> 17u);
    }
};

} // namespace quillory
