#pragma once
// Writes 8-bit RGB pictures as PNG files (the editor's screenshot).

#include <cstdint>
#include <string>
#include <vector>

namespace quillory::host {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // three bytes per pixel, rows top to bottom

    bool isEmpty() const { return width <= 0 || height <= 0; }
    // True when every pixel has the colour of the first.
    bool isUniform() const;
};

// Throws std::runtime_error naming the file when it cannot be written.
void writePng(const std::string& path, const RgbImage& image);

} // namespace quillory::host
