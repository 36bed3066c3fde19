#include "plugin/QuilloryChorusVst.h"

#include "editor/QuilloryChorusVstEditor.h"
#include "gui/platform/SystemBackend.h"
#include "shell/Opcodes.h"
#include "shell/PluginEntry.h"

#include <cmath>
#include <ctime>
#include <new>

namespace quillory {
namespace {

// The engine's continuous settings by parameter index, and its stepped choices.
Setting settingFor(int32_t index) {
    switch (index) {
    case kParamDepth:
        return Setting::depth;
    case kParamSpeed:
        return Setting::speed;
    default:
        return Setting::mix;
    }
}

Choice choiceFor(int32_t index) {
    return index == kParamTaps ? Choice::taps : Choice::waveform;
}

// A rate far above any audio rate. It keeps every delay, up to a second of frames, well
// inside 32-bit frame counts.
constexpr double kHighestSampleRate = 10000000.0;

} // namespace

AudioEffect* createEffectInstance(audioMasterCallback host) {
    // The editor's bitmaps are made in the constructor: the window system must be ready.
    gui::installSystemBackend();
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
    // The processor's construction resets the engine at 44.1 kHz.
    new QuilloryChorusVstEditor(this, *this); // registers itself with the effect, which owns it

    programs = std::make_unique<ChorusProgram[]>(kNumPrograms);
    factoryPrograms = std::make_unique<ChorusProgram[]>(kNumPrograms);
    currentProgram = &programs[0];
    loadBank();
    for (int32_t index = 0; index < kNumPrograms; ++index) {
        programs[index].effect = this;
        factoryPrograms[index].effect = this;
    }
    buildParameters();
    buildEditorModels();

    // Calendar time in whole seconds, truncated to 32 bits, seeds the Wander drift.
    seedRandom(static_cast<uint32_t>(std::time(nullptr)));

    {
        std::lock_guard<std::mutex> lock(controlMutex);
        curProgram = 0;
        currentProgram = &programs[0];
        applyProgram(programs[0]);
    }
    // No audio thread exists yet: take the first program into the engine right away.
    chorus.takeControlChanges();

    if (hasHost()) {
        updateDisplay();
        setNumInputs(kNumInputs);
        setNumOutputs(kNumOutputs);
        canProcessReplacing(true);
        isSynth(false);
        setUniqueID(kUniqueId);
    }
}

// The editor's views point at the control models, which go before the base class deletes the
// editor: a host that closes the effect with its window still open gets the window closed
// first.
QuilloryChorusVst::~QuilloryChorusVst() {
    if (editor != nullptr) {
        editor->close();
    }
}

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

// Hosts may pass anything: no block, no buffers, or a null channel all leave the outputs as
// they are.
void QuilloryChorusVst::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr || inputs[0] == nullptr ||
        inputs[1] == nullptr || outputs[0] == nullptr || outputs[1] == nullptr) {
        return;
    }
    chorus.process(inputs, outputs, sampleFrames);
}

// A rate the engine cannot run at is ignored: the previous one stays in force. A rate it can
// run at re-maps depth and speed from where they stand, at the next frame computed.
void QuilloryChorusVst::setSampleRate(float rate) {
    if (!std::isfinite(rate) || rate < kLowestSampleRate || rate > kHighestSampleRate) {
        return;
    }
    std::lock_guard<std::mutex> lock(controlMutex);
    sampleRate = rate;
    chorus.controls.setSampleRate(static_cast<double>(rate));
}

void QuilloryChorusVst::glideTo(int32_t index, double value) {
    chorus.controls.startGlide(settingFor(index), value);
}

void QuilloryChorusVst::jumpTo(int32_t index, double value) {
    chorus.controls.jump(settingFor(index), value);
}

void QuilloryChorusVst::choose(int32_t index, int32_t choice) {
    chorus.controls.choose(choiceFor(index), choice);
}

// Made right after the parameters, which they attach themselves to. Their bitmaps are loaded
// here, from the back end installed before the effect was made.
void QuilloryChorusVst::buildEditorModels() {
    pads[0] = std::make_unique<Pad>(parameters[kParamDepth].get(), 101, 103, kWhiteCColor, 71, 70,
                                    kPadStyleBar, this, nullptr);
    pads[1] = std::make_unique<Pad>(parameters[kParamSpeed].get(), 105, 106, kWhiteCColor, 159, 70,
                                    kPadStyleBar, this, pads[0].get());
    pads[2] = std::make_unique<Pad>(parameters[kParamMix].get(), 111, 104, kBlackCColor, 60, 307,
                                    kPadStyleMarker, this, pads[1].get());
    dropdowns[0] =
        std::make_unique<ChorusTapsDropdown>(parameters[kParamTaps].get(), this, nullptr);
    dropdowns[1] = std::make_unique<ChorusWaveformDropdown>(parameters[kParamWaveform].get(), this,
                                                            dropdowns[0].get());
}

ParameterX* QuilloryChorusVst::parameter(int32_t index) {
    return findParameter(index);
}

} // namespace quillory
