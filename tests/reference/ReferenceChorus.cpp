#include "tests/reference/ReferenceChorus.h"

#include <cmath>

namespace quillory::reference {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

} // namespace

ReferenceChorus::ReferenceChorus() : lineLeft(kLine, 0.0), lineRight(kLine, 0.0) {
    values[2] = {0.5, 0.5, 0};
}

void ReferenceChorus::startGlide(Setting setting, double target) {
    GlidingValue& value = values[static_cast<int32_t>(setting)];
    value.target = target;
    value.glideCount = 20000;
    drive(static_cast<int32_t>(setting));
}

void ReferenceChorus::jump(Setting setting, double value) {
    values[static_cast<int32_t>(setting)] = {value, value, 0};
    drive(static_cast<int32_t>(setting));
}

void ReferenceChorus::choose(Choice which, int32_t choice) {
    const auto bits = static_cast<uint32_t>(choice);
    mode = which == Choice::taps ? (mode & 0x38) | bits : (mode & 7) | (bits * 8);
    applyMode();
}

// Depth and speed follow a new rate at once, from their present values.
void ReferenceChorus::setSampleRate(double rate) {
    sampleRate = rate;
    drive(0);
    drive(1);
}

void ReferenceChorus::drive(int32_t setting) {
    const double v = values[setting].current;
    if (setting == 0) {
        modDepth = std::exp(v * std::log(5000.0)) * 0.0001 * sampleRate;
        centerDelay = 0.5 * modDepth > 440.0 ? modDepth + 440.0 : modDepth + 0.5 * modDepth;
    } else if (setting == 1) {
        const double period = std::exp((1.0 - v) * std::log(1000.0)) * 0.05;
        phaseIncrement = (1.0 / period) / sampleRate * kTwoPi;
    } else {
        wetGain = v;
        dryGain = 1.0 - v;
    }
}

void ReferenceChorus::glideParameters() {
    for (int32_t s = 0; s < kSettingCount; ++s) {
        GlidingValue& value = values[s];
        if (value.glideCount == 0) {
            continue;
        }
        if (value.glideCount == 1) {
            value.current = value.target;
            value.glideCount = 0;
        } else {
            --value.glideCount;
            value.current = value.current + (value.target - value.current) * 0.001;
        }
        drive(s);
    }
}

void ReferenceChorus::process(const float* const* inputs, double* const* outputs, int32_t frames) {
    for (int32_t i = 0; i < frames; ++i) {
        glideParameters();
        const double inL = inputs[0][i];
        const double inR = inputs[1][i];
        processFrame(inL, inR);
        outputs[0][i] = wetGain * outLeft + dryGain * inL;
        outputs[1][i] = dryGain * inR + wetGain * outRight;
    }
}

void ReferenceChorus::processFrame(double left, double right) {
    outLeft = left;
    outRight = right;
    int taps = 0;
    bool wander = false;
    switch (mode) {
    case 0:
    case 1:
    case 2:
        taps = static_cast<int>(mode) + 2;
        break;
    case 8:
    case 9:
    case 10:
        taps = static_cast<int>(mode) - 6;
        wander = true;
        break;
    default:
        break;
    }
    for (int k = 0; k < taps; ++k) {
        if (wander) {
            runWanderTap(k);
        } else {
            runSineTap(k);
        }
    }
    if (taps > 0) {
        outLeft = 0.5 * outLeft;
        outRight = 0.5 * outRight;
    }
    lineLeft[writeIndex] = left;
    lineRight[writeIndex] = right;
    writeIndex = (writeIndex + 1) % kLine;
}

void ReferenceChorus::runSineTap(int k) {
    Tap& tap = tapStates[k];
    tap.phase = tap.phase + phaseIncrement;
    if (tap.phase > kTwoPi) {
        tap.phase = tap.phase - kTwoPi;
    }
    readTap(k, std::sin(tap.phase));
}

void ReferenceChorus::runWanderTap(int k) {
    Tap& tap = tapStates[k];
    tap.wanderClock = tap.wanderClock + 0.00002;
    if (tap.wanderClock >= 1.0) {
        tap.wanderClock = tap.wanderClock - 1.0;
        const int32_t r1 = random.next();
        const int32_t r2 = random.next();
        tap.wanderRateTarget = r1 / 32767.0 * 0.73 + 0.71;
        tap.wanderDepthTarget = r2 / 32767.0 * 0.8 + 0.2;
    }
    tap.wanderRate = tap.wanderRateTarget * 0.00004 + tap.wanderRate * 0.99996;
    tap.wanderDepth = tap.wanderDepthTarget * 0.00004 + tap.wanderDepth * 0.99996;
    const double m = std::sin(tap.phase) * tap.wanderDepth;
    tap.phase = tap.phase + phaseIncrement * tap.wanderRate;
    if (tap.phase > kTwoPi) {
        tap.phase = tap.phase - kTwoPi;
    }
    readTap(k, m);
}

void ReferenceChorus::readTap(int k, double modulation) {
    const double w = tapStates[k].crossWeight;
    const double delay = modulation * modDepth + centerDelay;
    double pos = writeIndex - delay;
    while (pos < 0.0) {
        pos += kLine;
    }
    double a = lineLeft[kLine - 1];
    double b = lineRight[kLine - 1];
    if (pos < kLine) {
        const auto i = static_cast<int32_t>(pos);
        const int32_t j = i + 1 == kLine ? 0 : i + 1;
        const double f = pos - i;
        a = (1.0 - f) * lineLeft[i] + f * lineLeft[j];
        b = (1.0 - f) * lineRight[i] + f * lineRight[j];
    }
    outLeft = outLeft + (1.0 - w) * a + w * b;
    outRight = outRight + (1.0 - w) * b + w * a;
}

void ReferenceChorus::applyMode() {
    static const double kLayouts[3][4][2] = {
        {{0.0, 0.67}, {kPi, 0.33}},
        {{0.0, 0.75}, {2.0 * kPi / 3.0, 0.5}, {4.0 * kPi / 3.0, 0.25}},
        {{0.0, 0.8}, {kPi / 2.0, 0.6}, {kPi, 0.4}, {3.0 * kPi / 2.0, 0.2}},
    };
    const uint32_t tapsChoice = mode & 7;
    if (tapsChoice > 2 || (mode != tapsChoice && mode != tapsChoice + 8)) {
        return;
    }
    for (uint32_t k = 0; k < tapsChoice + 2; ++k) {
        tapStates[k] = Tap{kLayouts[tapsChoice][k][0], 0.0, kLayouts[tapsChoice][k][1]};
    }
}

} // namespace quillory::reference
