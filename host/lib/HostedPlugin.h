#pragma once
// Hosting one plug-in: loads a plug-in library, creates the effect through its exported
// entry point, answers the plug-in's requests like a configurable host, logs every request,
// and runs the process callback over whole buffers. Tests and the command-line host share it.

#include "host/lib/PluginLibrary.h"
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
    // Answers a request in place of standardAnswer().
    using Responder = std::function<intptr_t(const HostCall&)>;

    // Names this host gives when a plug-in asks.
    static constexpr const char* kVendorName = "Quillory";
    static constexpr const char* kProductName = "Quillory host";
    static constexpr intptr_t kVendorVersion = 1000;

    // Loads the library; throws std::runtime_error naming the problem when it cannot.
    explicit HostedPlugin(const std::string& libraryPath);
    ~HostedPlugin();

    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;

    // Looks up an exported function of the library; null when it is not exported.
    void* symbol(const char* name) const;

    // Calls the named export, or by default VSTPluginMain and failing that main, with this
    // host's callback. The record returned, if any, is remembered and closed when the host
    // is destroyed. Throws std::runtime_error when there is no such export, or when what the
    // entry point returns is not an effect record (no 'VstP' magic); answers null when the
    // entry point returns null.
    AEffect* open(const char* entryName = nullptr);
    // Calls the entry point with a null host callback.
    AEffect* openWithoutCallback(const char* entryName = nullptr);
    // Sends effClose to the open plug-in; answers what the record's dispatcher answered.
    intptr_t close();

    AEffect* effect() const { return record; }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    // Dispatches a request that fills in a text (a name, label or display) and returns the
    // text without the trailing spaces some plug-ins pad it with.
    std::string dispatchText(int32_t opcode, int32_t index = 0);

    // Runs the replacing process callback over whole stereo buffers in blocks of `blockSize`.
    void processStereo(std::vector<float>& left, std::vector<float>& right,
                       std::vector<float>& outLeft, std::vector<float>& outRight,
                       int32_t blockSize = 512);

    // What the host tells the plug-in its sample rate and block size are. The values are
    // only answered to the plug-in's requests; the plug-in is told through its dispatcher.
    void setHostSampleRate(float rate) { hostSampleRate = rate; }
    void setHostBlockSize(int32_t size) { hostBlockSize = size; }

    // The answers of a plain offline host: version 2400, the sample rate and block size set
    // above, this host's names and version, English, and 0 ("not supported", "no", null)
    // for everything else, including every canDo question and the time info.
    intptr_t standardAnswer(const HostCall& call) const;

    // Replaces the standard answers; an empty responder restores them.
    void setResponder(Responder responder);
    // Stops (or restarts) keeping the log below. Without it a request from the plug-in takes
    // no lock and allocates nothing, which matters when requests come from the audio thread
    // of a plug-in whose real-time behaviour is being measured.
    void setLogging(bool enabled) { logging = enabled; }
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

    PluginLibrary library;
    AEffect* record = nullptr;
    Responder responder;
    float hostSampleRate = 44100.0f;
    int32_t hostBlockSize = 512;
    mutable std::mutex callsMutex;
    std::vector<HostCall> log;
    bool logging = true;
};

} // namespace quillory::host
