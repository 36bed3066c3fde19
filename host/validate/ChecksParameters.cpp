// Parameters: names, labels and display texts at many values, set/get round trips, values
// outside 0..1 and NaN/Inf from the host, automation every 32 frames while processing, and
// parameter changes from another thread while audio runs.

#include "host/validate/Check.h"
#include "host/validate/PluginUnderTest.h"
#include "shell/Opcodes.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>
#include <thread>

namespace quillory::validate {
namespace {

// The interface documents 8 characters for parameter texts; hosts in practice pass 64 bytes
// or more, and many plug-ins use that room. Longer than 8 is a warning, past 63 a fault.
constexpr size_t kDocumentedParameterText = 8;
constexpr size_t kParameterTextBuffer = 63;
constexpr float kStableWithin = 1e-4f;

int parameterCount(const host::HostedPlugin& plugin, const CheckContext& context) {
    // Plug-ins with thousands of parameters are sampled at low levels.
    return std::min(plugin.effect()->numParams, scaledCount(context.level, 64, 4096));
}

CheckResult texts(const CheckContext& context) {
    auto plugin = createPlugin(context);
    const int values = scaledCount(context.level, 3, 21);
    std::string warning;
    for (int32_t index = 0; index < parameterCount(*plugin, context); ++index) {
        for (int step = 0; step < values; ++step) {
            const float value = static_cast<float>(step) / static_cast<float>(values - 1);
            plugin->effect()->setParameter(plugin->effect(), index, value);
            const std::string where =
                "parameter " + std::to_string(index) + " at " + describe(value) + ": ";
            for (auto [opcode, what] :
                 {std::pair{effGetParamName, "name"}, std::pair{effGetParamLabel, "label"},
                  std::pair{effGetParamDisplay, "display text"}}) {
                const std::string text =
                    readText(*plugin, opcode, index, kParameterTextBuffer, where + what);
                if (text.size() > kDocumentedParameterText && warning.empty()) {
                    warning = "texts longer than the documented 8 characters (" + where + what +
                              " \"" + text + "\"); hosts passing 9-byte buffers would be overrun";
                }
            }
        }
    }
    return passed(warning);
}

CheckResult roundTrip(const CheckContext& context) {
    auto plugin = createPlugin(context);
    AEffect* effect = plugin->effect();
    Random random(context.seed, 0x7A11);
    const int values = scaledCount(context.level, 4, 40);
    for (int32_t index = 0; index < parameterCount(*plugin, context); ++index) {
        for (int i = 0; i < values; ++i) {
            const float asked = i == 0   ? 0.0f
                                : i == 1 ? 1.0f
                                         : static_cast<float>(random.uniform());
            effect->setParameter(effect, index, asked);
            const float answered = effect->getParameter(effect, index);
            const std::string where = "parameter " + std::to_string(index) + " set to " +
                                      describe(asked) + " reads back " + describe(answered);
            require(std::isfinite(answered) && answered >= 0.0f && answered <= 1.0f,
                    where + ", outside 0..1");
            effect->setParameter(effect, index, answered);
            const float again = effect->getParameter(effect, index);
            require(std::fabs(again - answered) <= kStableWithin,
                    where + ", and setting that reads back " + describe(again) +
                        ": the value is not stable");
        }
    }
    return passed();
}

CheckResult outOfRange(const CheckContext& context) {
    auto plugin = createPlugin(context);
    AEffect* effect = plugin->effect();
    startPlugin(*plugin, 44100.0f, 512);
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const float hostile[] = {-1.0f,     2.0f,       std::numeric_limits<float>::quiet_NaN(),
                             kInfinity, -kInfinity, 1e30f,
                             -1e30f,    1e-40f,     -0.0f};
    std::string warning;
    const Channels input = testSignal(effect->numInputs, 512, context.seed);
    for (float value : hostile) {
        const int count = parameterCount(*plugin, context);
        for (int32_t index = 0; index < count; ++index) {
            effect->setParameter(effect, index, value);
        }
        for (int32_t index = 0; index < count; ++index) {
            const float answered = effect->getParameter(effect, index);
            const std::string where = "parameter " + std::to_string(index) + " given " +
                                      describe(value) + " reads back " + describe(answered);
            require(std::isfinite(answered), where);
            if ((answered < 0.0f || answered > 1.0f) && warning.empty()) {
                warning = where + ", outside 0..1";
            }
            readText(*plugin, effGetParamDisplay, index, kParameterTextBuffer,
                     "display text of parameter " + std::to_string(index) + " given " +
                         describe(value));
        }
        requireCleanOutput(processAudio(*plugin, input, {}),
                           "after every parameter was given " + describe(value));
    }
    return passed(warning);
}

CheckResult automation(const CheckContext& context) {
    auto plugin = createPlugin(context);
    AEffect* effect = plugin->effect();
    startPlugin(*plugin, 44100.0f, 32);
    Random random(context.seed, 0xA070);
    constexpr size_t kFramesBetweenChanges = 32;
    const size_t changes = static_cast<size_t>(scaledCount(context.level, 500, 6000));
    const Channels input = testSignal(effect->numInputs, kFramesBetweenChanges, context.seed);
    for (size_t change = 0; change < changes && effect->numParams > 0; ++change) {
        effect->setParameter(effect, random.below(effect->numParams),
                             static_cast<float>(random.uniform()));
        requireCleanOutput(processAudio(*plugin, input, {32, false}),
                           "in automation block " + std::to_string(change));
    }
    return passed();
}

// Audio on this thread, parameters set and read on another (and at higher levels display
// texts read on a third), as hosts with an automation thread or a generic editor do.
CheckResult otherThread(const CheckContext& context) {
    auto plugin = createPlugin(context);
    AEffect* effect = plugin->effect();
    startPlugin(*plugin, 44100.0f, 64);
    if (effect->numParams == 0) {
        skipCheck("the plug-in has no parameters");
    }
    std::atomic<bool> running{true};
    std::thread setter([&] {
        Random random(context.seed, 0x7EAD);
        while (running.load()) {
            const int32_t index = random.below(effect->numParams);
            effect->setParameter(effect, index, static_cast<float>(random.uniform()));
            effect->getParameter(effect, index);
        }
    });
    std::thread display;
    if (context.level >= 8) {
        display = std::thread([&] {
            char text[256];
            for (int32_t index = 0; running.load(); index = (index + 1) % effect->numParams) {
                plugin->dispatch(effGetParamDisplay, index, 0, text);
            }
        });
    }
    std::string problem;
    const size_t blocks = static_cast<size_t>(scaledCount(context.level, 200, 2000));
    const Channels input = testSignal(effect->numInputs, 64, context.seed);
    try {
        for (size_t block = 0; block < blocks; ++block) {
            requireCleanOutput(processAudio(*plugin, input, {64, false}),
                               "while another thread sets parameters");
        }
    } catch (const CheckFailure& failure) {
        problem = failure.what();
    }
    running = false;
    setter.join();
    if (display.joinable()) {
        display.join();
    }
    require(problem.empty(), problem);
    return passed();
}

} // namespace

void addParameterChecks(std::vector<Check>& checks) {
    checks.insert(
        checks.end(),
        {{"params.texts", "params", 1, 30, texts,
          "name, label and display text of every parameter at 3 to 21 values, within 63 "
          "characters (longer than 8 warns)"},
         {"params.round-trip", "params", 2, 30, roundTrip,
          "a value set reads back within 0..1, and setting what was read is stable"},
         {"params.out-of-range", "params", 3, 30, outOfRange,
          "-1, 2, NaN, ±Inf, ±1e30, a denormal and -0 from the host: values read back finite, "
          "audio stays clean"},
         {"params.automation", "params", 4, 60, automation,
          "a random parameter change every 32 frames while processing"},
         {"params.other-thread", "params", 5, 60, otherThread,
          "parameters set and read on another thread (display texts on a third from level 8) "
          "while audio runs"}});
}

} // namespace quillory::validate
