#pragma once
// The record a host holds for the plug-in, the callback shapes and the plain records
// exchanged through the dispatcher. Everything here is laid out exactly as hosts expect it
// in memory, so it is checked field by field at compile time on 32-bit targets.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define QUILLORY_CALLBACK __cdecl
#else
#define QUILLORY_CALLBACK
#endif

namespace quillory {

// Four-character codes are packed most-significant-first: 'V' ends up in the top byte.
constexpr int32_t fourCharCode(char a, char b, char c, char d) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) |
                                static_cast<uint32_t>(static_cast<uint8_t>(d)));
}

constexpr int32_t kEffectMagic = fourCharCode('V', 's', 't', 'P');
constexpr int32_t kNoEffectId = fourCharCode('N', 'o', 'E', 'f');
constexpr int32_t kIdentifyAnswer = fourCharCode('N', 'v', 'E', 'f');

struct AEffect;

using audioMasterCallback = intptr_t(QUILLORY_CALLBACK*)(AEffect* effect, int32_t opcode,
                                                         int32_t index, intptr_t value, void* ptr,
                                                         float opt);
using AEffectDispatcherProc = intptr_t(QUILLORY_CALLBACK*)(AEffect* effect, int32_t opcode,
                                                           int32_t index, intptr_t value, void* ptr,
                                                           float opt);
using AEffectProcessProc = void(QUILLORY_CALLBACK*)(AEffect* effect, float** inputs,
                                                    float** outputs, int32_t sampleFrames);
using AEffectProcessDoubleProc = void(QUILLORY_CALLBACK*)(AEffect* effect, double** inputs,
                                                          double** outputs, int32_t sampleFrames);
using AEffectSetParameterProc = void(QUILLORY_CALLBACK*)(AEffect* effect, int32_t index,
                                                         float parameter);
using AEffectGetParameterProc = float(QUILLORY_CALLBACK*)(AEffect* effect, int32_t index);

// Bits of AEffect::flags.
enum : int32_t {
    effFlagsHasEditor = 1,
    effFlagsHasClip = 2,
    effFlagsHasVu = 4,
    effFlagsCanMono = 8,
    effFlagsCanReplacing = 16,
    effFlagsProgramChunks = 32,
    effFlagsIsSynth = 256,
    effFlagsNoSoundInStop = 512,
    effFlagsExtIsAsync = 1024,
    effFlagsExtHasBuffer = 2048,
    effFlagsCanDoubleReplacing = 4096,
};

struct AEffect {
    int32_t magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t resvd1;
    intptr_t resvd2;
    int32_t initialDelay;
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object;
    void* user;
    int32_t uniqueID;
    int32_t version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

// Editor rectangle handed to the host by effEditGetRect.
struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// A key event as the host passes it to effEditKeyDown / effEditKeyUp.
struct VstKeyCode {
    int32_t character;
    uint8_t virt;
    uint8_t modifier;
};

enum : int32_t {
    kVstPinIsActive = 1,
    kVstPinIsStereo = 2,
    kVstPinUseSpeaker = 4,
};

struct VstPinProperties {
    char label[64];
    int32_t flags;
    int32_t arrangementType;
    char shortLabel[8];
    char future[48];
};

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    int32_t type;
    char future[28];
};

// A variable-length record: numChannels speaker records follow the header. The array is
// declared with eight entries only so that the layout of the first ones is fixed; the real
// length is whatever was allocated for numChannels.
struct VstSpeakerArrangement {
    int32_t type;
    int32_t numChannels;
    VstSpeakerProperties speakers[8];
};

constexpr std::size_t speakerArrangementBytes(int32_t numChannels) {
    return offsetof(VstSpeakerArrangement, speakers) +
           sizeof(VstSpeakerProperties) * static_cast<std::size_t>(numChannels);
}

enum : int32_t {
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2,
};

static_assert(sizeof(VstPinProperties) == 128);
static_assert(offsetof(VstPinProperties, flags) == 64);
static_assert(offsetof(VstPinProperties, arrangementType) == 68);
static_assert(offsetof(VstPinProperties, shortLabel) == 72);
static_assert(offsetof(VstPinProperties, future) == 80);
static_assert(sizeof(VstSpeakerProperties) == 112);
static_assert(offsetof(VstSpeakerProperties, name) == 16);
static_assert(offsetof(VstSpeakerProperties, type) == 80);
static_assert(offsetof(VstSpeakerProperties, future) == 84);
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8);
static_assert(speakerArrangementBytes(2) == 8 + 2 * 112);
static_assert(sizeof(ERect) == 8);

#if INTPTR_MAX == INT32_MAX
// The host reads the record by offset, so every field must sit where a 32-bit host expects it.
static_assert(sizeof(AEffect) == 144);
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 4);
static_assert(offsetof(AEffect, process) == 8);
static_assert(offsetof(AEffect, setParameter) == 12);
static_assert(offsetof(AEffect, getParameter) == 16);
static_assert(offsetof(AEffect, numPrograms) == 20);
static_assert(offsetof(AEffect, numParams) == 24);
static_assert(offsetof(AEffect, numInputs) == 28);
static_assert(offsetof(AEffect, numOutputs) == 32);
static_assert(offsetof(AEffect, flags) == 36);
static_assert(offsetof(AEffect, resvd1) == 40);
static_assert(offsetof(AEffect, resvd2) == 44);
static_assert(offsetof(AEffect, initialDelay) == 48);
static_assert(offsetof(AEffect, realQualities) == 52);
static_assert(offsetof(AEffect, offQualities) == 56);
static_assert(offsetof(AEffect, ioRatio) == 60);
static_assert(offsetof(AEffect, object) == 64);
static_assert(offsetof(AEffect, user) == 68);
static_assert(offsetof(AEffect, uniqueID) == 72);
static_assert(offsetof(AEffect, version) == 76);
static_assert(offsetof(AEffect, processReplacing) == 80);
static_assert(offsetof(AEffect, processDoubleReplacing) == 84);
static_assert(offsetof(AEffect, future) == 88);
#else
// 64-bit hosts use the same field order with 8-byte pointers.
static_assert(sizeof(AEffect) == 192);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, future) == 136);
#endif

} // namespace quillory
