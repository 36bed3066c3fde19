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
    engineSampleRate = 44100.0;

    new QuilloryChorusVstEditor(this); // registers itself with the effect, which owns it

    // Calendar time in whole seconds, truncated to 32 bits, seeds the Wander drift.
    engine.random.seed(static_cast<uint32_t>(std::time(nullptr)));

    // Depth spans 0.1 ms to 500 ms and the modulation period 50 s down to 50 ms, both on
    // logarithmic scales.
    engine.depthBase = 0.0001;
    engine.depthLogRange = std::log(5000.0);
    engine.periodBase = 0.05;
    engine.periodLogRange = std::log(1000.0);
    wetGain = 0.5;
    dryGain = 0.5;

    curProgram = 0;
    engine.mode = 0;
    engine.applyMode();

    if (audioMaster != nullptr) {
        audioMaster(&cEffect, audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
        setNumInputs(kNumInputs);
        setNumOutputs(kNumOutputs);
        canProcessReplacing(true);
        isSynth(false);
        setUniqueID(kUniqueId);
    }
}

QuilloryChorusVst::~QuilloryChorusVst() = default;

void QuilloryChorusVst::setSampleRate(float rate) {
    // A rate the engine cannot run at is ignored: the previous one stays in force.
    if (!std::isfinite(rate) || rate <= 0.0f) {
        return;
    }
    sampleRate = rate;
    engineSampleRate = static_cast<double>(rate);
}

} // namespace quillory
