#pragma once
// The chorus computed the straightforward way, one frame and one tap at a time, with the
// library's sine and exponential, as the product's behaviour is described: the yardstick the
// engine's block processing is measured against, in the tests and in the benchmark.
//
// It takes the same settings as the engine's control inbox (glides, jumps, choices, sample
// rate) and keeps its own state, apart from the random generator's algorithm, which the two
// share so that their Wander draws can agree.

#include "engine/ControlInbox.h"
#include "engine/RandomSource.h"

#include <cstdint>
#include <vector>

namespace quillory::reference {

struct Tap {
    double phase = 0.0;
    double wanderClock = 0.0;
    double crossWeight = 1.0;
    double wanderRateTarget = 0.0;
    double wanderDepthTarget = 0.0;
    double wanderRate = 0.0;
    double wanderDepth = 0.0;
};

struct GlidingValue {
    double target = 0.0;
    double current = 0.0;
    int32_t glideCount = 0;
};

class ReferenceChorus {
public:
    static constexpr int32_t kLine = 65536;

    ReferenceChorus();

    void startGlide(Setting setting, double target);
    void jump(Setting setting, double value);
    void choose(Choice which, int32_t choice);
    void setSampleRate(double rate);

    void process(const float* const* inputs, double* const* outputs, int32_t frames);

    // One frame of the engine: leaves its output pair in outLeft / outRight.
    void processFrame(double left, double right);
    void runSineTap(int k);
    void runWanderTap(int k);
    void applyMode();

    uint32_t mode = 0;
    double phaseIncrement = 0.00022;
    double outLeft = 0.0;
    double outRight = 0.0;
    double modDepth = 500.0;
    double centerDelay = 750.0;
    int32_t writeIndex = 0;
    std::vector<double> lineLeft;
    std::vector<double> lineRight;
    Tap tapStates[4];
    RandomSource random;
    double sampleRate = 44100.0;
    double wetGain = 0.5;
    double dryGain = 0.5;
    GlidingValue values[kSettingCount]; // depth, speed, mix

private:
    void readTap(int k, double modulation);
    void drive(int32_t setting);
    void glideParameters();
};

} // namespace quillory::reference
