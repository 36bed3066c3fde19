#pragma once
// Hosting one plug-in: loads a plug-in library, creates the effect through its exported
// entry point, answers the plug-in's requests like a configurable host, logs every request,
// and runs the process callback over whole buffers. Tests and the command-line host share it.

#include "shell/AEffect.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace quillory::host {

struct HostCall {
    AEffect* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
    // Copies of what the record said when the request arrived (zero for a null record).
    int32_t numInputsAtCall;
    int32_t flagsAtCall;
    int32_t uniqueIdAtCall;
};

class HostedPlugin {
public:
    // Answers a request; the default one answers 2400 to the version request and 0 to
    // everything else.
    using Responder = std::function<intptr_t(const HostCall&)>;

    // Loads the library; throws std::runtime_error naming the problem when it cannot.
    explicit HostedPlugin(const std::string& libraryPath);
    ~HostedPlugin();

    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;

    // Looks up an exported function of the library; null when it is not exported.
    void* symbol(const char* name) const;

    // Calls the named export, or by default VSTPluginMain and failing that main, with this
    // host's callback. The record returned, if any, is remembered and closed when the host
    // is destroyed.
    AEffect* open(const char* entryName = nullptr);
    // Calls the entry point with a null host callback.
    AEffect* openWithoutCallback(const char* entryName = nullptr);
    // Sends effClose to the open plug-in; answers what the record's dispatcher answered.
    intptr_t close();

    AEffect* effect() const { return record; }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Runs the replacing process callback over whole stereo buffers in blocks of `blockSize`.
    void processStereo(std::vector<float>& left, std::vector<float>& right,
                       std::vector<float>& outLeft, std::vector<float>& outRight,
                       int32_t blockSize = 512);

    void setResponder(Responder responder);
    std::vector<HostCall> calls() const;
    std::vector<HostCall> callsWithOpcode(int32_t opcode) const;
    void clearCalls();

private:
    using EntryPoint = AEffect* (*)(audioMasterCallback);
    EntryPoint entryPoint(const char* entryName) const;
    static intptr_t QUILLORY_CALLBACK hostCallback(AEffect* effect, int32_t opcode, int32_t index,
                                                   intptr_t value, void* ptr, float opt);
    intptr_t handle(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                    float opt);

    void* library = nullptr;
    AEffect* record = nullptr;
    Responder responder;
    mutable std::mutex callsMutex;
    std::vector<HostCall> log;
};

} // namespace quillory::host
