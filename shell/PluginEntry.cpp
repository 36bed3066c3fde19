#include "shell/PluginEntry.h"

#include "shell/AudioEffect.h"
#include "shell/Opcodes.h"

#if defined(_WIN32)
#define QUILLORY_EXPORT
#else
#define QUILLORY_EXPORT __attribute__((visibility("default")))
#endif

extern "C" QUILLORY_EXPORT quillory::AEffect* QUILLORY_CALLBACK
VSTPluginMain(quillory::audioMasterCallback host) {
    using namespace quillory;
    // A host that gives no callback cannot be served; one that answers 0 to the version
    // request is refused before anything is allocated.
    if (host == nullptr || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    AudioEffect* effect = createEffectInstance(host);
    return effect != nullptr ? effect->getAeffect() : nullptr;
}
