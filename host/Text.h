#pragma once
// Small text conversions the commands share.

#include <string>

namespace quillory::host {

// ASCII letters lower-cased; other bytes unchanged.
std::string lowerCase(std::string text);

// A file-name-safe form: lower case, each run of characters other than ASCII letters and
// digits replaced by one '-', none at either end.
std::string slug(const std::string& text);

} // namespace quillory::host
