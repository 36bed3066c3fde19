#pragma once
// Texts from plug-ins written as JSON strings, shared by every command that prints JSON.

#include <ostream>
#include <string>

namespace quillory::host {

// Writes `text` quoted and escaped; bytes that are not valid UTF-8 are taken as Latin-1.
void writeJsonString(std::ostream& out, const std::string& text);

} // namespace quillory::host
