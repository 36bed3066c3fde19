#pragma once
// Reads the delays of two taps back from the audio. With a ramp (frame n holds n) on the left
// input, silence on the right and only the engine's output in the mix, each tap reads
// n − delay from the left line and 0 from the right; its weights (1 − w on its own channel,
// w on the other) make the two outputs two equations in the two unknown reads.

#include <cmath>
#include <cstdint>
#include <vector>

namespace quillory::testing {

struct TapDelayTrack {
    std::vector<double> tap0;
    std::vector<double> tap1;
};

// The two taps' delays in every frame from `first` on, given the outputs for the ramp input
// and the taps' cross weights.
template <class Sample>
TapDelayTrack twoTapDelays(const std::vector<Sample>& left, const std::vector<Sample>& right,
                           size_t first, double weight0 = 0.67, double weight1 = 0.33) {
    TapDelayTrack track;
    for (size_t n = first; n < left.size(); ++n) {
        // left = 0.5 (n + (1 − w0) r0 + (1 − w1) r1), right = 0.5 (w0 r0 + w1 r1)
        const double a = 2.0 * left[n] - static_cast<double>(n);
        const double b = 2.0 * right[n];
        const double determinant = (1.0 - weight0) * weight1 - (1.0 - weight1) * weight0;
        const double read0 = (a * weight1 - b * (1.0 - weight1)) / determinant;
        const double read1 = ((1.0 - weight0) * b - weight0 * a) / determinant;
        track.tap0.push_back(static_cast<double>(n) - read0);
        track.tap1.push_back(static_cast<double>(n) - read1);
    }
    return track;
}

// Frames between upward crossings of `centre`, averaged over the whole track: the period of
// a swing around it.
inline double meanPeriod(const std::vector<double>& delays, double centre) {
    int64_t first = -1;
    int64_t last = -1;
    int crossings = 0;
    for (size_t n = 1; n < delays.size(); ++n) {
        if (delays[n - 1] < centre && delays[n] >= centre) {
            if (first < 0) {
                first = static_cast<int64_t>(n);
            }
            last = static_cast<int64_t>(n);
            ++crossings;
        }
    }
    return crossings > 1 ? static_cast<double>(last - first) / (crossings - 1) : 0.0;
}

} // namespace quillory::testing
