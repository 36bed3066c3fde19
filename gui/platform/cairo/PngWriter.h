#pragma once
// Writes a pixel image as a PNG file, for screenshots of the editor and for test failures.

#include "gui/platform/PixelImage.h"

namespace quillory::gui::cairo {

// False when the file cannot be written.
bool writePng(const PixelImage& image, const char* path);

} // namespace quillory::gui::cairo
