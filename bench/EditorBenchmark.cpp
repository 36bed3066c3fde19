// Cost of the chorus editor on the headless back end, through the real effect: the idle
// with nothing to do, and one drag step from the poll of the mouse to the pixels of the
// redrawn pad. The baseline, measured in the same run, is one plain copy of the window's
// pixels.

#include "gui/platform/Backend.h"
#include "gui/platform/headless/HeadlessBackend.h"
#include "gui/platform/headless/HeadlessServices.h"
#include "gui/platform/headless/HeadlessWindow.h"
#include "plugin/QuilloryChorusVst.h"
#include "shell/Opcodes.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace quillory {
namespace {

class OpenEditor {
public:
    OpenEditor() {
        headless.setRecordingTexts(false);
        gui::setBackend(&headless);
        platform::setServices(&services);
        effect = std::make_unique<QuilloryChorusVst>(nullptr);
        record = effect->getAeffect();
        record->dispatcher(record, effEditOpen, 0, 0, &parentToken, 0.0f);
        window()->queueExpose(CRect(0, 0, 242, 410));
        idle();
    }
    ~OpenEditor() {
        record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
        effect.reset();
        platform::setServices(nullptr);
        gui::setBackend(nullptr);
    }
    void idle() { record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f); }
    gui::headless::HeadlessWindow* window() { return headless.lastWindow(); }

    gui::headless::HeadlessBackend headless;
    gui::headless::HeadlessServices services;
    std::unique_ptr<QuilloryChorusVst> effect;
    AEffect* record = nullptr;
    int parentToken = 0;
};

void BM_CopyWindowPixels(benchmark::State& state) {
    const gui::PixelImage source(242, 410, 0x123456);
    gui::PixelImage target(242, 410);
    for (auto _ : state) {
        std::memcpy(target.pixels.data(), source.pixels.data(), source.pixels.size() * 4);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyWindowPixels);

void BM_EditorIdleNothingDirty(benchmark::State& state) {
    OpenEditor editor;
    for (auto _ : state) {
        editor.idle();
    }
}
BENCHMARK(BM_EditorIdleNothingDirty);

// The Depth pad held and moved one pixel per step, to and fro: the first idle polls the
// mouse and sets the value, the second draws the pad with its new value.
void BM_DragStepToPixels(benchmark::State& state) {
    OpenEditor editor;
    editor.services.cursor = {100, 120};
    editor.window()->setMouseButtons(1);
    editor.window()->queueMouseDown(CPoint(100, 120), 1);
    editor.idle();
    int32_t step = 1;
    for (auto _ : state) {
        editor.services.now += 16;
        editor.services.cursor.x += step;
        step = -step;
        editor.idle();
        editor.idle();
    }
    benchmark::DoNotOptimize(editor.window()->screen().at(100, 100));
}
BENCHMARK(BM_DragStepToPixels)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quillory
