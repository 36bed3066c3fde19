#include "shell/AudioEffectX.h"
#include "shell/ValueText.h"

#include <cstdlib>
#include <cstring>

// Speaker-arrangement helpers offered to effects. Arrangements are variable-length records
// allocated with calloc, so hosts and effects agree on how to release them.

namespace quillory {

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input,
                                         VstSpeakerArrangement** output) {
    if (input != nullptr) {
        *input = nullptr;
    }
    if (output != nullptr) {
        *output = nullptr;
    }
    return false;
}

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, int32_t numChannels) {
    if (arrangement == nullptr || numChannels < 0) {
        return false;
    }
    deallocateArrangement(arrangement);
    void* memory = std::calloc(1, speakerArrangementBytes(numChannels));
    if (memory == nullptr) {
        return false;
    }
    *arrangement = static_cast<VstSpeakerArrangement*>(memory);
    (*arrangement)->numChannels = numChannels;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
    if (arrangement != nullptr && *arrangement != nullptr) {
        std::free(*arrangement);
        *arrangement = nullptr;
    }
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
    if (to == nullptr || from == nullptr) {
        return false;
    }
    copyString(to->name, from->name, 63);
    to->name[63] = '\0';
    to->type = from->type;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::memcpy(to->future, from->future, sizeof(to->future));
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
    if (from == nullptr) {
        return false;
    }
    if (!allocateArrangement(to, from->numChannels)) {
        return false;
    }
    (*to)->type = from->type;
    for (int32_t channel = 0; channel < from->numChannels; ++channel) {
        if (!copySpeaker(&(*to)->speakers[channel], &from->speakers[channel])) {
            return false;
        }
    }
    return true;
}

} // namespace quillory
