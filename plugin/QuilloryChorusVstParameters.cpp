#include "plugin/QuilloryChorusVst.h"
#include "shell/ValueText.h"

#include <algorithm>
#include <cmath>

namespace quillory {

ParameterX* QuilloryChorusVst::findParameter(int32_t index) const {
    for (ParameterX* parameter = parameterList; parameter != nullptr; parameter = parameter->next) {
        if (parameter->index == index) {
            return parameter;
        }
    }
    return nullptr;
}

void QuilloryChorusVst::setParameter(int32_t index, float value) {
    // Values beyond 0..1 would drive the engine out of its ranges; non-numbers carry no
    // setting at all.
    if (!std::isfinite(value)) {
        return;
    }
    const double normalised = std::clamp(double{value}, 0.0, 1.0);
    std::lock_guard<std::mutex> lock(controlMutex);
    ParameterX* parameter = findParameter(index);
    if (parameter != nullptr && parameter->hostEnabled.load(std::memory_order_relaxed)) {
        parameter->setFromHost(normalised);
    }
}

// Lock-free, since hosts read values from their audio thread too.
float QuilloryChorusVst::getParameter(int32_t index) {
    if (index < 0 || index >= kNumParams) {
        return 0.0f;
    }
    return parameters[index]->normalisedValue();
}

void QuilloryChorusVst::getParameterName(int32_t index, char* text) {
    if (text == nullptr) {
        return;
    }
    text[0] = '\0';
    if (const ParameterX* parameter = findParameter(index)) {
        copyString(text, parameter->shortName, kShortNameLength);
    }
}

void QuilloryChorusVst::getParameterDisplay(int32_t index, char* text) {
    if (text == nullptr) {
        return;
    }
    text[0] = '\0';
    if (const ParameterX* parameter = findParameter(index)) {
        parameter->copyDisplayText(text);
    }
}

// The parameters report editor changes through this: the effect's own setParameter (which
// the writing control has told to ignore the echo), then the host.
void QuilloryChorusVst::setParameterAutomated(int32_t index, float value) {
    AudioEffectX::setParameterAutomated(index, value);
}

} // namespace quillory
