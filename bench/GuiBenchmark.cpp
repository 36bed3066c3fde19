// Cost of the frame, laid out like the editor: a 242 x 410 skin with eight views (two option
// menus with bitmaps and text, three pad bitmaps and three value displays of text and
// one-pixel columns). Measured on the headless back end: the idle with nothing dirty, a
// redraw of the whole frame, and, as the baseline, one plain copy of the frame's pixels. On
// the X11 back end (when DISPLAY names a server): the idle with nothing dirty, which reads
// the connection for events each time.

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "gui/platform/headless/HeadlessBackend.h"
#include "gui/platform/headless/HeadlessWindow.h"
#include "gui/platform/x11/X11Backend.h"
#include "gui/platform/x11/X11Window.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>

#include <cstring>
#include <memory>

namespace quillory {
namespace {

constexpr CRect kFrameSize(0, 0, 242, 410);

gui::PixelImage gradient(int32_t width, int32_t height, uint32_t tint) {
    gui::PixelImage image(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            image.at(x, y) =
                static_cast<uint32_t>((x * 255 / width) << 16 | (y * 255 / height) << 8) ^ tint;
        }
    }
    return image;
}

// A pad's bitmap.
class PadView : public CView {
public:
    PadView(const CRect& rect, CBitmap* bitmap) : CView(rect) { setBackground(bitmap); }
};

// A pad's value: a line of text over a strip of one-pixel columns, as the editor draws it.
class ValueView : public CView {
public:
    explicit ValueView(const CRect& rect) : CView(rect) {}
    void draw(CDrawContext* context) override {
        context->setFont(4);
        context->setFontColor(kWhiteCColor);
        context->drawString("250.0 ms", CRect(size.left, size.top + 18, size.right, size.bottom));
        for (int32_t x = size.left + 3; x < size.right - 4; ++x) {
            context->setFrameColor(CColor{static_cast<uint8_t>(x), 0, 200, 255});
            context->moveTo(CPoint(x, size.top));
            context->lineTo(CPoint(x, size.top + 23));
        }
        setDirty(false);
    }
};

// The editor's views in `frame`.
void addEditorLikeViews(CFrame& frame) {
    auto* skin = new CBitmap(gradient(242, 410, 0x000040));
    frame.setBackground(skin);
    skin->forget();
    auto* bar = new CBitmap(gradient(133, 33, 0x400000));
    for (int32_t top : {146, 186}) {
        auto* menu = new COptionMenu(CRect(77, top, 210, top + 33), nullptr, 1, bar);
        menu->addEntry("Numb. taps = 3");
        frame.addView(menu);
    }
    bar->forget();
    auto* pad = new CBitmap(gradient(67, 67, 0x004000));
    auto* wide = new CBitmap(gradient(174, 66, 0x404000));
    frame.addView(new PadView(CRect(71, 70, 138, 137), pad));
    frame.addView(new ValueView(CRect(71, 92, 138, 137)));
    frame.addView(new PadView(CRect(159, 70, 226, 137), pad));
    frame.addView(new ValueView(CRect(159, 92, 226, 137)));
    frame.addView(new PadView(CRect(60, 307, 234, 373), wide));
    frame.addView(new ValueView(CRect(60, 329, 234, 373)));
    pad->forget();
    wide->forget();
}

class EditorLikeFrame {
public:
    EditorLikeFrame() {
        gui::setBackend(&headless);
        headless.setRecordingTexts(false);
        frame = new CFrame(kFrameSize, &parentToken, nullptr);
        addEditorLikeViews(*frame);
        headless.lastWindow()->queueExpose(kFrameSize);
        frame->idle();
    }
    ~EditorLikeFrame() {
        frame->forget();
        gui::setBackend(nullptr);
    }

    gui::headless::HeadlessBackend headless;
    int parentToken = 0;
    CFrame* frame = nullptr;
};

// The same frame in a top-level window that a host made on a connection of its own, painted
// once.
class X11EditorLikeFrame {
public:
    X11EditorLikeFrame() : host(XOpenDisplay(nullptr)) {
        if (host == nullptr) {
            return;
        }
        gui::setBackend(&x11);
        parent = XCreateSimpleWindow(host, XDefaultRootWindow(host), 0, 0, 242, 410, 0, 0, 0);
        XMapWindow(host, parent);
        XSync(host, False);
        frame = new CFrame(kFrameSize, reinterpret_cast<void*>(parent), nullptr);
        addEditorLikeViews(*frame);
        auto* window = static_cast<gui::x11::X11Window*>(frame->getPlatformWindow());
        for (int tries = 0; window != nullptr && window->paintsDelivered() == 0 && tries < 5000;
             ++tries) {
            frame->idle();
        }
    }
    ~X11EditorLikeFrame() {
        if (host == nullptr) {
            return;
        }
        frame->forget();
        gui::setBackend(nullptr);
        XDestroyWindow(host, parent);
        XCloseDisplay(host);
    }
    bool painted() const {
        const auto* window = frame != nullptr
                                 ? static_cast<gui::x11::X11Window*>(frame->getPlatformWindow())
                                 : nullptr;
        return window != nullptr && window->paintsDelivered() > 0;
    }

    Display* host;
    gui::x11::X11Backend x11;
    ::Window parent = 0;
    CFrame* frame = nullptr;
};

void BM_CopyFramePixels(benchmark::State& state) {
    const gui::PixelImage source = gradient(242, 410, 0);
    gui::PixelImage target(242, 410);
    for (auto _ : state) {
        std::memcpy(target.pixels.data(), source.pixels.data(), source.pixels.size() * 4);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyFramePixels);

void BM_IdleNothingDirty(benchmark::State& state) {
    EditorLikeFrame editor;
    for (auto _ : state) {
        editor.frame->idle();
    }
}
BENCHMARK(BM_IdleNothingDirty);

void BM_IdleNothingDirtyX11(benchmark::State& state) {
    X11EditorLikeFrame editor;
    if (!editor.painted()) {
        state.SkipWithError("no X server, or the editor's window was never exposed");
        return;
    }
    for (auto _ : state) {
        editor.frame->idle();
    }
}
BENCHMARK(BM_IdleNothingDirtyX11);

void BM_RedrawWholeFrame(benchmark::State& state) {
    EditorLikeFrame editor;
    for (auto _ : state) {
        editor.frame->setDirty(true);
        editor.frame->idle();
    }
}
BENCHMARK(BM_RedrawWholeFrame)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quillory
