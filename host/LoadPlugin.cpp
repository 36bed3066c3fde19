#include "host/LoadPlugin.h"

#include <filesystem>
#include <stdexcept>

namespace quillory::host {

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

std::unique_ptr<HostedPlugin> loadEffect(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        throw std::runtime_error("plug-in " + path + ": no such file");
    }
    if (std::filesystem::is_directory(path, error)) {
        throw std::runtime_error("plug-in " + path + " is a folder, not a library");
    }
    // A name without a slash would be searched for on the library path instead of being
    // taken from the current folder.
    const std::string libraryPath = std::filesystem::absolute(path).string();
    // Loading failures name the library already.
    auto plugin = std::make_unique<HostedPlugin>(libraryPath);
    try {
        if (plugin->open() == nullptr) {
            throw std::runtime_error("the entry point returned no effect");
        }
    } catch (const std::runtime_error& problem) {
        throw std::runtime_error("plug-in " + path + ": " + problem.what());
    }
    return plugin;
}

} // namespace quillory::host
