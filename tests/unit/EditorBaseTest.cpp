#include "ShellTestSupport.h"
#include "shell/Opcodes.h"
#include "shell/platform/Platform.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace quillory::test {
namespace {

// Platform services with a scripted clock and cursor that record what is asked of them.
class FakeServices : public platform::Services {
public:
    uint32_t tickCount() override { return now; }
    void sleepMilliseconds(uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
    platform::ScreenPoint cursorPosition() override { return cursor; }
    void dispatchOnePendingPaint() override { ++paints; }
    void oleInitialize() override { ++oleInits; }
    void oleUninitialize() override { ++oleUninits; }

    uint32_t now = 5000;
    std::vector<uint32_t> sleeps;
    platform::ScreenPoint cursor{123, -45};
    int paints = 0;
    int oleInits = 0;
    int oleUninits = 0;
};

class EditorBase : public ::testing::Test {
protected:
    void SetUp() override { platform::setServices(&services); }
    void TearDown() override { platform::setServices(nullptr); }

    FakeServices services;
    RecordingHost host;
    FakeFrame frame;
};

TEST_F(EditorBase, PlainEditorHasNoRectAndRemembersItsParentWindow) {
    TestEffect effect(nullptr);
    AEffEditor editor(&effect);
    EXPECT_EQ(editor.getEffect(), &effect);
    ERect dummy{};
    ERect* rect = &dummy;
    EXPECT_FALSE(editor.getRect(&rect));
    EXPECT_EQ(rect, nullptr);
    EXPECT_FALSE(editor.isOpen());
    int parent = 0;
    EXPECT_FALSE(editor.open(&parent));
    EXPECT_TRUE(editor.isOpen());
    editor.close();
    EXPECT_FALSE(editor.isOpen());
    VstKeyCode key{};
    EXPECT_FALSE(editor.onKeyDown(key) || editor.onKeyUp(key) || editor.onWheel(1.0f));
    const int32_t knobMode = AEffGUIEditor::getKnobMode();
    EXPECT_FALSE(editor.setKnobMode(0) || editor.setKnobMode(1) || editor.setKnobMode(2));
    EXPECT_EQ(AEffGUIEditor::getKnobMode(), knobMode);
    // Only the GUI editor registers itself with the effect.
    EXPECT_EQ(effect.getEditor(), nullptr);
    EXPECT_EQ(effect.getAeffect()->flags & effFlagsHasEditor, 0);
}

TEST_F(EditorBase, GuiEditorRegistersWithTheEffectAndPairsOleSetUp) {
    {
        TestEffect effect(nullptr);
        auto* editor = new TestGuiEditor(&effect, &frame);
        EXPECT_EQ(effect.getEditor(), editor);
        EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanReplacing | effFlagsHasEditor);
        EXPECT_EQ(editor->lastTicks(), 5000u);
        EXPECT_EQ(std::tuple(services.oleInits, services.oleUninits), std::tuple(1, 0));
        ERect* rect = nullptr;
        EXPECT_TRUE(editor->getRect(&rect));
        EXPECT_EQ(rect, editor->rectAddress());
    }
    EXPECT_EQ(services.oleUninits, 1); // the effect deleted its editor
}

TEST_F(EditorBase, IdleKeysAndWheelReachTheFrameOnlyWhenThereIsOne) {
    TestEffect effect(nullptr);
    auto* editor = new TestGuiEditor(&effect, &frame);
    editor->idle();
    EXPECT_EQ(frame.idleCount, 1);
    editor->setInIdleStuff(true);
    editor->idle();
    EXPECT_EQ(frame.idleCount, 1);
    for (const int32_t frameAnswer : {1, -1, 0, 2}) {
        frame.keyAnswer = frameAnswer;
        VstKeyCode key{'q', 7, 3};
        EXPECT_EQ(editor->onKeyDown(key), frameAnswer == 1) << frameAnswer;
        EXPECT_EQ(std::tuple(frame.keyKind, frame.lastKey.character), std::tuple("down", 'q'));
        EXPECT_EQ(editor->onKeyUp(key), frameAnswer == 1) << frameAnswer;
        EXPECT_EQ(frame.keyKind, "up");
    }
    for (const bool answer : {true, false}) {
        frame.wheelAnswer = answer;
        EXPECT_EQ(editor->onWheel(-2.5f), answer);
        EXPECT_EQ(std::tuple(frame.wheel.x, frame.wheel.y, frame.wheel.distance),
                  std::tuple(123, -45, -2.5f));
    }
    TestEffect other(nullptr);
    auto* frameless = new TestGuiEditor(&other, nullptr);
    frameless->idle();
    VstKeyCode key{};
    EXPECT_FALSE(frameless->onKeyDown(key) || frameless->onKeyUp(key) || frameless->onWheel(1));
}

TEST_F(EditorBase, EditNotificationsReachTheHostWithTheIndexUnchanged) {
    TestEffect effect(RecordingHost::callback);
    auto* editor = new TestGuiEditor(&effect, &frame);
    editor->beginEdit(7);
    editor->endEdit(-3);
    editor->setParameter(1, 0.5f);
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(describe(host.calls[0]), describe({audioMasterBeginEdit, 7}));
    EXPECT_EQ(describe(host.calls[1]), describe({audioMasterEndEdit, -3}));
}

TEST_F(EditorBase, IdleWorkIsPacedByTheTickCounterAcrossItsWrap) {
    const struct {
        uint32_t last, now;
        bool sleeps, works;
        uint32_t nextLast;
    } cases[] = {
        {1000, 1000, false, true, 1100},
        {1000, 2000, false, true, 2100},
        {1000, 999, true, true, 1103},
        {1000, 946, true, true, 1050},
        {1000, 945, true, false, 1000},
        {1000, 100, true, false, 1000},
        {0xFFFFFFF0u, 0x10, false, true, 0x74},
        {0x20, 0xFFFFFFF0u, true, true, 0x58},
        {0x10, 0xFFFFFFC0u, true, false, 0x10},
        {0x7FFFFFFFu, 0x80000000u, false, true, 0x80000064u},
    };
    for (const auto& c : cases) {
        services.now = c.now;
        services.sleeps.clear();
        services.paints = 0;
        host.calls.clear();
        frame.idleCount = 0;
        TestEffect effect(RecordingHost::callback);
        auto* editor = new TestGuiEditor(&effect, &frame);
        editor->setLastTicks(c.last);
        int frameIdlesDuringMasterIdle = -1;
        host.onCall = [&](const HostCall&) {
            editor->idle();
            frameIdlesDuringMasterIdle = frame.idleCount;
            return intptr_t{0};
        };
        editor->doIdleStuff();
        host.onCall = nullptr;
        const std::string label = std::to_string(c.last) + " " + std::to_string(c.now);
        EXPECT_EQ(services.sleeps, c.sleeps ? std::vector<uint32_t>{4} : std::vector<uint32_t>{})
            << label;
        EXPECT_EQ(std::tuple(editor->lastTicks(), frame.idleCount, services.paints),
                  std::tuple(c.nextLast, c.works ? 1 : 0, c.works ? 1 : 0))
            << label;
        ASSERT_EQ(host.calls.size(), c.works ? 1u : 0u) << label;
        if (c.works) {
            EXPECT_EQ(describe(host.calls[0]), describe({audioMasterIdle}));
            EXPECT_EQ(frameIdlesDuringMasterIdle, 1) << label;
            editor->idle(); // idle work is over: the frame is reachable again
            EXPECT_EQ(frame.idleCount, 2) << label;
        }
    }
}

} // namespace
} // namespace quillory::test
