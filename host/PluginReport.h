#pragma once
// What a host sees of a loaded plug-in, gathered through the dispatcher and printed.

#include "host/lib/HostedPlugin.h"

#include <ostream>

namespace quillory::host {

void printPluginReport(HostedPlugin& plugin, std::ostream& out);

} // namespace quillory::host
