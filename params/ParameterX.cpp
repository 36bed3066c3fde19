#include "params/ParameterX.h"

#include "engine/ChorusConstants.h"
#include "params/DisplayFormat.h"
#include "shell/ValueText.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace quillory {

ParameterX::ParameterX(const char* longNameText, const char* shortNameText, int32_t parameterIndex,
                       ParameterOwner* owner, ParameterX* previous)
    : index(parameterIndex), kind(kParamContinuous), effect(owner) {
    copyString(longName, longNameText, kLongNameLength);
    copyString(shortName, shortNameText, kShortNameLength);
    if (previous != nullptr) {
        previous->next = this;
    }
}

ParameterX::ParameterX(const char* longNameText, const char* shortNameText, int32_t parameterIndex,
                       int32_t highestChoice, ParameterOwner* owner, ParameterX* previous)
    : ParameterX(longNameText, shortNameText, parameterIndex, owner, previous) {
    kind = kParamStepped;
    maxChoice = highestChoice;
}

void ParameterX::setFromHost(double normalised) {
    if (isContinuous()) {
        value.store(normalised, std::memory_order_relaxed);
        target.store(normalised, std::memory_order_relaxed);
    } else {
        // Spread the host range so every choice gets an equal share and 1.0 reaches the top.
        choice.store(static_cast<int32_t>((maxChoice + kChoiceSpread) * normalised),
                     std::memory_order_relaxed);
    }
    writeToProgram();
    formatDisplay();
    handOff(Change::glide);
    refreshControl();
}

void ParameterX::jumpTo(double normalised) {
    value.store(normalised, std::memory_order_relaxed);
    target.store(normalised, std::memory_order_relaxed);
    formatDisplay();
    handOff(Change::jump);
    refreshControl();
}

void ParameterX::jumpToChoice(int32_t newChoice) {
    choice.store(newChoice, std::memory_order_relaxed);
    formatDisplay();
    handOff(Change::jump);
    refreshControl();
}

void ParameterX::setFromEditor(double normalised) {
    const double x = std::clamp(normalised, 0.0, 1.0);
    {
        std::lock_guard<std::mutex> lock(effect->controlLock());
        value.store(x, std::memory_order_relaxed);
        target.store(x, std::memory_order_relaxed);
        formatDisplay();
        handOff(Change::glide);
        writeToProgram();
    }
    effect->setParameterAutomated(index, static_cast<float>(x));
}

void ParameterX::setChoiceFromEditor(int newChoice) {
    {
        std::lock_guard<std::mutex> lock(effect->controlLock());
        choice.store(newChoice, std::memory_order_relaxed);
        writeToProgram();
    }
    effect->setParameterAutomated(index, normalisedValue());
    std::lock_guard<std::mutex> lock(effect->controlLock());
    formatDisplay();
    handOff(Change::glide);
}

float ParameterX::normalisedValue() const {
    if (isContinuous()) {
        return static_cast<float>(value.load(std::memory_order_relaxed));
    }
    return static_cast<float>(static_cast<double>(choice.load(std::memory_order_relaxed)) /
                              maxChoice);
}

void ParameterX::copyDisplayText(char* text) const {
    std::lock_guard<std::mutex> lock(effect->controlLock());
    copyString(text, displayText, kDisplayTextLength);
}

void ParameterX::refreshControl() const {
    ParameterControl* control = controlKind == kControlPad        ? pad
                                : controlKind == kControlDropdown ? dropdown
                                                                  : nullptr;
    if (control != nullptr) {
        control->refresh(*this);
    }
}

void ParameterX::attachPad(ParameterControl& control) {
    pad = &control;
    dropdown = nullptr;
    controlKind = kControlPad;
}

void ParameterX::attachDropdown(ParameterControl& control) {
    dropdown = &control;
    pad = nullptr;
    controlKind = kControlDropdown;
}

void ParameterX::writeToProgram() {
    ChorusProgram& program = effect->currentProgramRecord();
    const double setting = target.load(std::memory_order_relaxed);
    switch (index) {
    case kParamDepth:
        program.depth = setting;
        break;
    case kParamSpeed:
        program.speed = setting;
        break;
    case kParamTaps:
        program.taps = choice.load(std::memory_order_relaxed);
        break;
    case kParamWaveform:
        program.waveform = choice.load(std::memory_order_relaxed);
        break;
    case kParamMix:
        program.mix = setting;
        break;
    default:
        break;
    }
}

void ParameterX::formatDisplay() {
    const double setting = target.load(std::memory_order_relaxed);
    switch (index) {
    case kParamDepth:
        formatTime(kDepthBase * std::exp(setting * kDepthLogRange), displayText);
        break;
    case kParamSpeed:
        formatFrequency(1.0 / (kPeriodBase * std::exp((1.0 - setting) * kPeriodLogRange)),
                        displayText);
        break;
    case kParamTaps:
        formatTaps(choice.load(std::memory_order_relaxed), displayText);
        break;
    case kParamWaveform:
        formatWaveform(choice.load(std::memory_order_relaxed), displayText);
        break;
    case kParamMix:
        formatMix(setting, displayText);
        break;
    default:
        displayText[0] = '\0';
        break;
    }
}

void ParameterX::handOff(Change change) {
    if (!isContinuous()) {
        effect->choose(index, choice.load(std::memory_order_relaxed));
    } else if (change == Change::jump) {
        effect->jumpTo(index, target.load(std::memory_order_relaxed));
    } else {
        effect->glideTo(index, target.load(std::memory_order_relaxed));
    }
}

} // namespace quillory
