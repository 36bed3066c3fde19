#pragma once
// Writes a surface as the editor's bitmaps are stored: an uncompressed 24-bit BMP with a
// 40-byte info header, rows bottom-up and padded to four bytes, no colour table.

#include <cairo.h>

#include <string>

namespace quillory::skin {

// Returns false (and says why on stderr) when the file cannot be written.
bool writeBmp(cairo_surface_t* surface, const std::string& path);

} // namespace quillory::skin
