#pragma once
// `validate`: the command line of the validator, shared by `quillory validate` and the
// Windows program that validates DLLs.

#include <string>
#include <vector>

namespace quillory::validate {

extern const char* const kValidateUsage;

// `arguments` excludes the program and subcommand names; `program` names this program
// (re-run for each check where there is no fork) and `commandName` prefixes messages.
// Answers the exit status: 0 nothing failed, 1 a check failed or the plug-in is missing,
// 2 the command line is wrong.
int runValidate(const std::vector<std::string>& arguments, const std::string& defaultPlugin,
                const std::string& program, const char* commandName);

} // namespace quillory::validate
