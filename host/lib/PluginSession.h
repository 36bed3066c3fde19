#pragma once
// One run of a plug-in the way a host drives it: effOpen, sample rate, block size, program,
// parameters in the order given, resume (effMainsChanged 1); then audio in blocks of at most
// the block size; then suspend (effMainsChanged 0) and effClose.

#include "host/lib/HostedPlugin.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillory::host {

struct ParameterSetting {
    int32_t index;
    float value; // normalised, 0..1
};

struct SessionSettings {
    float sampleRate = 44100.0f;
    int32_t blockSize = 512;
    std::optional<int32_t> program; // left as the plug-in starts when empty
    std::vector<ParameterSetting> parameters;
};

class PluginSession {
public:
    // Starts the effect that `plugin` has opened (plugin.effect() must not be null) and
    // leaves it resumed.
    PluginSession(HostedPlugin& plugin, const SessionSettings& settings);
    // Suspends and closes the plug-in unless finish() already did.
    ~PluginSession();

    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    int32_t inputCount() const { return static_cast<int32_t>(inputs.size()); }
    int32_t outputCount() const { return static_cast<int32_t>(outputPointers.size()); }

    // Runs `frames` frames through the plug-in in blocks of at most the block size.
    // `sources` holds the input's channels: none for silence, one (fed to the first two
    // plug-in inputs) or two (fed to the first two inputs, or averaged for a plug-in with a
    // single input). Plug-in inputs past the second get silence. `outputs` holds one pointer
    // per plug-in output, each with room for `frames` samples.
    void process(std::span<const float* const> sources, std::span<float* const> outputs,
                 size_t frames);

    // Suspends and closes the plug-in.
    void finish();

private:
    void fillInputs(std::span<const float* const> sources, size_t offset, int32_t count);

    HostedPlugin& plugin;
    AEffect* effect;
    int32_t blockSize;
    bool running = true;
    std::vector<std::vector<float>> inputs;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
};

} // namespace quillory::host
