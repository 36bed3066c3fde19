#include "tools/skin/BmpFile.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace quillory::skin {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
// 72 dots per inch, the resolution image editors assume for screen bitmaps.
constexpr int32_t kPixelsPerMetre = 2835;

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

} // namespace

bool writeBmp(cairo_surface_t* surface, const std::string& path) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);

    const auto rowBytes = static_cast<uint32_t>((width * 3 + 3) / 4 * 4);
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<uint8_t> out;
    out.reserve(pixelOffset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + imageBytes);
    put32(out, 0); // two reserved words
    put32(out, pixelOffset);

    put32(out, kInfoHeaderSize);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height)); // positive: rows run bottom-up
    put16(out, 1);                             // planes
    put16(out, 24);                            // bits per pixel
    put32(out, 0);                             // no compression
    put32(out, imageBytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0); // no colour table
    put32(out, 0); // all colours important

    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            out.push_back(static_cast<uint8_t>(row[x]));       // blue
            out.push_back(static_cast<uint8_t>(row[x] >> 8));  // green
            out.push_back(static_cast<uint8_t>(row[x] >> 16)); // red
        }
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) {
            out.push_back(0);
        }
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace quillory::skin
