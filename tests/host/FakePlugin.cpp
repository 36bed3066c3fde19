// Plug-in libraries that misbehave in one way each, and a probe that records what its host
// does. One source, built once per kind with one of these defined:
//   QUILLORY_FAKE_NO_ENTRY       exports neither VSTPluginMain nor main
//   QUILLORY_FAKE_NULL_EFFECT    the entry point returns null
//   QUILLORY_FAKE_NOT_AN_EFFECT  the entry point returns a record without the 'VstP' magic
//   QUILLORY_FAKE_CRASHING       a working effect that kills its process on the third block
//   QUILLORY_FAKE_PROBE          the recording probe described in FakePlugin.h

#include "tests/host/FakePlugin.h"
#include "shell/AEffect.h"
#include "shell/Opcodes.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

#if defined(QUILLORY_FAKE_CRASHING) || defined(QUILLORY_FAKE_PROBE)
namespace quillory::testing {
namespace {

std::vector<FakeEvent> events;

struct FakeEffect {
    AEffect record{};
    audioMasterCallback host = nullptr;
    float hostSampleRate = 0.0f;
    float hostBlockSize = 0.0f;
    int blocks = 0;
};

FakeEffect* fakeOf(AEffect* effect) {
    return static_cast<FakeEffect*>(effect->object);
}

intptr_t dispatcher(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                    float opt) {
    events.push_back({opcode, index, value, opt});
    FakeEffect* fake = fakeOf(effect);
    switch (opcode) {
    case effMainsChanged:
        if (value != 0) {
            fake->hostSampleRate =
                static_cast<float>(fake->host(effect, audioMasterGetSampleRate, 0, 0, nullptr, 0));
            fake->hostBlockSize =
                static_cast<float>(fake->host(effect, audioMasterGetBlockSize, 0, 0, nullptr, 0));
        }
        return 0;
    case effGetEffectName: // a name that only properly escaped JSON can carry
        std::strcpy(static_cast<char*>(ptr), kFakeEffectName);
        return 1;
    case effGetParamName:
        std::snprintf(static_cast<char*>(ptr), 9, "Gain %d", static_cast<int>(index));
        return 0;
    case effVendorSpecific: // passes a request on to the host, for tests of its answers
        return fake->host(effect, index, 0, value, ptr, opt);
    case effClose:
        delete fake;
        return 1;
    default:
        return 0;
    }
}

void setParameter(AEffect*, int32_t index, float value) {
    events.push_back({kFakeSetParameter, index, 0, value});
}

float getParameter(AEffect*, int32_t) {
    return 0.0f;
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    events.push_back({kFakeProcess, 0, frames, 0.0f});
    FakeEffect* fake = fakeOf(effect);
#ifdef QUILLORY_FAKE_CRASHING
    if (++fake->blocks == 3) {
        std::raise(SIGKILL);
    }
#endif
    for (int32_t i = 0; i < frames; ++i) {
        outputs[0][i] = inputs[0][i];
        outputs[1][i] = -inputs[0][i];
        outputs[2][i] = fake->hostSampleRate / kFakeAnswerScale;
        outputs[3][i] = fake->hostBlockSize / kFakeAnswerScale;
    }
}

AEffect* createEffect(audioMasterCallback host) {
    events.clear();
    auto* fake = new FakeEffect;
    fake->host = host;
    AEffect& record = fake->record;
    record.magic = kEffectMagic;
    record.dispatcher = dispatcher;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.processReplacing = processReplacing;
    record.numParams = 3;
    record.numInputs = 1;
    record.numOutputs = 4;
    record.flags = effFlagsCanReplacing;
    record.object = fake;
    record.uniqueID = fourCharCode('F', 'a', 'k', 'e');
    return &record;
}

} // namespace
} // namespace quillory::testing
#endif

#if defined(QUILLORY_FAKE_NO_ENTRY)
FAKE_EXPORT int notAPluginEntry() {
    return 0;
}
#elif defined(QUILLORY_FAKE_NULL_EFFECT)
FAKE_EXPORT quillory::AEffect* VSTPluginMain(quillory::audioMasterCallback) {
    return nullptr;
}
#elif defined(QUILLORY_FAKE_NOT_AN_EFFECT)
FAKE_EXPORT quillory::AEffect* VSTPluginMain(quillory::audioMasterCallback) {
    static quillory::AEffect record{};
    record.magic = quillory::fourCharCode('N', 'o', 'p', 'e');
    return &record;
}
#else
FAKE_EXPORT quillory::AEffect* VSTPluginMain(quillory::audioMasterCallback host) {
    return quillory::testing::createEffect(host);
}
FAKE_EXPORT const quillory::testing::FakeEvent* quilloryFakeEvents(size_t* count) {
    *count = quillory::testing::events.size();
    return quillory::testing::events.data();
}
#endif
