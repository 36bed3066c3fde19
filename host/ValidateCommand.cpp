#include "host/ValidateCommand.h"

#include "host/LoadPlugin.h"
#include "host/validate/ValidateCommand.h"

#include <filesystem>

namespace quillory::host {

int runValidateCommand(const std::vector<std::string>& arguments) {
    const std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    return validate::runValidate(arguments, defaultPluginPath(), program, "quillory validate");
}

} // namespace quillory::host
