#pragma once
// The skin bitmaps resources/NNN.bmp, built into the module as data at build time, found by
// their resource id NNN. Nothing is read from disk at run time. (The Windows DLLs carry the
// same files as bitmap resources instead.)

#include "gui/platform/PixelImage.h"

#include <cstdint>
#include <memory>
#include <span>

namespace quillory::gui {
class Backend;
class PlatformBitmap;
} // namespace quillory::gui

namespace quillory::gui::raster {

// The bytes of resources/<resourceId>.bmp; empty when the module has no such file.
std::span<const uint8_t> embeddedBitmapFile(int32_t resourceId);

// The decoded bitmap as a RasterBitmap of `owner`; null when missing or unreadable.
std::unique_ptr<PlatformBitmap> loadEmbeddedBitmap(const Backend& owner, int32_t resourceId);

} // namespace quillory::gui::raster
