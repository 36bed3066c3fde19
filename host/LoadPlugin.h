#pragma once
// Finding and loading the plug-in a command works on.

#include "host/lib/HostedPlugin.h"

#include <memory>
#include <string>

namespace quillory::host {

// QuilloryChorus.so next to the program (build tree) or in ../lib/vst (install tree).
std::string defaultPluginPath();

// Loads the library and creates its effect. Throws std::runtime_error with one line naming
// the plug-in and the problem: no such file, not a loadable library, no entry point, no
// effect returned, or not an effect record.
std::unique_ptr<HostedPlugin> loadEffect(const std::string& path);

} // namespace quillory::host
