#pragma once
// Reads the skin's bitmap files: uncompressed 24-bit Windows bitmaps, rows stored bottom-up
// (positive height) or top-down (negative height). Anything else, and any file that is cut
// short or inconsistent, is refused.

#include "gui/platform/PixelImage.h"

#include <cstdint>
#include <optional>
#include <span>

namespace quillory::gui::raster {

// Width and height are limited so that a corrupt header cannot ask for gigabytes.
inline constexpr int32_t kMaxBmpSide = 16384;

std::optional<PixelImage> readBmp(std::span<const uint8_t> file);

} // namespace quillory::gui::raster
