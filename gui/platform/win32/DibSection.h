#pragma once
// 32-bit top-down device-independent bitmaps: memory whose pixels GDI draws into and the
// program reads directly. Colours stay exact whatever the screen's depth, which keeps the
// offscreen drawing the same on every display.

#include "gui/platform/PixelImage.h"

#include <windows.h>

#include <cstdint>

namespace quillory::gui::win32 {

struct DibSection {
    HBITMAP bitmap = nullptr; // null when it could not be made
    uint32_t* bits = nullptr; // rows top to bottom, each pixel 0xXXRRGGBB (top byte unused)
};

// A new DIB section of `width` by `height` pixels (both > 0); the caller deletes `bitmap`.
DibSection createDibSection(int32_t width, int32_t height);

// Copies the `width` by `height` pixels at (0, 0) of `device` into `out`; false when the
// device cannot be read.
bool readDevicePixels(HDC device, int32_t width, int32_t height, PixelImage& out);

} // namespace quillory::gui::win32
