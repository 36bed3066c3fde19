#pragma once
// Helpers shared by the engine's tests: stereo buffers in the shape the processing calls take,
// test noise, and the processor and reference set up alike.

#include "engine/ChorusProcessor.h"
#include "tests/reference/ReferenceChorus.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace quillory::testing {

template <class Sample> struct StereoBuffer {
    explicit StereoBuffer(size_t frames) : left(frames), right(frames) {}
    std::vector<Sample> left;
    std::vector<Sample> right;
    Sample* channels[2] = {nullptr, nullptr};

    // Channel pointers starting at `frame`.
    Sample* const* at(size_t frame) {
        channels[0] = left.data() + frame;
        channels[1] = right.data() + frame;
        return channels;
    }
    size_t frames() const { return left.size(); }
};

inline StereoBuffer<float> noise(size_t frames, uint32_t seed, float level = 1.0f) {
    StereoBuffer<float> buffer(frames);
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-level, level);
    for (size_t i = 0; i < frames; ++i) {
        buffer.left[i] = uniform(generator);
        buffer.right[i] = uniform(generator);
    }
    return buffer;
}

// The processor holds a megabyte of delay lines: on the heap.
inline std::unique_ptr<ChorusProcessor> makeProcessor(VectorUnit unit = bestVectorUnit()) {
    auto chorus = std::make_unique<ChorusProcessor>();
    chorus->vectorUnit = unit;
    return chorus;
}

inline std::vector<VectorUnit> availableVectorUnits() {
    std::vector<VectorUnit> units;
    for (const VectorUnit unit : {VectorUnit::baseline, VectorUnit::avx2}) {
        if (vectorUnitAvailable(unit)) {
            units.push_back(unit);
        }
    }
    return units;
}

inline const char* nameOf(VectorUnit unit) {
    return unit == VectorUnit::avx2 ? "AVX2" : "baseline";
}

} // namespace quillory::testing
