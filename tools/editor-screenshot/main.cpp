// quillory_editor_screenshot: the plug-in's editor drawn without a window system, as PNG.
//
//   quillory_editor_screenshot [--param INDEX=VALUE]... [--press X,Y [--move DX]] [--scale N]
//                              OUTPUT.png
//
// The effect is made in this process and its editor opened on the headless back end, which
// draws with the same rasteriser and text as the X11 editor. --param sets a parameter as a
// host would before the picture is taken; --press holds the left button down at X,Y (frame
// pixels), and --move then drags it DX pixels sideways within 50 ms. --scale enlarges every
// pixel to N by N, for looking at details.

#include "editor/QuilloryChorusVstEditor.h"
#include "gui/platform/Backend.h"
#include "gui/platform/cairo/PngWriter.h"
#include "gui/platform/headless/HeadlessBackend.h"
#include "gui/platform/headless/HeadlessServices.h"
#include "gui/platform/headless/HeadlessWindow.h"
#include "plugin/QuilloryChorusVst.h"
#include "shell/Opcodes.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace quillory;

struct Options {
    std::vector<std::pair<int32_t, float>> parameters;
    std::optional<CPoint> press;
    int32_t move = 0;
    int32_t scale = 1;
    std::string output;
};

int usage() {
    std::fprintf(stderr, "usage: quillory_editor_screenshot [--param INDEX=VALUE]... "
                         "[--press X,Y [--move DX]] [--scale N] OUTPUT.png\n");
    return 2;
}

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        int index = 0;
        float value = 0.0f;
        int x = 0;
        int y = 0;
        if (argument == "--param" && hasValue &&
            std::sscanf(argv[++i], "%d=%f", &index, &value) == 2 && value >= 0.0f &&
            value <= 1.0f) {
            options.parameters.emplace_back(index, value);
        } else if (argument == "--press" && hasValue &&
                   std::sscanf(argv[++i], "%d,%d", &x, &y) == 2) {
            options.press = CPoint(x, y);
        } else if (argument == "--move" && hasValue && std::sscanf(argv[++i], "%d", &x) == 1) {
            options.move = x;
        } else if (argument == "--scale" && hasValue && std::sscanf(argv[++i], "%d", &x) == 1 &&
                   x >= 1 && x <= 16) {
            options.scale = x;
        } else if (argument.rfind("--", 0) != 0 && options.output.empty()) {
            options.output = argument;
        } else {
            return std::nullopt;
        }
    }
    if (options.output.empty()) {
        return std::nullopt;
    }
    return options;
}

gui::PixelImage enlarged(const gui::PixelImage& image, int32_t scale) {
    gui::PixelImage result(image.width * scale, image.height * scale);
    for (int32_t y = 0; y < result.height; ++y) {
        for (int32_t x = 0; x < result.width; ++x) {
            result.at(x, y) = image.at(x / scale, y / scale);
        }
    }
    return result;
}

bool takeScreenshot(const Options& options, gui::headless::HeadlessBackend& backend,
                    gui::headless::HeadlessServices& services) {
    QuilloryChorusVst effect(nullptr);
    for (const auto& [index, value] : options.parameters) {
        effect.setParameter(index, value);
    }
    AEffect* record = effect.getAeffect();
    auto idle = [&] { record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f); };
    int parentWindow = 0;
    if (record->dispatcher(record, effEditOpen, 0, 0, &parentWindow, 0.0f) != 1) {
        std::fprintf(stderr, "quillory_editor_screenshot: the editor did not open\n");
        return false;
    }
    gui::headless::HeadlessWindow* window = backend.lastWindow();
    window->queueExpose(
        CRect(0, 0, QuilloryChorusVstEditor::kWidth, QuilloryChorusVstEditor::kHeight));
    idle();
    if (options.press) {
        services.cursor = {options.press->x, options.press->y}; // the window is at (0, 0)
        window->setMouseButtons(kMouseLeft);
        window->queueMouseDown(*options.press, kMouseLeft);
        idle();
        if (options.move != 0) {
            services.now += 50;
            services.cursor.x += options.move;
            idle();
        }
        idle();
    }
    const bool written =
        gui::cairo::writePng(enlarged(window->screen(), options.scale), options.output.c_str());
    if (!written) {
        std::fprintf(stderr, "quillory_editor_screenshot: cannot write %s\n",
                     options.output.c_str());
    }
    record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
    return written;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        return usage();
    }
    gui::headless::HeadlessBackend backend;
    gui::headless::HeadlessServices services;
    backend.setRecordingTexts(false);
    gui::setBackend(&backend);
    platform::setServices(&services);
    const bool written = takeScreenshot(*options, backend, services);
    platform::setServices(nullptr);
    gui::setBackend(nullptr);
    return written ? 0 : 1;
}
