#pragma once
// A plain image in memory: rows top to bottom, each pixel one 32-bit word 0x00RRGGBB (the
// top byte is unused). It is how decoded bitmaps reach a back end and how a surface's
// pixels are read back.

#include "gui/CColor.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillory::gui {

constexpr uint32_t packPixel(CColor color) {
    return (uint32_t{color.red} << 16) | (uint32_t{color.green} << 8) | uint32_t{color.blue};
}

constexpr CColor unpackPixel(uint32_t pixel) {
    return CColor{static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                  static_cast<uint8_t>(pixel), 255};
}

struct PixelImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels; // width * height words, row after row

    PixelImage() = default;
    PixelImage(int32_t w, int32_t h, uint32_t fill = 0)
        : width(w > 0 && h > 0 ? w : 0), height(w > 0 && h > 0 ? h : 0),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

    bool isEmpty() const { return width == 0 || height == 0; }
    uint32_t& at(int32_t x, int32_t y) { return pixels[index(x, y)]; }
    uint32_t at(int32_t x, int32_t y) const { return pixels[index(x, y)]; }
    CColor colorAt(int32_t x, int32_t y) const { return unpackPixel(at(x, y)); }

private:
    std::size_t index(int32_t x, int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

} // namespace quillory::gui
