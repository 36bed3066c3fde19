#pragma once
// Reads program records from keyword lines ("NAME For Piano", "CHDP 0.357036", ...).
// Each NAME line starts the next record; the other keywords set one field of it.

#include "params/ChorusProgram.h"

#include <cstdint>

namespace quillory {

// Parses `lines` into `programs[0 .. programCount)`. The list ends at the first empty line
// or null pointer. Lines are cut to 103 characters and names to 24; NAME lines beyond
// `programCount`, keyword lines before the first NAME and values that do not scan are
// ignored, so no text can write outside the given records. Does not allocate.
void parseBank(const char* const* lines, ChorusProgram* programs, int32_t programCount);

} // namespace quillory
