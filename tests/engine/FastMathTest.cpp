#include "engine/FastExp.h"
#include "engine/FastSine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace quillory {
namespace {

constexpr double kPi = std::numbers::pi;

// The accuracy the modulation needs, relative to the C library's sine.
::testing::AssertionResult closeToSine(double phase, double value) {
    const double expected = std::sin(phase);
    if (std::fabs(value - expected) <= 1e-12 * std::fabs(expected) + 1e-300) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "sin(" << phase << ") = " << expected << ", got " << value;
}

TEST(FastSine, MatchesLibrarySineOverWholeRange) {
    // Dense grid over [-2π, 4π]; each call takes one point from each quarter of the grid,
    // so the four lanes always hold unrelated phases and a lane mix-up shows.
    constexpr int kQuarter = 500000;
    constexpr double kStep = 6.0 * kPi / (4 * kQuarter);
    for (int i = 0; i < kQuarter; ++i) {
        Double4 phase;
        for (int lane = 0; lane < 4; ++lane) {
            phase[lane] = -2.0 * kPi + (i + lane * kQuarter) * kStep;
        }
        const Double4 result = sin4(phase);
        for (int lane = 0; lane < 4; ++lane) {
            ASSERT_TRUE(closeToSine(phase[lane], result[lane]));
        }
    }
}

TEST(FastSine, KeepsRelativeAccuracyNextToZerosAndPeaks) {
    // Every multiple of π/2 in range, the doubles either side of it, and the end of the
    // overshoot past 2π; both forms, with each point placed in a different lane per call.
    std::vector<double> points{0.0, 2.0 * kPi + 0.01};
    for (int k = -4; k <= 8; ++k) {
        const double p = k * (kPi / 2.0);
        points.insert(points.end(), {std::nextafter(p, -10.0), p, std::nextafter(p, 20.0)});
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_TRUE(closeToSine(points[i], sinScalar(points[i])));
        const Double4 phase{points[i], 1.0, points[(i + 1) % points.size()], -points[i]};
        const Double4 result = sin4(phase);
        for (int lane = 0; lane < 4; ++lane) {
            EXPECT_TRUE(closeToSine(phase[lane], result[lane]));
        }
    }
}

// The depth and speed mappings take e^x for x from 0 to ln 5000 (and ln 1000).
TEST(FastExp, AgreesWithTheLibraryAcrossTheMappingsRange) {
    double worst = 0.0;
    for (int i = 0; i <= 200000; ++i) {
        const double x = -1.0 + 11.0 * i / 200000.0;
        worst = std::max(worst, std::fabs(fastExp(x) - std::exp(x)) / std::exp(x));
    }
    EXPECT_LT(worst, 1e-15);
    EXPECT_EQ(fastExp(0.0), 1.0);
}

} // namespace
} // namespace quillory
