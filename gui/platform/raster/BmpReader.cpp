#include "gui/platform/raster/BmpReader.h"

namespace quillory::gui::raster {

namespace {

// Offsets into the file header (14 bytes) and the info header that follows it.
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kPixelOffsetField = 10;
constexpr size_t kInfoSizeField = 14;
constexpr size_t kWidthField = 18;
constexpr size_t kHeightField = 22;
constexpr size_t kPlanesField = 26;
constexpr size_t kBitsField = 28;
constexpr size_t kCompressionField = 30;
constexpr uint32_t kInfoHeaderSize = 40; // the smallest header with width, height and depth
constexpr uint32_t kUncompressed = 0;

uint32_t readLittle32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
           uint32_t{bytes[at + 3]} << 24;
}

uint16_t readLittle16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

} // namespace

std::optional<PixelImage> readBmp(std::span<const uint8_t> file) {
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') {
        return std::nullopt;
    }
    const uint32_t infoSize = readLittle32(file, kInfoSizeField);
    const auto width = static_cast<int32_t>(readLittle32(file, kWidthField));
    const auto storedHeight = static_cast<int32_t>(readLittle32(file, kHeightField));
    if (infoSize < kInfoHeaderSize || readLittle16(file, kPlanesField) != 1 ||
        readLittle16(file, kBitsField) != 24 ||
        readLittle32(file, kCompressionField) != kUncompressed) {
        return std::nullopt;
    }
    const bool topDown = storedHeight < 0;
    // The negation is done in 64 bits: -INT32_MIN does not fit in 32.
    const int64_t height = topDown ? -int64_t{storedHeight} : int64_t{storedHeight};
    if (width <= 0 || width > kMaxBmpSide || height <= 0 || height > kMaxBmpSide) {
        return std::nullopt;
    }

    // Each row holds three bytes per pixel, padded to a multiple of four.
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t pixelOffset = readLittle32(file, kPixelOffsetField);
    const size_t needed = rowBytes * static_cast<size_t>(height);
    if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset > file.size() ||
        file.size() - pixelOffset < needed) {
        return std::nullopt;
    }

    PixelImage image(width, static_cast<int32_t>(height));
    for (int32_t y = 0; y < image.height; ++y) {
        const int32_t storedRow = topDown ? y : image.height - 1 - y;
        const uint8_t* row = file.data() + pixelOffset + rowBytes * static_cast<size_t>(storedRow);
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* pixel = row + 3 * x; // stored blue, green, red
            image.at(x, y) = uint32_t{pixel[2]} << 16 | uint32_t{pixel[1]} << 8 | pixel[0];
        }
    }
    return image;
}

} // namespace quillory::gui::raster
