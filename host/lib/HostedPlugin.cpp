#include "host/lib/HostedPlugin.h"

#include "shell/Opcodes.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace quillory::host {
namespace {

// The host that is creating a plug-in on this thread. During creation the plug-in calls
// back before the host has the record in hand to tell hosts apart.
thread_local HostedPlugin* hostBeingOpened = nullptr;

// Vendor and product strings are at most 64 bytes with the terminator.
constexpr int32_t kHostStringLength = 63;
constexpr intptr_t kEnglish = 1;
constexpr size_t kTextBuffer = 256;

intptr_t copyAnswer(void* text, const char* name) {
    if (text == nullptr) {
        return 0;
    }
    std::snprintf(static_cast<char*>(text), kHostStringLength + 1, "%s", name);
    return 1;
}

} // namespace

HostedPlugin::HostedPlugin(const std::string& libraryPath) : library(libraryPath) {
    if (!library.isOpen()) {
        throw std::runtime_error("cannot load " + libraryPath +
                                 " as a plug-in library: " + library.error());
    }
}

HostedPlugin::~HostedPlugin() {
    if (record != nullptr) {
        close();
    }
    library.close();
}

void* HostedPlugin::symbol(const char* name) const {
    return library.symbol(name);
}

HostedPlugin::EntryPoint HostedPlugin::entryPoint(const char* entryName) const {
    if (entryName != nullptr) {
        return reinterpret_cast<EntryPoint>(symbol(entryName));
    }
    void* entry = symbol("VSTPluginMain");
    return reinterpret_cast<EntryPoint>(entry != nullptr ? entry : symbol("main"));
}

AEffect* HostedPlugin::open(const char* entryName) {
    EntryPoint entry = entryPoint(entryName);
    if (entry == nullptr) {
        throw std::runtime_error(
            "the library exports no plug-in entry point (VSTPluginMain or main)");
    }
    hostBeingOpened = this;
    AEffect* created = entry(&HostedPlugin::hostCallback);
    hostBeingOpened = nullptr;
    if (created != nullptr && created->magic != kEffectMagic) {
        // Not a record this host may call into, nor close.
        throw std::runtime_error("the entry point returned something that is not an effect "
                                 "(no 'VstP' magic)");
    }
    record = created;
    if (record != nullptr) {
        record->user = this;
    }
    return record;
}

AEffect* HostedPlugin::openWithoutCallback(const char* entryName) {
    EntryPoint entry = entryPoint(entryName);
    return entry != nullptr ? entry(nullptr) : nullptr;
}

intptr_t HostedPlugin::close() {
    const intptr_t answer = record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    record = nullptr;
    return answer;
}

intptr_t HostedPlugin::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

std::string HostedPlugin::dispatchText(int32_t opcode, int32_t index) {
    // Generous: plug-ins may write past the lengths the interface names.
    char text[kTextBuffer] = {};
    dispatch(opcode, index, 0, text);
    text[kTextBuffer - 1] = '\0';
    std::string result = text;
    while (!result.empty() && result.back() == ' ') {
        result.pop_back();
    }
    return result;
}

void HostedPlugin::processStereo(std::vector<float>& left, std::vector<float>& right,
                                 std::vector<float>& outLeft, std::vector<float>& outRight,
                                 int32_t blockSize) {
    const auto frames = static_cast<int32_t>(left.size());
    outLeft.resize(left.size());
    outRight.resize(right.size());
    for (int32_t start = 0; start < frames; start += blockSize) {
        const int32_t count = std::min(blockSize, frames - start);
        float* inputs[2] = {left.data() + start, right.data() + start};
        float* outputs[2] = {outLeft.data() + start, outRight.data() + start};
        record->processReplacing(record, inputs, outputs, count);
    }
}

intptr_t HostedPlugin::standardAnswer(const HostCall& call) const {
    switch (call.opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterGetSampleRate:
        return static_cast<intptr_t>(hostSampleRate);
    case audioMasterGetBlockSize:
        return hostBlockSize;
    case audioMasterGetVendorString:
        return copyAnswer(call.ptr, kVendorName);
    case audioMasterGetProductString:
        return copyAnswer(call.ptr, kProductName);
    case audioMasterGetVendorVersion:
        return kVendorVersion;
    case audioMasterGetLanguage:
        return kEnglish;
    default:
        return 0;
    }
}

void HostedPlugin::setResponder(Responder newResponder) {
    responder = std::move(newResponder);
}

std::vector<HostCall> HostedPlugin::calls() const {
    std::lock_guard<std::mutex> lock(callsMutex);
    return log;
}

std::vector<HostCall> HostedPlugin::callsWithOpcode(int32_t opcode) const {
    std::vector<HostCall> matching;
    for (const HostCall& call : calls()) {
        if (call.opcode == opcode) {
            matching.push_back(call);
        }
    }
    return matching;
}

void HostedPlugin::clearCalls() {
    std::lock_guard<std::mutex> lock(callsMutex);
    log.clear();
}

intptr_t QUILLORY_CALLBACK HostedPlugin::hostCallback(AEffect* effect, int32_t opcode,
                                                      int32_t index, intptr_t value, void* ptr,
                                                      float opt) {
    HostedPlugin* host = hostBeingOpened;
    if (effect != nullptr && effect->user != nullptr) {
        host = static_cast<HostedPlugin*>(effect->user);
    }
    return host != nullptr ? host->handle(effect, opcode, index, value, ptr, opt) : 0;
}

intptr_t HostedPlugin::handle(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                              void* ptr, float opt) {
    HostCall call{effect, opcode, index, value, ptr, opt, 0, 0, 0};
    if (effect != nullptr) {
        call.numInputsAtCall = effect->numInputs;
        call.flagsAtCall = effect->flags;
        call.uniqueIdAtCall = effect->uniqueID;
    }
    if (logging) {
        std::lock_guard<std::mutex> lock(callsMutex);
        log.push_back(call);
    }
    return responder ? responder(call) : standardAnswer(call);
}

} // namespace quillory::host
