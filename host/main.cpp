// quillory: a command-line host for plug-ins of this kind.
//
//   quillory info [--plugin PATH]   print what a host sees of the plug-in

#include "host/PluginReport.h"
#include "host/lib/HostedPlugin.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: quillory info [--plugin PATH]\n";

// The plug-in sits next to the program in the build tree and in lib/vst beside bin/ in an
// install tree.
std::string defaultPluginPath() {
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    const std::filesystem::path candidates[] = {program.parent_path() / "QuilloryChorus.so",
                                                program.parent_path().parent_path() / "lib" /
                                                    "vst" / "QuilloryChorus.so"};
    for (const auto& candidate : candidates) {
        if (std::filesystem::exists(candidate)) {
            return candidate.string();
        }
    }
    return candidates[0].string();
}

int runInfo(const std::vector<std::string>& arguments) {
    std::string pluginPath = defaultPluginPath();
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--plugin" && i + 1 < arguments.size()) {
            pluginPath = arguments[++i];
        } else {
            std::cerr << "quillory: unknown option '" << arguments[i] << "'\n" << kUsage;
            return 2;
        }
    }
    quillory::host::HostedPlugin plugin(pluginPath);
    if (plugin.open() == nullptr) {
        std::cerr << "quillory: " << pluginPath << ": the plug-in refused to start\n";
        return 1;
    }
    std::cout << "plug-in:        " << pluginPath << '\n';
    quillory::host::printPluginReport(plugin, std::cout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty() || arguments[0] != "info") {
        std::cerr << kUsage;
        return 2;
    }
    try {
        return runInfo({arguments.begin() + 1, arguments.end()});
    } catch (const std::exception& error) {
        std::cerr << "quillory: " << error.what() << '\n';
        return 1;
    }
}
