#pragma once
// `quillory info`: prints what a host sees of a plug-in, as text or JSON.

#include <string>
#include <vector>

namespace quillory::host {

int runInfo(const std::vector<std::string>& arguments);

} // namespace quillory::host
