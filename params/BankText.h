#pragma once
// The built-in bank as keyword lines, six per program; an empty line ends the list.

namespace quillory {

extern const char* const kBankText[];

} // namespace quillory
