#include "host/validate/PluginUnderTest.h"

#include "host/validate/RealtimeAudit.h"
#include "shell/Opcodes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

namespace quillory::validate {
namespace {

// Written after and before every channel's frames; a plug-in that writes outside the frames
// it was given changes them. A quiet NaN with a payload no arithmetic produces, and which
// arithmetic carries through: one that comes out of the plug-in was read outside the block.
constexpr uint32_t kGuardBits = 0x7FC0DEADu;
// Fills the output frames before each out-of-place call: one still there afterwards was not
// written (or was added to rather than replaced).
constexpr uint32_t kUnwrittenBits = 0x7FC0BEEFu;
constexpr size_t kGuardFrames = 16;
constexpr unsigned char kCanary = 0xA5;
constexpr size_t kCanaryBytes = 64;

float guardValue() {
    return std::bit_cast<float>(kGuardBits);
}

bool isGuard(float sample) {
    return std::bit_cast<uint32_t>(sample) == kGuardBits;
}

// Whether `sample` is the NaN with `bits`, whatever sign arithmetic gave it.
bool carries(float sample, uint32_t bits) {
    return (std::bit_cast<uint32_t>(sample) & 0x7FFFFFFFu) == bits;
}

// One channel's storage: guard, frames, guard.
class GuardedChannel {
public:
    explicit GuardedChannel(size_t frames) : samples(frames + 2 * kGuardFrames, guardValue()) {}
    float* frames() { return samples.data() + kGuardFrames; }
    // Fills the first `count` frames with `value` and guards everything around them.
    void prepare(size_t count, float value) {
        std::fill(samples.begin(), samples.end(), guardValue());
        std::fill_n(frames(), count, value);
    }
    // Whether the guards around the first `count` frames are intact.
    bool guardsIntact(size_t count) const {
        for (size_t i = 0; i < kGuardFrames; ++i) {
            if (!isGuard(samples[i])) {
                return false;
            }
        }
        for (size_t i = kGuardFrames + count; i < samples.size(); ++i) {
            if (!isGuard(samples[i])) {
                return false;
            }
        }
        return true;
    }

private:
    std::vector<float> samples;
};

// Buffers are numbered inputs first, then outputs (when not in place).
void requireGuards(std::vector<GuardedChannel>& buffers, int32_t count, int32_t blockSize) {
    for (size_t b = 0; b < buffers.size(); ++b) {
        require(buffers[b].guardsIntact(static_cast<size_t>(count)),
                "wrote outside the " + std::to_string(count) +
                    "-frame block it was given (buffer " + std::to_string(b) + ", block size " +
                    std::to_string(blockSize) + ")");
    }
}

// Fails on an output frame that holds a value the host put there rather than the plug-in.
void requireWrittenOutputs(const std::vector<float*>& outputs, size_t count, bool inPlace,
                           int32_t blockSize) {
    for (size_t c = 0; c < outputs.size(); ++c) {
        for (size_t i = 0; i < count; ++i) {
            const bool guard = carries(outputs[c][i], kGuardBits);
            if (!guard && (inPlace || !carries(outputs[c][i], kUnwrittenBits))) {
                continue;
            }
            const std::string where = "output " + std::to_string(c) + ", frame " +
                                      std::to_string(i) + " of a " + std::to_string(count) +
                                      "-frame block (block size " + std::to_string(blockSize) + ")";
            throw CheckFailure(guard ? "reads outside the frames it was given: the NaN the host "
                                       "placed around the block came out in " +
                                           where
                                     : "left " + where +
                                           " unwritten, or added to it instead of replacing "
                                           "it: hosts play whatever the buffer held");
        }
    }
}

} // namespace

std::unique_ptr<host::HostedPlugin> createPlugin(const CheckContext& context,
                                                 const char* entryName) {
    auto plugin = std::make_unique<host::HostedPlugin>(context.pluginPath);
    plugin->setLogging(false);
    audit::watchLibrary(*plugin);
    AEffect* effect = plugin->open(entryName);
    require(effect != nullptr, "the entry point returned no effect");
    return plugin;
}

void startPlugin(host::HostedPlugin& plugin, float sampleRate, int32_t blockSize) {
    plugin.setHostSampleRate(sampleRate);
    plugin.setHostBlockSize(blockSize);
    plugin.dispatch(effOpen);
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    plugin.dispatch(effSetBlockSize, 0, blockSize);
    plugin.dispatch(effMainsChanged, 0, 1);
}

void suspendPlugin(host::HostedPlugin& plugin) {
    plugin.dispatch(effMainsChanged, 0, 0);
}

uint64_t Random::next() {
    // splitmix64: small, fast and good enough for test values.
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

Channels testSignal(int channels, size_t frames, uint64_t seed) {
    Random random(seed, 0x5167);
    Channels signal(static_cast<size_t>(channels), std::vector<float>(frames));
    for (size_t c = 0; c < signal.size(); ++c) {
        // A different pitch per channel, so that channel mix-ups show.
        const double step = 0.031 + 0.007 * static_cast<double>(c);
        for (size_t i = 0; i < frames; ++i) {
            const double noise = random.uniform() - 0.5;
            signal[c][i] =
                static_cast<float>(0.25 * std::sin(step * static_cast<double>(i)) + 0.25 * noise);
        }
    }
    return signal;
}

Channels silence(int channels, size_t frames) {
    return Channels(static_cast<size_t>(channels), std::vector<float>(frames, 0.0f));
}

Channels processAudio(host::HostedPlugin& plugin, const Channels& input,
                      const ProcessOptions& options) {
    AEffect* effect = plugin.effect();
    const auto inputCount = static_cast<size_t>(std::max(effect->numInputs, 0));
    const auto outputCount = static_cast<size_t>(std::max(effect->numOutputs, 0));
    const size_t frames = input.empty() ? 0 : input[0].size();
    const auto block = static_cast<size_t>(options.blockSize);
    // In place, outputs share the inputs' buffers; the larger side decides how many.
    const size_t bufferCount =
        options.inPlace ? std::max(inputCount, outputCount) : inputCount + outputCount;
    std::vector<GuardedChannel> buffers(bufferCount, GuardedChannel(block));
    std::vector<float*> inputPointers(inputCount);
    std::vector<float*> outputPointers(outputCount);
    for (size_t c = 0; c < inputCount; ++c) {
        inputPointers[c] = buffers[c].frames();
    }
    for (size_t c = 0; c < outputCount; ++c) {
        outputPointers[c] = buffers[options.inPlace ? c : inputCount + c].frames();
    }
    Channels output(outputCount, std::vector<float>(frames));
    for (size_t start = 0; start < frames; start += block) {
        const size_t count = std::min(block, frames - start);
        for (size_t b = 0; b < buffers.size(); ++b) {
            const bool isOutput = !options.inPlace && b >= inputCount;
            buffers[b].prepare(count, isOutput ? std::bit_cast<float>(kUnwrittenBits) : 0.0f);
        }
        for (size_t c = 0; c < inputCount && c < input.size(); ++c) {
            std::copy_n(input[c].begin() + static_cast<std::ptrdiff_t>(start), count,
                        inputPointers[c]);
        }
        effect->processReplacing(effect, inputPointers.data(), outputPointers.data(),
                                 static_cast<int32_t>(count));
        requireGuards(buffers, static_cast<int32_t>(count), options.blockSize);
        requireWrittenOutputs(outputPointers, count, options.inPlace, options.blockSize);
        if (!options.inPlace) {
            for (size_t c = 0; c < inputCount && c < input.size(); ++c) {
                require(std::equal(inputPointers[c], inputPointers[c] + count,
                                   input[c].begin() + static_cast<std::ptrdiff_t>(start)),
                        "changed its input buffer " + std::to_string(c) +
                            " while processing out of place (block size " +
                            std::to_string(options.blockSize) + ")");
            }
        }
        for (size_t c = 0; c < outputCount; ++c) {
            std::copy_n(outputPointers[c], count,
                        output[c].begin() + static_cast<std::ptrdiff_t>(start));
        }
    }
    return output;
}

void requireCleanOutput(const Channels& output, const std::string& situation) {
    for (size_t c = 0; c < output.size(); ++c) {
        for (size_t i = 0; i < output[c].size(); ++i) {
            const float sample = output[c][i];
            const char* problem = !std::isfinite(sample)                    ? "a non-finite sample"
                                  : std::fpclassify(sample) == FP_SUBNORMAL ? "a denormal sample"
                                                                            : nullptr;
            if (problem != nullptr) {
                throw CheckFailure(std::string(problem) + " (" + describe(sample) + ") in output " +
                                   std::to_string(c) + " at frame " + std::to_string(i) + " " +
                                   situation);
            }
        }
    }
}

float peakOf(const Channels& audio, size_t fromFrame) {
    float peak = 0.0f;
    for (const auto& channel : audio) {
        for (size_t i = fromFrame; i < channel.size(); ++i) {
            peak = std::max(peak, std::fabs(channel[i]));
        }
    }
    return peak;
}

float largestDifference(const Channels& a, const Channels& b) {
    float largest = 0.0f;
    for (size_t c = 0; c < a.size() && c < b.size(); ++c) {
        for (size_t i = 0; i < a[c].size() && i < b[c].size(); ++i) {
            const float difference = std::fabs(a[c][i] - b[c][i]);
            largest = std::isnan(difference) ? std::numeric_limits<float>::infinity()
                                             : std::max(largest, difference);
        }
    }
    return largest;
}

std::string readText(host::HostedPlugin& plugin, int32_t opcode, int32_t index, size_t limit,
                     const std::string& what, intptr_t value) {
    std::vector<unsigned char> buffer(limit + 1 + kCanaryBytes, kCanary);
    std::fill_n(buffer.begin(), limit + 1, 0);
    plugin.dispatch(opcode, index, value, buffer.data());
    for (size_t i = limit + 1; i < buffer.size(); ++i) {
        require(buffer[i] == kCanary, what + " wrote past its limit of " + std::to_string(limit) +
                                          " characters (byte " + std::to_string(i) +
                                          " of the host's buffer changed)");
    }
    const auto* text = reinterpret_cast<const char*>(buffer.data());
    const size_t length = strnlen(text, limit + 1);
    require(length <= limit,
            what + " is not terminated within " + std::to_string(limit) + " characters");
    return std::string(text, length);
}

std::string describe(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

int scaledCount(int level, int atLevelOne, int atLevelTen) {
    const int clamped = std::clamp(level, 1, 10);
    return atLevelOne + (atLevelTen - atLevelOne) * (clamped - 1) / 9;
}

} // namespace quillory::validate
