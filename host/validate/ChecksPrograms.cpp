// Programs: every program's name within its limit, switching programs while processing,
// and renaming with names longer than a program name may be.

#include "host/validate/Check.h"
#include "host/validate/PluginUnderTest.h"
#include "shell/Opcodes.h"

#include <atomic>
#include <thread>

namespace quillory::validate {
namespace {

constexpr size_t kProgramNameLength = 24;

int programCount(const host::HostedPlugin& plugin, const CheckContext& context) {
    return std::min(plugin.effect()->numPrograms, scaledCount(context.level, 16, 1024));
}

CheckResult names(const CheckContext& context) {
    auto plugin = createPlugin(context);
    std::string warning;
    for (int32_t index = 0; index < programCount(*plugin, context); ++index) {
        const std::string where = "program " + std::to_string(index);
        const std::string indexed = readText(*plugin, effGetProgramNameIndexed, index,
                                             kProgramNameLength, where + " indexed name");
        plugin->dispatch(effSetProgram, 0, index);
        const intptr_t current = plugin->dispatch(effGetProgram);
        require(current == index, "after effSetProgram(" + std::to_string(index) +
                                      ") effGetProgram answers " + std::to_string(current));
        const std::string name =
            readText(*plugin, effGetProgramName, 0, kProgramNameLength, where + " name");
        if (name != indexed && warning.empty()) {
            warning = where + " is \"" + name + "\" but its indexed name is \"" + indexed + "\"";
        }
    }
    return passed(warning);
}

CheckResult switchWhileProcessing(const CheckContext& context) {
    auto plugin = createPlugin(context);
    AEffect* effect = plugin->effect();
    if (effect->numPrograms < 2) {
        skipCheck("the plug-in has fewer than two programs");
    }
    startPlugin(*plugin, 44100.0f, 128);
    const Channels input = testSignal(effect->numInputs, 128, context.seed);
    Random random(context.seed, 0x9A0C);
    const int blocks = scaledCount(context.level, 100, 1500);
    // Between blocks on the audio thread, as a host that switches in its processing loop.
    for (int block = 0; block < blocks / 2; ++block) {
        plugin->dispatch(effBeginSetProgram);
        plugin->dispatch(effSetProgram, 0, random.below(effect->numPrograms));
        plugin->dispatch(effEndSetProgram);
        requireCleanOutput(processAudio(*plugin, input, {128, false}),
                           "after a program switch between blocks");
    }
    // From another thread while the audio thread runs, as a host's user interface does.
    std::atomic<bool> running{true};
    std::thread switcher([&] {
        Random choices(context.seed, 0x5317);
        while (running.load()) {
            plugin->dispatch(effSetProgram, 0, choices.below(effect->numPrograms));
        }
    });
    std::string problem;
    try {
        for (int block = 0; block < blocks / 2; ++block) {
            requireCleanOutput(processAudio(*plugin, input, {128, false}),
                               "while another thread switches programs");
        }
    } catch (const CheckFailure& failure) {
        problem = failure.what();
    }
    running = false;
    switcher.join();
    require(problem.empty(), problem);
    return passed();
}

CheckResult rename(const CheckContext& context) {
    auto plugin = createPlugin(context);
    if (plugin->effect()->numPrograms < 1) {
        skipCheck("the plug-in has no programs");
    }
    std::string warning;
    for (size_t length : {8, 23, 24, 25, 63, 255, 1023}) {
        std::string name = "Renamed ";
        while (name.size() < length) {
            name += static_cast<char>('a' + name.size() % 26);
        }
        plugin->dispatch(effSetProgramName, 0, 0, name.data());
        const std::string where = "after a " + std::to_string(length) + "-character rename";
        const std::string back =
            readText(*plugin, effGetProgramName, 0, kProgramNameLength, "the name " + where);
        const auto current = static_cast<int32_t>(plugin->dispatch(effGetProgram));
        readText(*plugin, effGetProgramNameIndexed, current, kProgramNameLength,
                 "the indexed name " + where);
        if (name.compare(0, back.size(), back) != 0 && warning.empty()) {
            warning = "renamed to \"" + name.substr(0, 24) + "...\" the program is called \"" +
                      back + "\"";
        }
    }
    return passed(warning);
}

} // namespace

void addProgramChecks(std::vector<Check>& checks) {
    checks.insert(checks.end(),
                  {{"programs.names", "programs", 1, 30, names,
                    "every program's name (indexed and current) within 24 characters; "
                    "effSetProgram then effGetProgram agree"},
                   {"programs.switch-while-processing", "programs", 3, 60, switchWhileProcessing,
                    "programs switched between blocks and from another thread while audio "
                    "runs"},
                   {"programs.rename", "programs", 4, 20, rename,
                    "renames of 8 to 1023 characters read back within 24"}});
}

} // namespace quillory::validate
