// The skin bitmaps as the DLL carries them: every resources/NNN.bmp is bitmap resource NNN of
// the module, pixel for pixel, and a bitmap that is not there loads as one of size 0.

#include "Win32TestSupport.h"

#include "gui/CBitmap.h"
#include "gui/COffscreenContext.h"
#include "gui/platform/raster/BmpReader.h"
#include "gui/platform/win32/GdiBitmap.h"
#include "gui/platform/win32/WindowClass.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace quillory::test {
namespace {

class SkinResources : public Win32Gui {};

std::optional<gui::PixelImage> skinFile(int32_t id) {
    std::ifstream file(std::string(QUILLORY_RESOURCES_FOLDER) + "/" + std::to_string(id) + ".bmp",
                       std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    return gui::raster::readBmp(bytes);
}

// What bitmap `id` of `module` draws, read back from an offscreen of its size.
std::optional<gui::PixelImage> drawnResource(gui::Backend& backend, HINSTANCE module, int32_t id) {
    std::unique_ptr<gui::PlatformBitmap> bitmap =
        gui::win32::GdiBitmap::fromResource(backend, module, id);
    if (bitmap == nullptr) {
        return std::nullopt;
    }
    std::unique_ptr<gui::Surface> surface =
        backend.createOffscreen(bitmap->width(), bitmap->height(), nullptr);
    gui::PixelImage pixels;
    surface->drawBitmap(*bitmap, CRect(0, 0, bitmap->width(), bitmap->height()), CPoint());
    surface->readPixels(pixels);
    return pixels;
}

TEST_F(SkinResources, EverySkinFileIsABitmapResourceOfTheDllPixelForPixel) {
    HMODULE plugin = LoadLibraryA(QUILLORY_PLUGIN_PATH);
    ASSERT_NE(plugin, nullptr);
    int found = 0;
    for (int32_t id = 101; id <= 111; ++id) {
        SCOPED_TRACE(id);
        const std::optional<gui::PixelImage> file = skinFile(id);
        for (HINSTANCE module : {plugin, gui::win32::moduleInstance()}) {
            const std::optional<gui::PixelImage> loaded = drawnResource(backend, module, id);
            ASSERT_EQ(loaded.has_value(), file.has_value());
            if (file) {
                EXPECT_EQ(loaded->width, file->width);
                EXPECT_EQ(loaded->height, file->height);
                EXPECT_TRUE(loaded->pixels == file->pixels);
            }
        }
        found += file ? 1 : 0;
    }
    FreeLibrary(plugin);
    RecordProperty("skinBitmaps", found);
}

TEST_F(SkinResources, AMissingBitmapHasSizeZeroAndDrawsNothing) {
    auto* missing = new CBitmap(999);
    EXPECT_FALSE(missing->isLoaded());
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_EQ(missing->getHeight(), 0);
    auto* context = new COffscreenContext(nullptr, 8, 8, kBlueCColor);
    missing->draw(context, CRect(0, 0, 8, 8));
    gui::PixelImage pixels;
    ASSERT_TRUE(context->getSurface()->readPixels(pixels));
    EXPECT_EQ(pixels.colorAt(4, 4), kBlueCColor);
    context->forget();
    missing->forget();
}

} // namespace
} // namespace quillory::test
