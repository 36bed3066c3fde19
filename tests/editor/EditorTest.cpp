// The editor through the real effect on the headless back end: opening and closing, values
// set from outside, the pad drag and the dropdowns, as a host and a user drive them.

#include "EditorHarness.h"

#include "gui/COptionMenu.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace quillory::test {
namespace {

using ::testing::ElementsAre;

bool contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class Editor : public EditorHarness {};

TEST_F(Editor, EachOpeningShowsTheValuesSetWhileItWasClosed) {
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 410);
    EXPECT_EQ(rect->right, 242);

    for (const float taps : {1.0f, 0.5f}) {
        effect->setParameter(kParamTaps, taps);
        effect->setParameter(kParamWaveform, taps == 1.0f ? 0.0f : 1.0f);
        textsDrawn();
        ASSERT_TRUE(open());
        const auto texts = textsDrawn();
        EXPECT_TRUE(contains(texts, taps == 1.0f ? "Numb. taps = 4" : "Numb. taps = 3"));
        EXPECT_TRUE(contains(texts, taps == 1.0f ? "Wave = Sine" : "Wave = Wander"));
        EXPECT_TRUE(contains(texts, "2.1ms"));
        EXPECT_TRUE(contains(texts, "56.9%") && contains(texts, "43.1%"));
        close();
        EXPECT_TRUE(backend.windows().empty());
    }
}

TEST_F(Editor, OpensOneWindowAtMostAndFailsCleanlyWithout) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(open()); // a host that opens twice without closing
    EXPECT_EQ(backend.windows().size(), 1u);
    close();

    EXPECT_EQ(dispatch(effEditOpen, 0, nullptr), 0);
    backend.destroyParent(&parentToken);
    EXPECT_EQ(dispatch(effEditOpen, 0, &parentToken), 0);
    EXPECT_TRUE(backend.windows().empty());
    idle(); // nothing is open, nothing happens
    close();
}

TEST_F(Editor, HostAutomationWhileOpenIsDrawnAtTheNextIdle) {
    ASSERT_TRUE(open());
    textsDrawn();
    const uint32_t grey = gui::packPixel(kGraphBackground);
    ASSERT_EQ(screen().at(133, 100), grey);

    effect->setParameter(kParamDepth, 1.0f);
    effect->setParameter(kParamWaveform, 0.6f);
    EXPECT_EQ(screen().at(133, 100), grey);
    idle();
    EXPECT_EQ(screen().colorAt(133, 100), (CColor{250, 0, 4, 255}));
    const auto texts = textsDrawn();
    EXPECT_TRUE(contains(texts, "500ms"));
    EXPECT_TRUE(contains(texts, "Wave = Wander"));
}

TEST_F(Editor, DestroyingTheEffectWithItsWindowOpenClosesTheWindow) {
    ASSERT_TRUE(open());
    press({100, 120});
    effect.reset();
    EXPECT_TRUE(backend.windows().empty());
}

TEST_F(Editor, APressWithoutMovementGlowsAndSendsNothing) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(showsBitmap(kDepthLabel, 101));
    recorder.calls.clear();
    // One pixel beyond the display's right and bottom edges still belongs to it.
    press({138, 137});
    EXPECT_TRUE(showsBitmap(kDepthLabel, 103));
    release();
    idle();
    idle();
    EXPECT_TRUE(showsBitmap(kDepthLabel, 101));
    EXPECT_EQ(effect->activeDrag(), nullptr);
    EXPECT_TRUE(editTrail().empty());
}

TEST_F(Editor, DragGainGrowsWithTheSpeedOfTheMovement) {
    effect->setParameter(kParamDepth, 0.5f);
    ASSERT_TRUE(open());
    recorder.calls.clear();
    press({100, 120});
    // 10 pixels to the left within 49 ms: 0.2 pixels per millisecond, 0.0015 per pixel.
    services.now += 49;
    moveTo({90, 120});
    idle();
    EXPECT_NEAR(target(kParamDepth), 0.485, 1e-12);
    // 4 pixels within 99 ms: 0.0007 per pixel.
    services.now += 99;
    moveTo({94, 120});
    idle();
    EXPECT_NEAR(target(kParamDepth), 0.4878, 1e-12);
    EXPECT_THAT(editTrail(), ElementsAre("automate 0 0.485", "automate 0 0.4878"));
}

