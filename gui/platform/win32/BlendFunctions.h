#pragma once
// The transparent and alpha-blended bitmap copies of the blending library (msimg32), loaded
// when first needed rather than imported, so that the DLL imports nothing beyond the core
// system libraries. Without the library, or without one of its functions, only those two
// kinds of copy are left undone.

#include <windows.h>

namespace quillory::gui::win32 {

using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                             UINT);
using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                         BLENDFUNCTION);

struct BlendFunctions {
    TransparentBltFunction transparentBlt = nullptr;
    AlphaBlendFunction alphaBlend = nullptr;
};

// Loads the library at the first call (from any thread) and keeps it for the life of the
// process: surfaces and bitmaps that use it may outlive every window.
const BlendFunctions& blendFunctions();

} // namespace quillory::gui::win32
