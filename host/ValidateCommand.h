#pragma once
// `quillory validate`: the validator's command line with this program's defaults.

#include <string>
#include <vector>

namespace quillory::host {

// `arguments` excludes the program and subcommand names; answers the exit status.
int runValidateCommand(const std::vector<std::string>& arguments);

} // namespace quillory::host
