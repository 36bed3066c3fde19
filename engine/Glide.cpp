#include "engine/Glide.h"

namespace quillory {
namespace {

// One-pole steps of up to three glides side by side, frames `first` .. `end`, each value
// written into its array. Glides that do not move hold their target, which a step leaves
// exactly where it is.
struct GlideLanes {
    double value[3];
    double target[3];

    void step(double* const* values, int32_t first, int32_t end) {
        double a = value[0];
        double b = value[1];
        double c = value[2];
        for (int32_t n = first; n < end; ++n) {
            a = a + (target[0] - a) * kGlideCoefficient;
            b = b + (target[1] - b) * kGlideCoefficient;
            c = c + (target[2] - c) * kGlideCoefficient;
            values[0][n] = a;
            values[1][n] = b;
            values[2][n] = c;
        }
        value[0] = a;
        value[1] = b;
        value[2] = c;
    }
};

} // namespace

void advanceGlides(Glide* const* glides, double* const* values, int32_t frames, int32_t* moving) {
    GlideLanes lanes{};
    for (int32_t g = 0; g < kGlidesSideBySide; ++g) {
        const Glide& glide = *glides[g];
        moving[g] = glide.count - 1 < frames ? (glide.count > 0 ? glide.count - 1 : 0) : frames;
        lanes.value[g] = moving[g] > 0 ? glide.current : glide.target;
        lanes.target[g] = glide.target;
    }
    int32_t n = 0;
    while (n < frames) {
        // Up to the next frame at which a glide lands on its target.
        int32_t until = frames;
        for (int32_t g = 0; g < kGlidesSideBySide; ++g) {
            if (moving[g] > n && moving[g] < until) {
                until = moving[g];
            }
        }
        lanes.step(values, n, until);
        n = until;
        // A glide whose steps end inside the run lands exactly on its target.
        for (int32_t g = 0; g < kGlidesSideBySide; ++g) {
            if (moving[g] == n && n < frames) {
                lanes.value[g] = lanes.target[g];
            }
        }
    }
    for (int32_t g = 0; g < kGlidesSideBySide; ++g) {
        Glide& glide = *glides[g];
        glide.current = lanes.value[g];
        glide.count = glide.count > frames ? glide.count - frames : 0;
    }
}

} // namespace quillory
