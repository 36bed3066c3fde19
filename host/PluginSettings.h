#pragma once
// Turns the program and parameters named on the command line into indices of the loaded
// plug-in. Each throws std::runtime_error with one line when the plug-in has no such thing.

#include "host/CommandLine.h"
#include "host/lib/HostedPlugin.h"
#include "host/lib/PluginSession.h"

#include <string>
#include <vector>

namespace quillory::host {

// A program number (0-based), or a name as the plug-in reports it (case is ignored when
// no name matches exactly).
int32_t resolveProgram(HostedPlugin& plugin, const std::string& program);

// A parameter index, or a name as effGetParamName reports it.
std::vector<ParameterSetting> resolveParameters(HostedPlugin& plugin,
                                                const std::vector<ParameterArgument>& arguments);

} // namespace quillory::host
