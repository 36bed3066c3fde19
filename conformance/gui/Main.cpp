// The Win32 back end's tests, run under Wine like the host-level checks. With
// `scene FILE.bmp` the program instead draws the reference scene in a frame window and
// writes what the window shows, for comparison with the headless rendering.

#include "ReferenceScene.h"
#include "Win32TestSupport.h"

#include "gui/platform/Backend.h"

#include <cstdio>
#include <cstring>

namespace quillory::test {
namespace {

class SceneView : public CView {
public:
    SceneView() : CView(CRect(0, 0, kSceneWidth, kSceneHeight)) {}
    void draw(CDrawContext* context) override {
        drawReferenceScene(*context);
        setDirty(false);
    }
};

void writeLittle(std::FILE* file, uint32_t value, int bytes) {
    for (int index = 0; index < bytes; ++index) {
        std::fputc(static_cast<int>(value >> (8 * index) & 0xFF), file);
    }
}

// A 24-bit bottom-up BMP of `image`.
bool writeBmp(const char* path, const gui::PixelImage& image) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) / 4 * 4;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(image.height);
    std::fputs("BM", file);
    writeLittle(file, 54 + pixelBytes, 4);
    writeLittle(file, 0, 4);
    writeLittle(file, 54, 4); // the pixels follow the two headers
    writeLittle(file, 40, 4);
    writeLittle(file, static_cast<uint32_t>(image.width), 4);
    writeLittle(file, static_cast<uint32_t>(image.height), 4);
    writeLittle(file, 1, 2);  // planes
    writeLittle(file, 24, 2); // bits per pixel
    for (int field = 0; field < 6; ++field) {
        writeLittle(file, 0, 4); // no compression, default sizes and palette
    }
    for (int32_t y = image.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < image.width; ++x) {
            writeLittle(file, image.at(x, y), 3); // blue, green, red
        }
        writeLittle(file, 0, static_cast<int>(rowBytes) - image.width * 3);
    }
    return std::fclose(file) == 0;
}

int writeScene(const char* path) {
    gui::win32::Win32Backend backend;
    gui::setBackend(&backend);
    auto* frame = new CFrame(CRect(0, 0, kSceneWidth, kSceneHeight),
                             makeHostWindow(kSceneWidth, kSceneHeight), nullptr);
    frame->addView(new SceneView);
    UpdateWindow(frameWindow(*frame));
    pumpMessages();
    gui::PixelImage shown;
    CDrawContext* context = frame->createDrawContext();
    const bool read = context->getSurface() != nullptr && context->getSurface()->readPixels(shown);
    context->forget();
    frame->forget();
    gui::setBackend(nullptr);
    if (!read || !writeBmp(path, shown)) {
        std::fprintf(stderr, "could not read the scene from the window or write %s\n", path);
        return 1;
    }
    return 0;
}

} // namespace
} // namespace quillory::test

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "scene") == 0) {
        return quillory::test::writeScene(argv[2]);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
