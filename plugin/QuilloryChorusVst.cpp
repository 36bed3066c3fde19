#include "plugin/QuilloryChorusVst.h"

#include "editor/QuilloryChorusVstEditor.h"
#include "shell/Opcodes.h"
#include "shell/PluginEntry.h"

#include <cmath>
#include <ctime>
#include <new>

namespace quillory {

AudioEffect* createEffectInstance(audioMasterCallback host) {
    // The effect carries its delay lines inline, so this is the one allocation that matters;
    // failure of it or of anything the constructor allocates is reported as null.
    try {
        return new (std::nothrow) QuilloryChorusVst(host);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

QuilloryChorusVst::QuilloryChorusVst(audioMasterCallback host)
    : AudioEffectX(host, kNumPrograms, kNumParams) {
    engine.reset();
    engineSampleRate.store(44100.0);

    new QuilloryChorusVstEditor(this); // registers itself with the effect, which owns it

    programs = std::make_unique<ChorusProgram[]>(kNumPrograms);
    factoryPrograms = std::make_unique<ChorusProgram[]>(kNumPrograms);
    currentProgram = &programs[0];
    loadBank();
    for (int32_t index = 0; index < kNumPrograms; ++index) {
        programs[index].effect = this;
        factoryPrograms[index].effect = this;
    }
    buildParameters();

    // Calendar time in whole seconds, truncated to 32 bits, seeds the Wander drift.
    engine.random.seed(static_cast<uint32_t>(std::time(nullptr)));

    engine.setRangeConstants();
    wetGain = 0.5;
    dryGain = 0.5;
    engine.mode = 0;

    {
        std::lock_guard<std::mutex> lock(controlMutex);
        curProgram = 0;
        currentProgram = &programs[0];
        applyProgram(programs[0]);
    }
    // No audio thread exists yet: take the first program into the engine right away.
    receiveControlChanges();

    if (audioMaster != nullptr) {
        sendUpdateDisplay();
        setNumInputs(kNumInputs);
        setNumOutputs(kNumOutputs);
        canProcessReplacing(true);
        isSynth(false);
        setUniqueID(kUniqueId);
    }
}

QuilloryChorusVst::~QuilloryChorusVst() = default;

void QuilloryChorusVst::buildParameters() {
    parameters[kParamDepth] =
        std::make_unique<ParameterX>("Chorus Depth", "Chrs Dpth", kParamDepth, this, nullptr);
    parameters[kParamSpeed] = std::make_unique<ParameterX>("Chorus Speed", "Chrs Spd", kParamSpeed,
                                                           this, parameters[kParamDepth].get());
    parameters[kParamTaps] = std::make_unique<ParameterX>(
        "Chorus Numb Taps", "Chrs Taps", kParamTaps, 2, this, parameters[kParamSpeed].get());
    parameters[kParamWaveform] = std::make_unique<ParameterX>(
        "Chorus Waveform", "Chrs Waveform", kParamWaveform, 1, this, parameters[kParamTaps].get());
    parameters[kParamMix] = std::make_unique<ParameterX>(
        "Pan / Chorus Mix", "Pan/chr Mix", kParamMix, this, parameters[kParamWaveform].get());
    parameterList = parameters[kParamDepth].get();
}

void QuilloryChorusVst::setSampleRate(float rate) {
    // A rate the engine cannot run at is ignored: the previous one stays in force. Below
    // 1 kHz no host runs audio, and the fastest modulation would step by more than the
    // engine's phase handling allows.
    if (!std::isfinite(rate) || rate < kLowestSampleRate) {
        return;
    }
    std::lock_guard<std::mutex> lock(controlMutex);
    sampleRate = rate;
    engineSampleRate.store(static_cast<double>(rate), std::memory_order_relaxed);
}

// Sent directly, not through updateDisplay(): the effect does not care for the answer.
void QuilloryChorusVst::sendUpdateDisplay() {
    callHost(audioMasterUpdateDisplay);
}

} // namespace quillory
