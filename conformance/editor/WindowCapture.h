#pragma once
// The pixels a window's client area shows on the screen, child windows included, written as
// a 24-bit BMP file.

#include <windows.h>

namespace quillory::conformance {

// False when the pixels cannot be read or the file cannot be written.
bool writeClientAreaBmp(HWND window, const char* path);

} // namespace quillory::conformance
