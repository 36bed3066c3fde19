#include "params/ParameterX.h"

#include "params/DisplayFormat.h"
#include "plugin/QuilloryChorusVst.h"
#include "shell/ValueText.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace quillory {

ParameterX::ParameterX(const char* longNameText, const char* shortNameText, int32_t parameterIndex,
                       QuilloryChorusVst* owner, ParameterX* previous)
    : index(parameterIndex), kind(kParamContinuous), effect(owner) {
    copyString(longName, longNameText, kLongNameLength);
    copyString(shortName, shortNameText, kShortNameLength);
    if (previous != nullptr) {
        previous->next = this;
    }
}

ParameterX::ParameterX(const char* longNameText, const char* shortNameText, int32_t parameterIndex,
                       int32_t highestChoice, QuilloryChorusVst* owner, ParameterX* previous)
    : ParameterX(longNameText, shortNameText, parameterIndex, owner, previous) {
    kind = kParamStepped;
    maxChoice = highestChoice;
}

void ParameterX::setFromHost(double normalised) {
    if (isContinuous()) {
        value.store(normalised, std::memory_order_relaxed);
        target = normalised;
    } else {
        // Spread the host range so every choice gets an equal share and 1.0 reaches the top.
        choice.store(static_cast<int32_t>((maxChoice + kChoiceSpread) * normalised),
                     std::memory_order_relaxed);
    }
    writeToProgram();
    applyToEngine(Change::glide);
    refreshControl();
}

void ParameterX::jumpTo(double normalised) {
    value.store(normalised, std::memory_order_relaxed);
    target = normalised;
    applyToEngine(Change::jump);
    refreshControl();
}

void ParameterX::jumpToChoice(int32_t newChoice) {
    choice.store(newChoice, std::memory_order_relaxed);
    applyToEngine(Change::jump);
    refreshControl();
}

void ParameterX::setFromEditor(double normalised) {
    const double x = std::clamp(normalised, 0.0, 1.0);
    {
        std::lock_guard<std::mutex> lock(effect->controlMutex);
        value.store(x, std::memory_order_relaxed);
        target = x;
        applyToEngine(Change::glide);
        writeToProgram();
    }
    // Outside the lock: the host may call straight back into the plug-in.
    effect->setParameterAutomated(index, static_cast<float>(x));
}

void ParameterX::setChoiceFromEditor(int newChoice) {
    {
        std::lock_guard<std::mutex> lock(effect->controlMutex);
        choice.store(newChoice, std::memory_order_relaxed);
        writeToProgram();
    }
    effect->setParameterAutomated(index, normalisedValue());
    std::lock_guard<std::mutex> lock(effect->controlMutex);
    applyToEngine(Change::glide);
}

float ParameterX::normalisedValue() const {
    if (isContinuous()) {
        return static_cast<float>(value.load(std::memory_order_relaxed));
    }
    return static_cast<float>(static_cast<double>(choice.load(std::memory_order_relaxed)) /
                              maxChoice);
}

void ParameterX::writeToProgram() {
    ChorusProgram& program = *effect->currentProgram;
    switch (index) {
    case kParamDepth:
        program.depth = target;
        break;
    case kParamSpeed:
        program.speed = target;
        break;
    case kParamTaps:
        program.taps = choice.load(std::memory_order_relaxed);
        break;
    case kParamWaveform:
        program.waveform = choice.load(std::memory_order_relaxed);
        break;
    case kParamMix:
        program.mix = target;
        break;
    default:
        break;
    }
}

void ParameterX::formatDisplay() {
    const ChorusEngine& engine = effect->engine;
    switch (index) {
    case kParamDepth:
        formatTime(engine.depthBase * std::exp(target * engine.depthLogRange), displayText);
        break;
    case kParamSpeed:
        formatFrequency(1.0 /
                            (engine.periodBase * std::exp((1.0 - target) * engine.periodLogRange)),
                        displayText);
        break;
    case kParamTaps:
        formatTaps(choice.load(std::memory_order_relaxed), displayText);
        break;
    case kParamWaveform:
        formatWaveform(choice.load(std::memory_order_relaxed), displayText);
        break;
    case kParamMix:
        formatMix(target, displayText);
        break;
    default:
        displayText[0] = '\0';
        break;
    }
}

// Publishes the new setting: the value first, then its serial number with release order, so
// that the audio thread, once it sees the serial, also sees the value and every earlier
// change of this parameter.
void ParameterX::applyToEngine(Change change) {
    formatDisplay();
    const uint32_t serial = ++lastSerial;
    if (!isContinuous()) {
        choiceTo.store(choice.load(std::memory_order_relaxed), std::memory_order_relaxed);
        choiceSerial.store(serial, std::memory_order_release);
    } else if (change == Change::jump) {
        jumpValue.store(target, std::memory_order_relaxed);
        jumpSerial.store(serial, std::memory_order_release);
    } else {
        glideTo.store(target, std::memory_order_relaxed);
        glideSerial.store(serial, std::memory_order_release);
    }
    effect->noteControlChange();
}

void ParameterX::refreshControl() {
    // Pads and dropdowns attach themselves once the editor has them; until then there is
    // nothing on screen to refresh.
}

void ParameterX::receiveChange() {
    if (!isContinuous()) {
        const uint32_t serial = choiceSerial.load(std::memory_order_acquire);
        if (serial != seenSerial) {
            seenSerial = serial;
            engineChoice = choiceTo.load(std::memory_order_relaxed);
            driveEngine();
        }
        return;
    }
    // Read the glide serial first: seeing it makes every earlier jump visible too.
    const uint32_t glide = glideSerial.load(std::memory_order_acquire);
    const uint32_t jump = jumpSerial.load(std::memory_order_acquire);
    const uint32_t previouslySeen = seenSerial;
    if (jump > previouslySeen) {
        current = jumpValue.load(std::memory_order_relaxed);
        glideTarget = current;
        glideCount = 0;
        driveEngine();
    }
    if (glide > previouslySeen && glide > jump) {
        glideTarget = glideTo.load(std::memory_order_relaxed);
        glideCount = kGlideSamples;
        // At once from where the glide starts: picks up a sample rate changed since.
        driveEngine();
    }
    seenSerial = glide > jump ? glide : jump;
}

bool ParameterX::glideStep() {
    advanceGlide();
    driveEngine();
    return glideCount != 0;
}

void ParameterX::driveEngine() {
    ChorusEngine& engine = effect->engine;
    const double sampleRate = effect->engineSampleRate.load(std::memory_order_relaxed);
    switch (index) {
    case kParamDepth:
        engine.applyDepth(current, sampleRate);
        break;
    case kParamSpeed:
        engine.applySpeed(current, sampleRate);
        break;
    case kParamTaps:
        engine.mode =
            (engine.mode & ChorusEngine::kWaveformMask) | static_cast<uint32_t>(engineChoice);
        engine.applyMode();
        break;
    case kParamWaveform:
        engine.mode = (engine.mode & ChorusEngine::kTapsMask) |
                      (static_cast<uint32_t>(engineChoice) << ChorusEngine::kWaveformShift);
        engine.applyMode();
        break;
    case kParamMix:
        effect->applyMix(current);
        break;
    default:
        break;
    }
}

} // namespace quillory
