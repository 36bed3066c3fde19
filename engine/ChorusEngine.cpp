#include "engine/ChorusEngine.h"

#include "engine/EngineMappings.h"

#include <cmath>

namespace quillory {
namespace {

constexpr double kPi = 3.141592653589793;

// The Wander clock advances a fixed amount per frame: a new target every 50,000 frames.
constexpr double kWanderClockStep = 0.00002;
// One-pole smoothing toward the Wander targets: a time constant of 25,000 frames.
constexpr double kWanderFollow = 0.00004;
constexpr double kWanderKeep = 0.99996;
// Wander rate factors span 0.71..1.44 of the set speed, depth factors 0.2..1.0 of the depth.
constexpr double kWanderRateSpan = 0.73;
constexpr double kWanderRateLowest = 0.71;
constexpr double kWanderDepthSpan = 0.8;
constexpr double kWanderDepthLowest = 0.2;

struct TapLayout {
    double phase;
    double crossWeight;
};

// Start phases spread the taps evenly over one modulation cycle. The weights place tap 0
// mostly on the opposite channel and the last tap mostly on its own channel.
constexpr TapLayout kTwoTapLayout[] = {{0.0, 0.67}, {kPi, 0.33}};
constexpr TapLayout kThreeTapLayout[] = {
    {0.0, 0.75}, {2.0 * kPi / 3.0, 0.5}, {4.0 * kPi / 3.0, 0.25}};
constexpr TapLayout kFourTapLayout[] = {
    {0.0, 0.8}, {kPi / 2.0, 0.6}, {kPi, 0.4}, {3.0 * kPi / 2.0, 0.2}};

const TapLayout* layoutFor(int taps) {
    switch (taps) {
    case 2:
        return kTwoTapLayout;
    case 3:
        return kThreeTapLayout;
    default:
        return kFourTapLayout;
    }
}

} // namespace

int ChorusEngine::tapCount(uint32_t mode) {
    switch (mode) {
    case 0:
    case 8:
        return 2;
    case 1:
    case 9:
        return 3;
    case 2:
    case 10:
        return 4;
    default:
        return 0;
    }
}

void ChorusEngine::reset() {
    phaseIncrement = 0.00022;
    outLeft = 0.0;
    outRight = 0.0;
    modDepth = 500.0;
    centerDelay = 750.0;
    writeIndex = 0;
    for (int32_t slot = 0; slot <= kLineLength; ++slot) {
        lineLeft[slot] = 0.0;
        lineRight[slot] = 0.0;
    }
    for (ChorusTap& tap : tapStates) {
        tap = ChorusTap{};
    }
}

void ChorusEngine::setRangeConstants() {
    depthBase = 0.0001;
    depthLogRange = std::log(5000.0);
    periodBase = 0.05;
    periodLogRange = std::log(1000.0);
}

void ChorusEngine::processFrame(double left, double right) {
    // The dry input is part of the engine's own output.
    outLeft = left;
    outRight = right;

    const int taps = tapCount(mode);
    if (taps > 0) {
        const bool wander = isWander(mode);
        for (int k = 0; k < taps; ++k) {
            if (wander) {
                runWanderTap(k);
            } else {
                runSineTap(k);
            }
        }
        outLeft = 0.5 * outLeft;
        outRight = 0.5 * outRight;
    }

    // Taps read before the frame is written: the slot at writeIndex still holds the frame
    // from 65,536 frames ago.
    writeIndex = writeFrame(writeIndex, left, right);
}

void ChorusEngine::runSineTap(int k) {
    ChorusTap& tap = tapStates[k];
    tap.phase = tap.phase + phaseIncrement;
    if (tap.phase > kTwoPi) {
        tap.phase = tap.phase - kTwoPi;
    }
    readTap(k, std::sin(tap.phase));
}

void ChorusEngine::runWanderTap(int k) {
    ChorusTap& tap = tapStates[k];
    // Update the drift targets on the clock, then follow them slowly.
    tap.wanderClock = tap.wanderClock + kWanderClockStep;
    if (tap.wanderClock >= 1.0) {
        drawWanderTargets(k);
    }
    tap.wanderRate = tap.wanderRateTarget * kWanderFollow + tap.wanderRate * kWanderKeep;
    tap.wanderDepth = tap.wanderDepthTarget * kWanderFollow + tap.wanderDepth * kWanderKeep;

    // The modulation uses the phase before this frame's advance.
    const double modulation = std::sin(tap.phase) * tap.wanderDepth;
    tap.phase = tap.phase + phaseIncrement * tap.wanderRate;
    if (tap.phase > kTwoPi) {
        tap.phase = tap.phase - kTwoPi;
    }
    readTap(k, modulation);
}

void ChorusEngine::drawWanderTargets(int k) {
    ChorusTap& tap = tapStates[k];
    tap.wanderClock = tap.wanderClock - 1.0;
    const int32_t rateDraw = random.next();
    const int32_t depthDraw = random.next();
    tap.wanderRateTarget =
        rateDraw / double{RandomSource::kMaximum} * kWanderRateSpan + kWanderRateLowest;
    tap.wanderDepthTarget =
        depthDraw / double{RandomSource::kMaximum} * kWanderDepthSpan + kWanderDepthLowest;
}

// One addition of the line length covers every delay shorter than the line. Longer ones
// (deep settings at very high sample rates) take the remainder instead of a loop: every
// addition but the last is exact, so the remainder plus one addition gives the same value.
double ChorusEngine::wrapReadPosition(double position) {
    if (position < 0.0) {
        position += kLineLength;
        if (position < 0.0) {
            position = std::fmod(position, double{kLineLength}) + kLineLength;
        }
    }
    return position;
}

// Reads both lines at the tap's delay and adds the result to the output pair.
void ChorusEngine::readTap(int k, double modulation) {
    const double delay = modulation * modDepth + centerDelay;
    readAt(wrapReadPosition(writeIndex - delay), tapStates[k].crossWeight, outLeft, outRight);
}

// The slot after `i` is i + 1 even for the last slot: the guard slot past the end repeats
// slot 0.
void ChorusEngine::readAt(double position, double crossWeight, double& left, double& right) const {
    double a = 0.0;
    double b = 0.0;
    if (position >= kLineLength) {
        a = lineLeft[kLineLength - 1];
        b = lineRight[kLineLength - 1];
    } else {
        const auto i = static_cast<int32_t>(position);
        const double f = position - i;
        a = (1.0 - f) * lineLeft[i] + f * lineLeft[i + 1];
        b = (1.0 - f) * lineRight[i] + f * lineRight[i + 1];
    }
    left += (1.0 - crossWeight) * a + crossWeight * b;
    right += (1.0 - crossWeight) * b + crossWeight * a;
}

void ChorusEngine::applyMode() {
    const int taps = tapCount(mode);
    if (taps == 0) {
        return;
    }
    const TapLayout* layout = layoutFor(taps);
    for (int k = 0; k < taps; ++k) {
        ChorusTap& tap = tapStates[k];
        tap.phase = layout[k].phase;
        tap.crossWeight = layout[k].crossWeight;
        tap.wanderClock = 0.0;
        tap.wanderRateTarget = 0.0;
        tap.wanderDepthTarget = 0.0;
        tap.wanderRate = 0.0;
        tap.wanderDepth = 0.0;
    }
}

void ChorusEngine::applyDepth(double value, double sampleRate) {
    modDepth = modDepthFor(*this, value, sampleRate);
    centerDelay = centerDelayFor(modDepth);
}

void ChorusEngine::applySpeed(double value, double sampleRate) {
    phaseIncrement = phaseIncrementFor(*this, value, sampleRate);
}

} // namespace quillory
