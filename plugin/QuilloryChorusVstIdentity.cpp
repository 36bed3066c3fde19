#include "plugin/QuilloryChorusVst.h"
#include "shell/ValueText.h"

#include <cstring>

namespace quillory {
namespace {

constexpr char kEffectName[] = "Quillory Chorus";
constexpr char kVendorName[] = "Quillory Synth";
constexpr char kProductName[] = "Quillory Chorus V1.00";

constexpr int32_t kEffectNameLength = 32;
constexpr int32_t kVendorLength = 64;
constexpr int32_t kPinLabelLength = 63;

bool fillField(char* field, const char* text, int32_t width) {
    if (field == nullptr) {
        return false;
    }
    copyField(field, text, width);
    return true;
}

// Capabilities are matched exactly, case and length included.
constexpr const char* kCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent",
                                         "midiProgramNames"};

} // namespace

bool QuilloryChorusVst::getEffectName(char* name) {
    return fillField(name, kEffectName, kEffectNameLength);
}

bool QuilloryChorusVst::getVendorString(char* text) {
    return fillField(text, kVendorName, kVendorLength);
}

bool QuilloryChorusVst::getProductString(char* text) {
    return fillField(text, kProductName, kVendorLength);
}

int32_t QuilloryChorusVst::canDo(char* text) {
    if (text == nullptr) {
        return -1;
    }
    for (const char* capability : kCapabilities) {
        if (std::strcmp(text, capability) == 0) {
            return 1;
        }
    }
    return -1;
}

// Output pins are "Vstx 1" and "Vstx 2", each active and stereo. Only the label and flags
// are written; the rest of the host's record stays as the host passed it.
bool QuilloryChorusVst::getOutputProperties(int32_t index, VstPinProperties* properties) {
    if (index < 0 || index >= kNumOutputs || properties == nullptr) {
        return false;
    }
    char number[11] = {};
    int2string(index + 1, number, 10);
    copyString(properties->label, "Vstx ", kPinLabelLength);
    appendString(properties->label, number, kPinLabelLength);
    properties->label[kPinLabelLength] = '\0';
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

} // namespace quillory
