// Opening and closing: the entry points, the record they return, and creating and closing
// instances cold (first in a fresh process, library loaded anew) and warm (library kept).

#include "host/validate/Check.h"
#include "host/validate/PluginUnderTest.h"
#include "shell/Opcodes.h"

#include <cmath>

namespace quillory::validate {
namespace {

// Generous bounds: a record outside them was not filled in, or was filled in wrongly.
constexpr int32_t kMostChannels = 256;
constexpr int32_t kMostParametersOrPrograms = 100000;

std::string recordProblems(const AEffect& record) {
    if (record.dispatcher == nullptr) {
        return "the record has no dispatcher";
    }
    if (record.processReplacing == nullptr || (record.flags & effFlagsCanReplacing) == 0) {
        return "the record offers no replacing process callback (effFlagsCanReplacing clear "
               "or processReplacing null); VST 2.4 hosts need it";
    }
    if (record.setParameter == nullptr || record.getParameter == nullptr) {
        return "the record lacks setParameter or getParameter";
    }
    if (record.numInputs < 0 || record.numInputs > kMostChannels || record.numOutputs < 0 ||
        record.numOutputs > kMostChannels) {
        return "implausible channel counts: " + std::to_string(record.numInputs) + " in, " +
               std::to_string(record.numOutputs) + " out";
    }
    if (record.numParams < 0 || record.numParams > kMostParametersOrPrograms ||
        record.numPrograms < 0 || record.numPrograms > kMostParametersOrPrograms) {
        return "implausible counts: " + std::to_string(record.numParams) + " parameters, " +
               std::to_string(record.numPrograms) + " programs";
    }
    if (record.initialDelay < 0) {
        return "negative initial delay " + std::to_string(record.initialDelay);
    }
    if (!std::isfinite(record.ioRatio)) {
        return "ioRatio is not finite";
    }
    return {};
}

// Both entry names reach a working effect; at least one must exist.
CheckResult entryPointsAndRecord(const CheckContext& context) {
    std::string warning;
    int found = 0;
    for (const char* entry : {"VSTPluginMain", "main"}) {
        host::HostedPlugin probe(context.pluginPath);
        if (probe.symbol(entry) == nullptr) {
            warning = std::string("exports no ") + entry +
                      " (older hosts look for main, newer "
                      "ones for VSTPluginMain)";
            continue;
        }
        ++found;
        auto plugin = createPlugin(context, entry);
        const std::string problem = recordProblems(*plugin->effect());
        require(problem.empty(), std::string("through ") + entry + ": " + problem);
        if (plugin->effect()->uniqueID == 0) {
            warning = "the unique identifier is 0; hosts cannot tell it apart in saved sessions";
        }
    }
    require(found > 0, "exports neither VSTPluginMain nor main");
    return passed(warning);
}

// One full life: created, opened, started, one block, suspended, closed.
void oneLife(const CheckContext& context) {
    auto plugin = createPlugin(context);
    startPlugin(*plugin, 44100.0f, 512);
    const Channels input = testSignal(plugin->effect()->numInputs, 512, context.seed);
    requireCleanOutput(processAudio(*plugin, input, {}), "in its first block");
    suspendPlugin(*plugin);
    plugin->close();
}

CheckResult cold(const CheckContext& context) {
    // The check runs in a process of its own: this is the first instance it has seen.
    oneLife(context);
    return passed();
}

CheckResult reload(const CheckContext& context) {
    const int times = scaledCount(context.level, 2, 20);
    for (int i = 0; i < times; ++i) {
        oneLife(context); // each life loads and unloads the library
    }
    return passed();
}

CheckResult warm(const CheckContext& context) {
    // Keeping one more handle on the library keeps it loaded between the instances.
    host::HostedPlugin keeper(context.pluginPath);
    const int times = scaledCount(context.level, 3, 100);
    for (int i = 0; i < times; ++i) {
        try {
            oneLife(context);
        } catch (const CheckFailure& failure) {
            throw CheckFailure("instance " + std::to_string(i + 1) + " of " +
                               std::to_string(times) + ": " + failure.what());
        }
    }
    return passed();
}

CheckResult manyInstances(const CheckContext& context) {
    const int count = scaledCount(context.level, 2, 8);
    constexpr int32_t kBlock = 256;
    std::vector<std::unique_ptr<host::HostedPlugin>> plugins;
    for (int i = 0; i < count; ++i) {
        plugins.push_back(createPlugin(context));
        startPlugin(*plugins.back(), 48000.0f, kBlock);
        require(plugins.back()->effect() != plugins.front()->effect() || i == 0,
                "two instances share one record");
    }
    for (auto& plugin : plugins) {
        const Channels input = testSignal(plugin->effect()->numInputs, 1024, context.seed);
        requireCleanOutput(processAudio(*plugin, input, {kBlock, false}),
                           "with " + std::to_string(count) + " instances alive");
    }
    // Closed neither in the order made nor its reverse: odd ones first.
    for (size_t i = 1; i < plugins.size(); i += 2) {
        plugins[i].reset();
    }
    for (auto& plugin : plugins) {
        if (plugin) {
            const Channels input = testSignal(plugin->effect()->numInputs, 512, context.seed);
            requireCleanOutput(processAudio(*plugin, input, {kBlock, false}),
                               "after other instances closed");
        }
    }
    return passed();
}

} // namespace

void addOpenChecks(std::vector<Check>& checks) {
    checks.insert(checks.end(),
                  {{"open.entry-points", "open", 1, 20, entryPointsAndRecord,
                    "VSTPluginMain and main give a record with the magic, callbacks and sane "
                    "counts"},
                   {"open.cold", "open", 1, 20, cold,
                    "first instance in a fresh process: create, start, one block, close"},
                   {"open.warm", "open", 1, 60, warm,
                    "3 to 100 instances in a row with the library kept loaded"},
                   {"open.reload", "open", 2, 60, reload,
                    "2 to 20 lives, the library unloaded and loaded again each time"},
                   {"open.many-instances", "open", 3, 30, manyInstances,
                    "2 to 8 instances alive at once, closed out of order"}});
}

} // namespace quillory::validate
