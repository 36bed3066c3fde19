// Skin bitmaps: the BMP reader, missing resources and the screenshot writer.

#include "GuiTestSupport.h"

#include "gui/CBitmap.h"
#include "gui/COffscreenContext.h"
#include "gui/platform/cairo/PngWriter.h"
#include "gui/platform/raster/BmpReader.h"
#include "gui/platform/raster/EmbeddedBitmaps.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace quillory::test {
namespace {

using gui::raster::readBmp;

void putLittle(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size) {
    for (int index = 0; index < size; ++index) {
        bytes[at + index] = static_cast<uint8_t>(value >> (8 * index));
    }
}

// A 24-bit file of `width` by |height| pixels (negative height: rows stored top-down), pixel
// (x, y) having the colour red x * 80, green y * 100, blue 7.
std::vector<uint8_t> bmpFile(int32_t width, int32_t height, uint16_t bits = 24,
                             uint32_t compression = 0) {
    const int32_t rows = height < 0 ? -height : height;
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> bytes(54 + rowBytes * rows, 0xEE); // padding bytes are garbage
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittle(bytes, 2, static_cast<uint32_t>(bytes.size()), 4);
    putLittle(bytes, 10, 54, 4);
    putLittle(bytes, 14, 40, 4);
    putLittle(bytes, 18, static_cast<uint32_t>(width), 4);
    putLittle(bytes, 22, static_cast<uint32_t>(height), 4);
    putLittle(bytes, 26, 1, 2);
    putLittle(bytes, 28, bits, 2);
    putLittle(bytes, 30, compression, 4);
    for (int32_t y = 0; y < rows; ++y) {
        const int32_t storedRow = height < 0 ? y : rows - 1 - y;
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* pixel = &bytes[54 + rowBytes * storedRow + 3 * x];
            pixel[0] = 7;
            pixel[1] = static_cast<uint8_t>(y * 100);
            pixel[2] = static_cast<uint8_t>(x * 80);
        }
    }
    return bytes;
}

TEST(BmpReader, ReadsRowsStoredEitherWayUpAndSkipsTheirPadding) {
    for (const int32_t height : {2, -2}) {
        const auto image = readBmp(bmpFile(3, height)); // 9 bytes a row, padded to 12
        ASSERT_TRUE(image.has_value()) << height;
        ASSERT_EQ(image->width, 3);
        ASSERT_EQ(image->height, 2);
        for (int32_t y = 0; y < 2; ++y) {
            for (int32_t x = 0; x < 3; ++x) {
                EXPECT_EQ(image->colorAt(x, y), (CColor{static_cast<uint8_t>(x * 80),
                                                        static_cast<uint8_t>(y * 100), 7, 255}))
                    << x << ", " << y << " of height " << height;
            }
        }
    }
}

TEST(BmpReader, RefusesFilesItCannotReadSafely) {
    std::vector<uint8_t> truncated = bmpFile(5, 5);
    truncated.pop_back();
    std::vector<uint8_t> offsetBeyondEnd = bmpFile(2, 2);
    putLittle(offsetBeyondEnd, 10, 0xFFFFFFF0u, 4);
    std::vector<uint8_t> notBitmap = bmpFile(2, 2);
    notBitmap[0] = 'P';
    std::vector<uint8_t> headerCutShort = bmpFile(1, 1);
    headerCutShort.resize(30);
    const std::vector<std::vector<uint8_t>> refused = {
        truncated,         offsetBeyondEnd,      notBitmap,
        bmpFile(2, 2, 32), bmpFile(2, 2, 24, 1), // run-length compressed
        bmpFile(0, 2),     headerCutShort,       {},
    };
    for (size_t index = 0; index < refused.size(); ++index) {
        EXPECT_FALSE(readBmp(refused[index]).has_value()) << "case " << index;
    }
    // Sizes that would ask for gigabytes are refused before anything is allocated.
    std::vector<uint8_t> huge = bmpFile(1, 1);
    putLittle(huge, 22, static_cast<uint32_t>(std::numeric_limits<int32_t>::min()), 4);
    EXPECT_FALSE(readBmp(huge).has_value());
    putLittle(huge, 22, 1, 4);
    putLittle(huge, 18, 100000, 4);
    EXPECT_FALSE(readBmp(huge).has_value());
}

using Bitmaps = HeadlessGui;

TEST_F(Bitmaps, EverySkinFileIsBuiltInByteForByteAndDecodesToItsSize) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUILLORY_RESOURCES_FOLDER)) {
        if (entry.path().extension() != ".bmp") {
            continue;
        }
        ++files;
        const int32_t id = std::stoi(entry.path().stem().string());
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
        const auto embedded = gui::raster::embeddedBitmapFile(id);
        ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), embedded.begin(), embedded.end()))
            << entry.path();
        const auto image = readBmp(bytes);
        ASSERT_TRUE(image.has_value()) << entry.path();
        auto* bitmap = new CBitmap(id);
        EXPECT_EQ(bitmap->getWidth(), image->width) << entry.path();
        EXPECT_EQ(bitmap->getHeight(), image->height) << entry.path();
        bitmap->forget();
    }
    EXPECT_GT(files, 0);
}

TEST_F(Bitmaps, AMissingResourceHasNoSizeAndDrawsNothing) {
    EXPECT_TRUE(gui::raster::embeddedBitmapFile(9999).empty());
    auto* missing = new CBitmap(9999);
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_EQ(missing->getHeight(), 0);
    EXPECT_FALSE(missing->isLoaded());
    auto* context = new COffscreenContext(nullptr, 10, 10, kBlueCColor);
    missing->draw(context, CRect(0, 0, 10, 10));
    gui::PixelImage image;
    context->getSurface()->readPixels(image);
    EXPECT_TRUE(allPixelsAre(image, CRect(0, 0, 10, 10), pixel(kBlueCColor)));
    context->forget();
    missing->forget();

    // Without a back end installed nothing loads either.
    gui::setBackend(nullptr);
    auto* unloaded = new CBitmap(gui::PixelImage(4, 4));
    EXPECT_EQ(unloaded->getWidth(), 0);
    unloaded->forget();
}

TEST_F(Bitmaps, ScreenshotsAreWrittenAsPngFiles) {
    const std::string path = ::testing::TempDir() + "quillory-screenshot.png";
    ASSERT_TRUE(gui::cairo::writePng(gui::PixelImage(8, 4, pixel(kRedCColor)), path.c_str()));
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> start((std::istreambuf_iterator<char>(file)), {});
    ASSERT_GT(start.size(), 8u);
    EXPECT_EQ(std::string(start.begin() + 1, start.begin() + 4), "PNG");
    std::remove(path.c_str());
    EXPECT_FALSE(gui::cairo::writePng(gui::PixelImage(), path.c_str()));
}

} // namespace
} // namespace quillory::test
