// Processing: every sample rate and block size, in place and not; outputs finite and free
// of denormals; inputs untouched when not in place; silence in giving silence out after the
// tail; the same output whatever the block size; suspend and resume mid-stream.

#include "host/validate/Check.h"
#include "host/validate/PluginUnderTest.h"
#include "shell/Opcodes.h"

#include <algorithm>
#include <cmath>

namespace quillory::validate {
namespace {

constexpr float kAllRates[] = {8000.0f,  11025.0f, 22050.0f,  44100.0f,  44123.45f, 48000.0f,
                               88200.0f, 96000.0f, 176400.0f, 192000.0f, 384000.0f};
constexpr int32_t kAllBlocks[] = {1, 2, 7, 32, 64, 511, 512, 4096, 8192};

// Below this a sample counts as silent: 120 dB under full scale.
constexpr float kSilence = 1e-6f;
// Two renders of the same input through the same settings may differ by rounding only.
constexpr float kSameOutput = 1e-5f;

std::vector<float> ratesFor(int level) {
    if (level >= 5) {
        return {std::begin(kAllRates), std::end(kAllRates)};
    }
    return level >= 2 ? std::vector<float>{22050.0f, 44100.0f, 48000.0f, 96000.0f}
                      : std::vector<float>{44100.0f};
}

std::vector<int32_t> blocksFor(int level) {
    if (level >= 5) {
        return {std::begin(kAllBlocks), std::end(kAllBlocks)};
    }
    return level >= 2 ? std::vector<int32_t>{1, 32, 512, 4096} : std::vector<int32_t>{64, 512};
}

std::string settingText(float rate, int32_t block, bool inPlace) {
    return "at " + describe(rate) + " Hz, block size " + std::to_string(block) +
           (inPlace ? ", in place" : ", out of place");
}

CheckResult ratesAndBlocks(const CheckContext& context) {
    const bool bothWays = context.level >= 6;
    for (float rate : ratesFor(context.level)) {
        for (int32_t block : blocksFor(context.level)) {
            for (bool inPlace : {false, true}) {
                if (inPlace && !bothWays) {
                    continue;
                }
                auto plugin = createPlugin(context);
                startPlugin(*plugin, rate, block);
                // A twentieth of a second, and at least three blocks.
                const size_t frames = std::max<size_t>(static_cast<size_t>(rate / 20.0f),
                                                       3 * static_cast<size_t>(block));
                const std::string setting = settingText(rate, block, inPlace);
                try {
                    const Channels input =
                        testSignal(plugin->effect()->numInputs, frames, context.seed);
                    requireCleanOutput(processAudio(*plugin, input, {block, inPlace}), setting);
                } catch (const CheckFailure& failure) {
                    const std::string message = failure.what();
                    throw CheckFailure(message.find(" at ") == std::string::npos
                                           ? message + " " + setting
                                           : message);
                }
                suspendPlugin(*plugin);
            }
        }
    }
    return passed();
}

CheckResult silenceAfterTail(const CheckContext& context) {
    constexpr float kRate = 44100.0f;
    auto plugin = createPlugin(context);
    startPlugin(*plugin, kRate, 512);
    const int channels = plugin->effect()->numInputs;
    // A tail size of 0 means "not said"; then five seconds; 1 means "no tail".
    const intptr_t said = plugin->dispatch(effGetTailSize);
    constexpr intptr_t kLongestTail = 60 * 44100;
    const size_t tail = static_cast<size_t>(said > 1 ? std::min(said, kLongestTail)
                                                     : 5 * static_cast<intptr_t>(kRate));
    processAudio(*plugin, testSignal(channels, 11025, context.seed), {});
    const Channels after = processAudio(*plugin, silence(channels, tail), {});
    requireCleanOutput(after, "during the tail");
    const size_t measured = static_cast<size_t>(kRate / 4);
    const Channels end = processAudio(*plugin, silence(channels, measured), {});
    requireCleanOutput(end, "after the tail");
    const float peak = peakOf(end);
    require(peak <= kSilence, "silence in gives " + describe(peak) + " out " +
                                  std::to_string(tail) + " frames after the input stopped" +
                                  (said > 1 ? " (its stated tail)" : ""));
    return passed();
}

Channels renderWithProgram(const CheckContext& context, int32_t program, int32_t block,
                           const Channels& input) {
    auto plugin = createPlugin(context);
    plugin->setHostSampleRate(44100.0f);
    plugin->dispatch(effOpen);
    if (plugin->effect()->numPrograms > 0) {
        plugin->dispatch(effSetProgram, 0, program);
    }
    plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    plugin->dispatch(effSetBlockSize, 0, block);
    plugin->dispatch(effMainsChanged, 0, 1);
    return processAudio(*plugin, input, {block, false});
}

// The first program (of the first sixteen) whose output repeats exactly from one fresh
// instance to the next: programs with random parts are left out that way.
int32_t repeatableProgram(const CheckContext& context, const Channels& input) {
    auto probe = createPlugin(context);
    const int32_t programs = std::clamp(probe->effect()->numPrograms, 1, 16);
    probe.reset();
    for (int32_t program = 0; program < programs; ++program) {
        const Channels first = renderWithProgram(context, program, 512, input);
        const Channels second = renderWithProgram(context, program, 512, input);
        if (largestDifference(first, second) <= kSameOutput) {
            return program;
        }
    }
    skipCheck("no program of the first " + std::to_string(programs) +
              " gives the same output twice (random parts that cannot be left out)");
}

CheckResult blockSizeIndependence(const CheckContext& context) {
    auto probe = createPlugin(context);
    const Channels input = testSignal(probe->effect()->numInputs, 22050, context.seed);
    probe.reset();
    const int32_t program = repeatableProgram(context, input);
    const Channels reference = renderWithProgram(context, program, 512, input);
    const std::vector<int32_t> blocks =
        context.level >= 6 ? std::vector<int32_t>(std::begin(kAllBlocks), std::end(kAllBlocks))
                           : std::vector<int32_t>{7, 64, 4096};
    for (int32_t block : blocks) {
        const Channels output = renderWithProgram(context, program, block, input);
        const float difference = largestDifference(reference, output);
        require(difference <= kSameOutput,
                "program " + std::to_string(program) + " with block size " + std::to_string(block) +
                    " differs from block size 512 by up to " + describe(difference));
    }
    return passed();
}

CheckResult suspendResume(const CheckContext& context) {
    auto plugin = createPlugin(context);
    startPlugin(*plugin, 44100.0f, 512);
    const Channels input = testSignal(plugin->effect()->numInputs, 4096, context.seed);
    requireCleanOutput(processAudio(*plugin, input, {}), "before suspending");
    suspendPlugin(*plugin);
    plugin->dispatch(effMainsChanged, 0, 1);
    requireCleanOutput(processAudio(*plugin, input, {}), "after suspend and resume");
    // A new sample rate and block size while suspended, as hosts do when the device changes.
    suspendPlugin(*plugin);
    plugin->setHostSampleRate(96000.0f);
    plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    plugin->dispatch(effSetBlockSize, 0, 1024);
    plugin->dispatch(effMainsChanged, 0, 1);
    requireCleanOutput(processAudio(*plugin, input, {1024, false}), "after resuming at 96000 Hz");
    const int toggles = scaledCount(context.level, 10, 300);
    for (int i = 0; i < toggles; ++i) {
        suspendPlugin(*plugin);
        plugin->dispatch(effMainsChanged, 0, 1);
        requireCleanOutput(
            processAudio(*plugin, silence(plugin->effect()->numInputs, 64), {64, false}),
            "after a suspend and resume between every block");
    }
    return passed();
}

} // namespace

void addProcessChecks(std::vector<Check>& checks) {
    checks.insert(
        checks.end(),
        {{"process.rates-and-blocks", "process", 1, 180, ratesAndBlocks,
          "sample rates 8000 to 384000 Hz × block sizes 1 to 8192 (all from level 5), in place "
          "too from level 6: outputs finite, no denormals, inputs untouched, nothing written "
          "outside the block"},
         {"process.silence-after-tail", "process", 2, 60, silenceAfterTail,
          "silence in gives silence (below -120 dB) out once the stated tail, or 5 s, has "
          "passed"},
         {"process.suspend-resume", "process", 2, 60, suspendResume,
          "suspend and resume mid-stream, with a new sample rate, and between every block"},
         {"process.block-size-independence", "process", 3, 120, blockSizeIndependence,
          "the same input gives the same output at every block size (in the first program "
          "that repeats exactly)"}});
}

} // namespace quillory::validate
