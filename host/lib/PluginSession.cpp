#include "host/lib/PluginSession.h"

#include "shell/Opcodes.h"

#include <algorithm>
#include <stdexcept>

namespace quillory::host {

PluginSession::PluginSession(HostedPlugin& hosted, const SessionSettings& settings)
    : plugin(hosted), effect(hosted.effect()), blockSize(settings.blockSize) {
    if (effect == nullptr) {
        throw std::logic_error("a session needs an opened plug-in");
    }
    if (blockSize < 1) {
        throw std::invalid_argument("the block size must be at least 1");
    }
    inputs.assign(static_cast<size_t>(std::max(effect->numInputs, 0)),
                  std::vector<float>(static_cast<size_t>(blockSize)));
    for (auto& input : inputs) {
        inputPointers.push_back(input.data());
    }
    outputPointers.resize(static_cast<size_t>(std::max(effect->numOutputs, 0)));

    plugin.setHostSampleRate(settings.sampleRate);
    plugin.setHostBlockSize(blockSize);
    plugin.dispatch(effOpen);
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, settings.sampleRate);
    plugin.dispatch(effSetBlockSize, 0, blockSize);
    if (settings.program) {
        plugin.dispatch(effSetProgram, 0, *settings.program);
    }
    for (const ParameterSetting& parameter : settings.parameters) {
        effect->setParameter(effect, parameter.index, parameter.value);
    }
    plugin.dispatch(effMainsChanged, 0, 1);
}

PluginSession::~PluginSession() {
    finish();
}

void PluginSession::fillInputs(std::span<const float* const> sources, size_t offset,
                               int32_t count) {
    const auto frames = static_cast<size_t>(count);
    for (size_t channel = 0; channel < inputs.size(); ++channel) {
        float* input = inputs[channel].data();
        if (sources.empty() || channel >= 2) {
            std::fill_n(input, frames, 0.0f);
        } else if (sources.size() >= 2 && inputs.size() == 1) {
            for (size_t i = 0; i < frames; ++i) {
                input[i] = 0.5f * (sources[0][offset + i] + sources[1][offset + i]);
            }
        } else {
            const float* source = sources[std::min(channel, sources.size() - 1)] + offset;
            std::copy_n(source, frames, input);
        }
    }
}

void PluginSession::process(std::span<const float* const> sources, std::span<float* const> outputs,
                            size_t frames) {
    if (!running) {
        throw std::logic_error("the session has finished");
    }
    if (outputs.size() != outputPointers.size()) {
        throw std::invalid_argument("one output buffer is needed per plug-in output");
    }
    // Plug-ins without the replacing callback add to what the output buffers hold.
    const bool replacing =
        (effect->flags & effFlagsCanReplacing) != 0 && effect->processReplacing != nullptr;
    for (size_t start = 0; start < frames;) {
        const auto count =
            static_cast<int32_t>(std::min(frames - start, static_cast<size_t>(blockSize)));
        fillInputs(sources, start, count);
        for (size_t channel = 0; channel < outputs.size(); ++channel) {
            outputPointers[channel] = outputs[channel] + start;
            if (!replacing) {
                std::fill_n(outputPointers[channel], count, 0.0f);
            }
        }
        (replacing ? effect->processReplacing : effect->process)(effect, inputPointers.data(),
                                                                 outputPointers.data(), count);
        start += static_cast<size_t>(count);
    }
}

void PluginSession::finish() {
    if (!running) {
        return;
    }
    running = false;
    plugin.dispatch(effMainsChanged, 0, 0);
    plugin.close();
}

} // namespace quillory::host
