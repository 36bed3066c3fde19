// quillory_editor_compare SHOT.bmp VALUES.txt: compares the editor as another back end's
// window showed it (the Windows DLL under Wine) with the editor drawn headless at the same
// parameter values; fails when any pixel outside the areas where the editor writes text
// differs, and names the first few.
//
// VALUES.txt holds "INDEX VALUE ..." per line, the values the host read when it took the
// picture. The text areas are those the headless editor drew its texts in, cut to their clip.

#include "gui/platform/Backend.h"
#include "gui/platform/headless/HeadlessBackend.h"
#include "gui/platform/headless/HeadlessServices.h"
#include "gui/platform/headless/HeadlessWindow.h"
#include "gui/platform/raster/BmpReader.h"
#include "plugin/QuilloryChorusVst.h"
#include "shell/Opcodes.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace {

using namespace quillory;

struct HeadlessEditor {
    gui::PixelImage pixels;
    std::vector<CRect> textAreas;
};

std::optional<std::vector<std::pair<int32_t, float>>> readValues(const char* path) {
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::vector<std::pair<int32_t, float>> values;
    char line[256];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        int index = 0;
        float value = 0.0f;
        if (std::sscanf(line, "%d %f", &index, &value) == 2) {
            values.emplace_back(index, value);
        }
    }
    std::fclose(file);
    return values;
}

HeadlessEditor drawHeadless(const std::vector<std::pair<int32_t, float>>& values) {
    gui::headless::HeadlessBackend backend;
    gui::headless::HeadlessServices services;
    gui::setBackend(&backend);
    platform::setServices(&services);
    HeadlessEditor drawn;
    {
        QuilloryChorusVst effect(nullptr);
        for (const auto& [index, value] : values) {
            effect.setParameter(index, value);
        }
        AEffect* record = effect.getAeffect();
        int parentWindow = 0;
        if (record->dispatcher(record, effEditOpen, 0, 0, &parentWindow, 0.0f) == 1) {
            gui::headless::HeadlessWindow* window = backend.lastWindow();
            window->queueExpose(CRect(0, 0, window->screen().width, window->screen().height));
            record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
            drawn.pixels = window->screen();
            record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
        }
    }
    for (const gui::headless::TextRecord& text : backend.texts()) {
        drawn.textAreas.push_back(intersection(text.box, text.clip));
    }
    platform::setServices(nullptr);
    gui::setBackend(nullptr);
    return drawn;
}

std::optional<gui::PixelImage> readBmpFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    return gui::raster::readBmp(bytes);
}

// Counts the pixels outside the text areas that differ, printing the first few.
int32_t compare(const gui::PixelImage& shown, const HeadlessEditor& drawn) {
    int32_t differences = 0;
    for (int32_t y = 0; y < drawn.pixels.height; ++y) {
        for (int32_t x = 0; x < drawn.pixels.width; ++x) {
            const bool inText =
                std::any_of(drawn.textAreas.begin(), drawn.textAreas.end(),
                            [&](const CRect& area) { return area.pointInside(CPoint(x, y)); });
            if (inText || shown.at(x, y) == drawn.pixels.at(x, y)) {
                continue;
            }
            if (++differences <= 10) {
                std::printf("   (%d, %d): %06x shown, %06x headless\n", x, y, shown.at(x, y),
                            drawn.pixels.at(x, y));
            }
        }
    }
    return differences;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillory_editor_compare SHOT.bmp VALUES.txt\n");
        return 2;
    }
    const auto values = readValues(argv[2]);
    const auto shown = readBmpFile(argv[1]);
    if (!values || values->empty()) {
        std::printf("%s: no parameter values\n", argv[2]);
        return 1;
    }
    const HeadlessEditor drawn = drawHeadless(*values);
    if (drawn.pixels.isEmpty() || drawn.textAreas.empty()) {
        std::printf("the headless editor drew nothing\n");
        return 1;
    }
    if (!shown || shown->width != drawn.pixels.width || shown->height != drawn.pixels.height) {
        std::printf("%s: not a %dx%d 24-bit bitmap\n", argv[1], drawn.pixels.width,
                    drawn.pixels.height);
        return 1;
    }
    const int32_t differences = compare(*shown, drawn);
    std::printf("%s: %d pixels differ from the headless editor outside its %zu text areas\n",
                argv[1], differences, drawn.textAreas.size());
    return differences == 0 ? 0 : 1;
}
