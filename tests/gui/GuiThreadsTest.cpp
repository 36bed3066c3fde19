// Values and dirty marks set from a host thread while the user-interface thread draws: no
// data race (the ThreadSanitizer build runs these) and no change lost.

#include "GuiTestSupport.h"

#include "gui/COptionMenu.h"
#include "gui/CParamDisplay.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace quillory::test {
namespace {

using Threads = HeadlessGui;

// The last text drawn in `box`.
std::string lastTextIn(const std::vector<gui::headless::TextRecord>& texts, const CRect& box) {
    for (auto record = texts.rbegin(); record != texts.rend(); ++record) {
        if (record->box == box) {
            return record->text;
        }
    }
    return "(nothing)";
}

// Runs `midDraw` once, the next time the display has drawn its value, before the frame
// marks it clean.
class PausingDisplay : public CParamDisplay {
public:
    using CParamDisplay::CParamDisplay;
    void draw(CDrawContext* context) override {
        CParamDisplay::draw(context);
        if (midDraw) {
            auto once = std::move(midDraw);
            midDraw = nullptr;
            once();
        }
    }
    std::function<void()> midDraw;
};

// Lets another thread run `change` and waits until it has.
void onHostThread(const std::function<void()>& change) {
    std::thread host(change);
    host.join();
}

TEST_F(Threads, ChangesMadeWhileAViewIsDrawnAreShownAtTheNextIdle) {
    CFrame* frame = shownFrame(CRect(0, 0, 100, 40));
    auto* display = new PausingDisplay(CRect(0, 0, 100, 20));
    auto* pad = new ColorView(CRect(0, 20, 100, 40), kRedCColor);
    frame->addView(display);
    frame->addView(pad);
    frame->idle();

    display->setValue(0.25f);
    display->midDraw = [&] { onHostThread([&] { display->setValue(0.75f); }); };
    pad->setDirty(true);
    pad->onDraw = [&] {
        pad->onDraw = nullptr;
        onHostThread([&] { pad->setDirty(true); });
    };
    frame->idle();
    EXPECT_EQ(lastTextIn(backend.texts(), CRect(0, 0, 100, 20)), "0.25");
    EXPECT_TRUE(frame->isDirty());
    const int padDraws = pad->draws;
    frame->idle();
    EXPECT_EQ(lastTextIn(backend.texts(), CRect(0, 0, 100, 20)), "0.75");
    EXPECT_EQ(pad->draws, padDraws + 1);
    EXPECT_FALSE(frame->isDirty());
    frame->forget();
}

TEST_F(Threads, HostThreadChangesRunFreelyAlongsideDrawing) {
    CFrame* frame = shownFrame(CRect(0, 0, 200, 40));
    auto* menu = new COptionMenu(CRect(0, 0, 100, 20), nullptr, 1);
    for (const char* entry : {"e0", "e1", "e2", "e3", "e4", "e5", "e6", "e7"}) {
        menu->addEntry(entry);
    }
    auto* display = new CParamDisplay(CRect(0, 20, 100, 40));
    auto* pad = new ColorView(CRect(100, 0, 200, 40), kRedCColor);
    frame->addView(menu);
    frame->addView(display);
    frame->addView(pad);
    frame->idle();

    constexpr int kChanges = 3000;
    std::atomic<bool> done{false};
    std::thread host([&] {
        for (int change = 0; change < kChanges; ++change) {
            menu->setValue(static_cast<float>(change % 8));
            display->setValue(static_cast<float>(change) / 100.0f);
            pad->setDirty(true);
        }
        done.store(true);
    });
    while (!done.load()) {
        frame->idle();
    }
    host.join();
    frame->idle();
    char value[32];
    std::snprintf(value, sizeof value, "%2.2f", (kChanges - 1) / 100.0);
    EXPECT_EQ(lastTextIn(backend.texts(), CRect(0, 0, 100, 20)), "e7");
    EXPECT_EQ(lastTextIn(backend.texts(), CRect(0, 20, 100, 40)), value);
    EXPECT_FALSE(frame->isDirty());
    frame->forget();
}

} // namespace
} // namespace quillory::test
