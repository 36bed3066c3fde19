#include "host/PluginSettings.h"

#include "host/Text.h"

#include "shell/Opcodes.h"

#include <optional>
#include <stdexcept>

namespace quillory::host {
namespace {

// The index whose name is `wanted`: an exact match first, then one ignoring case.
std::optional<int32_t> findByName(HostedPlugin& plugin, int32_t opcode, int32_t count,
                                  const std::string& wanted) {
    std::vector<std::string> names;
    for (int32_t index = 0; index < count; ++index) {
        names.push_back(plugin.dispatchText(opcode, index));
    }
    for (int32_t index = 0; index < count; ++index) {
        if (names[static_cast<size_t>(index)] == wanted) {
            return index;
        }
    }
    for (int32_t index = 0; index < count; ++index) {
        if (lowerCase(names[static_cast<size_t>(index)]) == lowerCase(wanted)) {
            return index;
        }
    }
    return std::nullopt;
}

std::string range(int32_t count) {
    return count == 0 ? "none" : "0 to " + std::to_string(count - 1);
}

} // namespace

int32_t resolveProgram(HostedPlugin& plugin, const std::string& program) {
    const int32_t count = plugin.effect()->numPrograms;
    if (const std::optional<long long> number = parseInteger(program)) {
        if (*number < 0 || *number >= count) {
            throw std::runtime_error("no program " + program + ": the plug-in's programs are " +
                                     range(count));
        }
        return static_cast<int32_t>(*number);
    }
    if (const auto index = findByName(plugin, effGetProgramNameIndexed, count, program)) {
        return *index;
    }
    throw std::runtime_error("no program named '" + program +
                             "' (see 'quillory info' for the names)");
}

std::vector<ParameterSetting> resolveParameters(HostedPlugin& plugin,
                                                const std::vector<ParameterArgument>& arguments) {
    const int32_t count = plugin.effect()->numParams;
    std::vector<ParameterSetting> settings;
    for (const ParameterArgument& argument : arguments) {
        std::optional<int32_t> index;
        if (const std::optional<long long> number = parseInteger(argument.key)) {
            if (*number < 0 || *number >= count) {
                throw std::runtime_error("no parameter " + argument.key +
                                         ": the plug-in's parameters are " + range(count));
            }
            index = static_cast<int32_t>(*number);
        } else {
            index = findByName(plugin, effGetParamName, count, argument.key);
        }
        if (!index) {
            throw std::runtime_error("no parameter named '" + argument.key +
                                     "' (see 'quillory info' for the names)");
        }
        settings.push_back({*index, argument.value});
    }
    return settings;
}

} // namespace quillory::host
