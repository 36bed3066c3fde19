// quillory_scene_compare FILE.bmp...: compares each file, the reference scene as another back
// end's window showed it, with the scene drawn headless; fails when any pixel outside the
// text areas differs, and names the first few.

#include "ReferenceScene.h"

#include "gui/COffscreenContext.h"
#include "gui/platform/headless/HeadlessBackend.h"
#include "gui/platform/raster/BmpReader.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace {

using namespace quillory;

gui::PixelImage headlessScene() {
    gui::headless::HeadlessBackend headless;
    gui::setBackend(&headless);
    auto* context = new COffscreenContext(nullptr, test::kSceneWidth, test::kSceneHeight);
    test::drawReferenceScene(*context);
    gui::PixelImage drawn;
    context->getSurface()->readPixels(drawn);
    context->forget();
    gui::setBackend(nullptr);
    return drawn;
}

std::optional<gui::PixelImage> readFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    return gui::raster::readBmp(bytes);
}

void listDifferences(const gui::PixelImage& shown, const gui::PixelImage& drawn) {
    int listed = 0;
    for (int32_t y = 0; y < drawn.height && listed < 10; ++y) {
        for (int32_t x = 0; x < drawn.width && listed < 10; ++x) {
            const bool inText =
                std::any_of(test::kSceneTextAreas.begin(), test::kSceneTextAreas.end(),
                            [&](const CRect& area) { return area.pointInside(CPoint(x, y)); });
            if (!inText && shown.at(x, y) != drawn.at(x, y)) {
                std::printf("   (%d, %d): %06x shown, %06x headless\n", x, y, shown.at(x, y),
                            drawn.at(x, y));
                ++listed;
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const gui::PixelImage drawn = headlessScene();
    int failures = 0;
    for (int index = 1; index < argc; ++index) {
        const std::optional<gui::PixelImage> shown = readFile(argv[index]);
        if (!shown || shown->width != drawn.width || shown->height != drawn.height) {
            std::printf("%s: not a %dx%d 24-bit bitmap\n", argv[index], drawn.width, drawn.height);
            ++failures;
            continue;
        }
        const int32_t differences = test::sceneDifferences(*shown, drawn);
        std::printf("%s: %d pixels differ from the headless scene outside the text\n", argv[index],
                    differences);
        if (differences > 0) {
            listDifferences(*shown, drawn);
            ++failures;
        }
    }
    return failures == 0 && argc > 1 ? 0 : 1;
}
