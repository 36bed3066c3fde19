#include "engine/ChorusEngine.h"

#include "engine/EngineMappings.h"

#include <cmath>

namespace quillory {
namespace {

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

void ChorusEngine::reset() {
    phaseIncrement = kResetPhaseIncrement;
    modDepth = kResetModDepth;
    centerDelay = kResetCenterDelay;
    writeIndex = 0;
    for (FramePair& frame : line) {
        frame = {0.0, 0.0};
    }
    for (ChorusTap& tap : tapStates) {
        tap = ChorusTap{};
    }
}

int ChorusEngine::tapCount(uint32_t mode) {
    const uint32_t tapsChoice = mode & kTapsMask;
    const uint32_t waveformChoice = (mode & kWaveformMask) >> kWaveformShift;
    const bool otherBits = (mode & ~(kTapsMask | kWaveformMask)) != 0;
    if (otherBits || tapsChoice > 2 || waveformChoice > 1) {
        return 0;
    }
    return static_cast<int>(tapsChoice) + 2;
}

void ChorusEngine::selectTaps(int32_t choice) {
    mode = (mode & kWaveformMask) | static_cast<uint32_t>(choice);
    applyMode();
}

void ChorusEngine::selectWaveform(int32_t choice) {
    mode = (mode & kTapsMask) | (static_cast<uint32_t>(choice) << kWaveformShift);
    applyMode();
}

void ChorusEngine::applyMode() {
    const int taps = tapCount(mode);
    if (taps == 0) {
        return;
    }
    const TapLayout* layout = layoutFor(taps);
    for (int k = 0; k < taps; ++k) {
        tapStates[k] = ChorusTap{};
        tapStates[k].phase = layout[k].phase;
        tapStates[k].crossWeight = layout[k].crossWeight;
    }
}

void ChorusEngine::applyDepth(double value, double sampleRate) {
    modDepth = std::exp(value * kDepthLogRange) * kDepthBase * sampleRate;
    centerDelay = centerDelayFor(modDepth);
}

void ChorusEngine::applySpeed(double value, double sampleRate) {
    const double period = std::exp((1.0 - value) * kPeriodLogRange) * kPeriodBase;
    phaseIncrement = (1.0 / period) / sampleRate * kTwoPi;
}

void ChorusEngine::drawWanderTargets(int k) {
    ChorusTap& tap = tapStates[k];
    tap.wanderClock = tap.wanderClock - 1.0;
    const int32_t rateDraw = random.next();
    const int32_t depthDraw = random.next();
    // Divided by the largest draw, so both ends of each range can be reached.
    tap.wanderRateTarget =
        rateDraw / double{RandomSource::kMaximum} * kWanderRateSpan + kWanderRateLowest;
    tap.wanderDepthTarget =
        depthDraw / double{RandomSource::kMaximum} * kWanderDepthSpan + kWanderDepthLowest;
}

} // namespace quillory
