#include "shell/AudioEffect.h"

#include "shell/AEffEditor.h"
#include "shell/Opcodes.h"
#include "shell/ValueText.h"

#include <cstring>

namespace quillory {
namespace {

// The record's callbacks: each finds the effect through the record's `object` field and
// forwards with the remaining arguments unchanged.

AudioEffect* effectOf(AEffect* record) {
    return static_cast<AudioEffect*>(record->object);
}

intptr_t QUILLORY_CALLBACK dispatchEffect(AEffect* record, int32_t opcode, int32_t index,
                                          intptr_t value, void* ptr, float opt) {
    AudioEffect* effect = effectOf(record);
    if (opcode != effClose) {
        return effect->dispatcher(opcode, index, value, ptr, opt);
    }
    // Closing ends the effect's life: the host must not use the record afterwards.
    effect->dispatcher(opcode, index, value, ptr, opt);
    delete effect;
    return 1;
}

void QUILLORY_CALLBACK processEffect(AEffect* record, float** inputs, float** outputs,
                                     int32_t sampleFrames) {
    effectOf(record)->process(inputs, outputs, sampleFrames);
}

void QUILLORY_CALLBACK processReplacingEffect(AEffect* record, float** inputs, float** outputs,
                                              int32_t sampleFrames) {
    effectOf(record)->processReplacing(inputs, outputs, sampleFrames);
}

void QUILLORY_CALLBACK processDoubleReplacingEffect(AEffect* record, double** inputs,
                                                    double** outputs, int32_t sampleFrames) {
    effectOf(record)->processDoubleReplacing(inputs, outputs, sampleFrames);
}

void QUILLORY_CALLBACK setEffectParameter(AEffect* record, int32_t index, float value) {
    effectOf(record)->setParameter(index, value);
}

float QUILLORY_CALLBACK getEffectParameter(AEffect* record, int32_t index) {
    return effectOf(record)->getParameter(index);
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback host, int32_t programCount, int32_t paramCount)
    : audioMaster(host), numPrograms(programCount), numParams(paramCount) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffect;
    cEffect.process = processEffect;
    cEffect.setParameter = setEffectParameter;
    cEffect.getParameter = getEffectParameter;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = kNoEffectId;
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEffect;
    cEffect.processDoubleReplacing = processDoubleReplacingEffect;
}

AudioEffect::~AudioEffect() {
    delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, true);
}

void AudioEffect::setFlag(int32_t bit, bool state) {
    if (state) {
        cEffect.flags |= bit;
    } else {
        cEffect.flags &= ~bit;
    }
}

void AudioEffect::emptyString(char* text) {
    if (text != nullptr) {
        text[0] = '\0';
    }
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                               float opt) {
    if (audioMaster == nullptr) {
        return 0;
    }
    return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

// Base level of request dispatch: opcodes 0 to 24. Anything else, and the editor requests
// when there is no editor, is answered 0.
intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                 float opt) {
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        // Values beyond the 32-bit range would wrap into a valid program number.
        if (value < numPrograms && value >= INT32_MIN) {
            setProgram(static_cast<int32_t>(value));
        }
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<int32_t>(value));
        return 0;
    case effMainsChanged:
        if (value == 0) {
            suspend();
        } else {
            resume();
        }
        return 0;
    case effEditGetRect:
        if (editor == nullptr) {
            return 0;
        }
        editor->getRect(static_cast<ERect**>(ptr));
        return 1;
    case effEditOpen:
        return editor != nullptr && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor != nullptr) {
            editor->close();
        }
        return 0;
    case effEditIdle:
        if (editor != nullptr) {
            editor->idle();
        }
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default:
        return 0;
    }
}

void AudioEffect::setParameterAutomated(int32_t index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

int32_t AudioEffect::getMasterVersion() {
    // Hosts that predate the version request answer 0: treat them as version 1.
    const intptr_t version = callHost(audioMasterVersion);
    return version == 0 ? 1 : static_cast<int32_t>(version);
}

int32_t AudioEffect::getCurrentUniqueId() {
    return static_cast<int32_t>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() {
    callHost(audioMasterIdle);
}

bool AudioEffect::isInputConnected(int32_t input) {
    // The host answers 0 for a connected pin; without a host every pin counts as connected.
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(int32_t output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::dB2string(float value, char* text, int32_t maxLen) {
    quillory::dB2string(value, text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, int32_t maxLen) {
    quillory::Hz2string(samples, getSampleRate(), text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, int32_t maxLen) {
    quillory::ms2string(samples, sampleRate, text, maxLen);
}

void AudioEffect::float2string(float value, char* text, int32_t maxLen) {
    quillory::float2string(value, text, maxLen);
}

void AudioEffect::int2string(int32_t value, char* text, int32_t maxLen) {
    quillory::int2string(value, text, maxLen);
}

} // namespace quillory