TEST_F(Editor, AfterOvershootingTheTopTheMouseMustTravelBackTheExcess) {
    effect->setParameter(kParamDepth, 0.9f);
    ASSERT_TRUE(open());
    recorder.calls.clear();
    press({100, 120});
    const double start = target(kParamDepth);
    const std::vector<std::pair<int32_t, double>> steps{
        {200, 1.0}, // +100 px fast: offset +0.2
        {160, 1.0}, // -40 px: offset +0.12, still beyond the top
        {140, start + 0.08},
    };
    for (const auto& [x, expected] : steps) {
        services.now += 1; // far faster than the gain's speed limit
        moveTo({x, 120});
        idle();
        EXPECT_NEAR(target(kParamDepth), expected, 1e-9) << "at x " << x;
    }
    // Every step reaches the host, also those that leave the value at the top.
    EXPECT_EQ(hostCalls(audioMasterAutomate).size(), 3u);
}

TEST_F(Editor, OnlyAPlainLeftPressOnTheDisplayStartsADrag) {
    ASSERT_TRUE(open());
    recorder.calls.clear();
    const double before = target(kParamDepth);
    const struct {
        CPoint where;
        int32_t buttons;
    } presses[] = {
        {{100, 80}, kMouseLeft},                   // the pad's label area
        {{100, 120}, kMouseLeft | kModifierShift}, // shift-click
        {{100, 120}, kMouseRight},
    };
    for (const auto& click : presses) {
        press(click.where, click.buttons);
        services.now += 20;
        moveTo({click.where.x + 30, click.where.y});
        idle();
        release();
        idle();
        EXPECT_TRUE(showsBitmap(kDepthLabel, 101));
    }
    EXPECT_EQ(target(kParamDepth), before);
    EXPECT_TRUE(recorder.calls.empty());

    // A real drag that moves only up and down sends nothing either.
    press({100, 120});
    for (const int32_t y : {100, 60, 130}) {
        services.now += 20;
        moveTo({100, y});
        idle();
    }
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(Editor, ClosingDuringADragEndsItWhenReopenedWithTheButtonUp) {
    ASSERT_TRUE(open());
    press({100, 120});
    close();
    ASSERT_TRUE(open()); // shows the dragged pad, then finds the button up
    EXPECT_TRUE(showsBitmap(kDepthLabel, 103));
    idle();
    EXPECT_TRUE(showsBitmap(kDepthLabel, 101));
    EXPECT_EQ(effect->activeDrag(), nullptr);
}

TEST_F(Editor, APressOnAnotherPadEndsADragLeftOverFromAClosedWindow) {
    ASSERT_TRUE(open());
    press({100, 120});
    close();
    // The new window's first idle brings a press on the Speed pad before any poll.
    ASSERT_EQ(dispatch(effEditOpen, 0, &parentToken), 1);
    window()->setScreenOrigin(kWindowOrigin);
    window()->queueExpose(CRect(0, 0, 242, 410));
    press({190, 120});
    idle();
    EXPECT_TRUE(showsBitmap(kDepthLabel, 101));
    EXPECT_EQ(effect->activeDrag(), effect->pads[1]->display.get());
}

TEST_F(Editor, PickingInTheTapsPopupIsOneBracketedEdit) {
    ASSERT_TRUE(open());
    recorder.calls.clear();
    window()->answerPopups([](const gui::PopupMenu& menu) {
        for (const gui::PopupItem& item : menu.items) {
            if (item.text == "4") {
                return item.command;
            }
        }
        return gui::kPopupCancelled;
    });
    press({140, 160});
    EXPECT_THAT(editTrail(), ElementsAre("begin 2", "automate 2 1", "end 2"));
    EXPECT_EQ(effect->getParameter(kParamTaps), 1.0f);
    EXPECT_TRUE(contains(textsDrawn(), "Numb. taps = 4"));

    recorder.calls.clear();
    window()->answerPopups(nullptr); // the user dismisses the popup
    press({140, 160});
    EXPECT_THAT(editTrail(), ElementsAre("begin 2", "end 2"));
    EXPECT_EQ(effect->getParameter(kParamTaps), 1.0f);
}

TEST_F(Editor, ChoicesFromControlsThatAreNoDropdownsChangeNothing) {
    auto* editor = static_cast<QuilloryChorusVstEditor*>(effect->getEditor());
    recorder.calls.clear();
    float before[QuilloryChorusVst::kNumParams];
    for (int32_t index = 0; index < QuilloryChorusVst::kNumParams; ++index) {
        before[index] = effect->getParameter(index);
    }
    for (const int32_t tag : {0x2009, 5}) {
        auto* menu = new COptionMenu(CRect(0, 0, 10, 10), editor, tag);
        menu->addEntry("a");
        menu->addEntry("b");
        menu->setValue(1.0f);
        editor->valueChanged(nullptr, menu);
        menu->forget();
    }
    for (int32_t index = 0; index < QuilloryChorusVst::kNumParams; ++index) {
        EXPECT_EQ(effect->getParameter(index), before[index]) << "parameter " << index;
    }
    EXPECT_TRUE(recorder.calls.empty());
}

} // namespace
} // namespace quillory::test
