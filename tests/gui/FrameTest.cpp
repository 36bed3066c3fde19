// The frame and its containers: drawing order, mouse routing, dirty tracking, the first
// draw, and the faults a host can cause (no window, a parent destroyed, re-entrant idle,
// the editor closed from inside an event).

#include "GuiTestSupport.h"
#include "ShellTestSupport.h"

#include "gui/COptionMenu.h"
#include "shell/Opcodes.h"

namespace quillory::test {
namespace {

using Frames = HeadlessGui;

TEST_F(Frames, LaterViewCoversEarlierAndTakesTheMouseFirst) {
    CFrame* frame = shownFrame(CRect(0, 0, 100, 100));
    std::vector<std::string> log;
    auto* back = new ColorView(CRect(10, 10, 60, 60), kRedCColor, &log, "back");
    auto* front = new ColorView(CRect(40, 40, 90, 90), kBlueCColor, &log, "front");
    auto* label = new ColorView(CRect(45, 45, 50, 50), kGreenCColor, &log, "label");
    label->setMouseEnabled(false);
    frame->addView(back);
    frame->addView(front);
    frame->addView(label);
    frame->idle();
    // Back to front. (The front view, only partly covered by the back view's redraw, is
    // redrawn whole afterwards.)
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 3),
              (std::vector<std::string>{"back", "front", "label"}));
    EXPECT_EQ(screen().colorAt(20, 20), kRedCColor);
    EXPECT_EQ(screen().colorAt(50, 50), kBlueCColor);
    EXPECT_EQ(screen().colorAt(47, 47), kGreenCColor);

    window()->queueMouseDown(CPoint(47, 47), kMouseLeft);  // the label takes no mouse input
    window()->queueMouseDown(CPoint(90, 90), kMouseRight); // far edges belong to the view
    window()->queueMouseDown(CPoint(95, 95), kMouseLeft);  // nobody's
    frame->idle();
    EXPECT_EQ(front->presses, 2);
    EXPECT_EQ(front->lastButtons, kMouseRight);
    EXPECT_EQ(back->presses, 0);

    // A view whose hitTest refuses passes the press on to the one below.
    front->setMouseableArea(CRect(80, 80, 90, 90));
    window()->queueMouseDown(CPoint(50, 50), kMouseLeft);
    frame->idle();
    EXPECT_EQ(back->presses, 1);
    EXPECT_EQ(back->lastWhere, CPoint(50, 50));
    frame->forget();
}

TEST_F(Frames, NothingIsDrawnBeforeTheFirstPaintThenIdleRedrawsOnlyWhatIsDirty) {
    auto* frame = new CFrame(CRect(0, 0, 100, 100), parent(), nullptr);
    std::vector<std::string> log;
    auto* pad = new ColorView(CRect(0, 0, 50, 50), kRedCColor, &log, "pad");
    auto* other = new ColorView(CRect(50, 0, 100, 50), kBlueCColor, &log, "other");
    auto* value = new ColorView(CRect(20, 20, 40, 40), kGreenCColor, &log, "value");
    frame->addView(pad);
    frame->addView(other);
    frame->addView(value);
    frame->idle();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(window()->copiesToScreen, 0);
    EXPECT_TRUE(allPixelsAre(screen(), CRect(0, 0, 100, 100), kUnpainted));

    window()->queueExpose(CRect(0, 0, 100, 100));
    frame->idle();
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(window()->copiesToScreen, 1); // the whole window in one copy
    frame->idle();
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(window()->copiesToScreen, 1);

    // A dirty view's rectangle is drawn again with everything over it, in order.
    log.clear();
    pad->setDirty(true);
    frame->idle();
    EXPECT_EQ(log, (std::vector<std::string>{"pad", "value"}));
    EXPECT_EQ(window()->copiesToScreen, 2);
    EXPECT_EQ(screen().colorAt(30, 30), kGreenCColor);
    EXPECT_EQ(screen().colorAt(10, 10), kRedCColor);
    EXPECT_FALSE(frame->isDirty());
    frame->forget();
}

TEST_F(Frames, ViewsOnlyTouchedOrPartlyRepaintedStayDirtyForTheNextIdle) {
    CFrame* frame = shownFrame(CRect(0, 0, 100, 50));
    auto* left = new ColorView(CRect(0, 0, 50, 50), kRedCColor);
    auto* right = new ColorView(CRect(50, 0, 100, 50), kBlueCColor);
    frame->addView(left);
    frame->addView(right);
    frame->idle();
    right->setDirty(true);
    right->color = kGreenCColor;

    window()->paintNow(CRect(0, 0, 50, 50)); // touches the right view's edge only
    EXPECT_EQ(right->draws, 1);
    EXPECT_TRUE(right->isDirty());
    window()->paintNow(CRect(50, 0, 60, 10)); // a corner of it
    EXPECT_EQ(right->draws, 2);
    EXPECT_TRUE(right->isDirty());
    frame->idle();
    EXPECT_EQ(right->draws, 3);
    EXPECT_FALSE(right->isDirty());
    EXPECT_TRUE(allPixelsAre(screen(), CRect(50, 0, 100, 50), pixel(kGreenCColor)));
    frame->forget();
}

TEST_F(Frames, WithoutAUsableParentTheFrameStaysClosedAndHarmless) {
    int secondParent = 0;
    int thirdParent = 0;
    CFrame* frames[] = {new CFrame(CRect(0, 0, 50, 50), nullptr, nullptr), nullptr};
    backend.destroyParent(&secondParent);
    frames[1] = new CFrame(CRect(0, 0, 50, 50), &secondParent, nullptr);
    for (CFrame* frame : frames) {
        EXPECT_FALSE(frame->isOpen());
        auto* view = new ColorView(CRect(0, 0, 10, 10), kRedCColor);
        frame->addView(view);
        frame->idle();
        CDrawContext* context = frame->createDrawContext();
        frame->draw(context);
        context->forget();
        EXPECT_EQ(frame->onWheelAtScreenPoint(1, 1, 1.0f), false);
        frame->forget();
    }

    // The parent destroyed under an open frame: the frame closes, draws nothing more and
    // still goes away cleanly.
    auto* frame = new CFrame(CRect(0, 0, 50, 50), &thirdParent, nullptr);
    window()->queueExpose(CRect(0, 0, 50, 50));
    frame->idle();
    auto* view = new ColorView(CRect(0, 0, 10, 10), kRedCColor);
    frame->addView(view);
    backend.destroyParent(&thirdParent);
    EXPECT_FALSE(frame->isOpen());
    frame->idle();
    EXPECT_EQ(view->draws, 0);
    frame->forget();
    EXPECT_TRUE(backend.windows().empty());
}

TEST_F(Frames, EditorClosedInsideAClickEndsTheFrameOnlyAfterTheClick) {
    for (const bool fromIdle : {true, false}) {
        SCOPED_TRACE(fromIdle ? "click pumped by idle" : "click from a window procedure");
        int destroyed = 0;
        CFrame* frame = shownFrame(CRect(0, 0, 50, 50));
        auto* view = new ColorView(CRect(0, 0, 50, 50), kRedCColor);
        view->destroyed = &destroyed;
        view->onMouse = [&] {
            frame->forget(); // what the editor's close does
            view->setDirty(true);
            EXPECT_EQ(destroyed, 0);
        };
        frame->addView(view);
        if (fromIdle) {
            window()->queueMouseDown(CPoint(5, 5), kMouseLeft);
            frame->idle();
        } else {
            window()->mouseDownNow(CPoint(5, 5), kMouseLeft);
        }
        EXPECT_EQ(destroyed, 1);
        EXPECT_TRUE(backend.windows().empty());
    }
}

TEST_F(Frames, IdleIgnoresItselfWhenCalledAgainFromInsideOrDuringAPopup) {
    CFrame* frame = shownFrame(CRect(0, 0, 100, 50));
    auto* view = new ColorView(CRect(0, 0, 50, 50), kRedCColor);
    view->onDraw = [&] { frame->idle(); };
    frame->addView(view);
    frame->idle();
    EXPECT_EQ(view->draws, 1);

    auto* menu = new COptionMenu(CRect(50, 0, 100, 20), nullptr, 1);
    menu->addEntry("one");
    frame->addView(menu);
    frame->idle();
    window()->answerPopups([&](const gui::PopupMenu&) {
        view->setDirty(true);
        frame->idle();
        EXPECT_EQ(view->draws, 1);
        return gui::kPopupCancelled;
    });
    window()->queueMouseDown(CPoint(60, 5), kMouseLeft);
    frame->idle();
    EXPECT_EQ(window()->shownPopups().size(), 1u);
    frame->idle();
    EXPECT_EQ(view->draws, 2);
    frame->forget();
}

TEST_F(Frames, WheelAndDropsReachTheViewUnderThePointInFrameCoordinates) {
    RecordingHost host;
    TestEffect effect(RecordingHost::callback);
    auto* editor = new FrameEditor(&effect); // owned by the effect
    CFrame* frame = shownFrame(CRect(0, 0, 100, 100), editor);
    editor->setFrame(frame);
    auto* view = new ColorView(CRect(20, 20, 40, 40), kRedCColor);
    frame->addView(view);
    window()->setScreenOrigin(CPoint(300, 200));

    services.cursor = {325, 230};
    EXPECT_TRUE(editor->onWheel(2.0f));
    EXPECT_EQ(view->lastWhere, CPoint(25, 30));
    EXPECT_EQ(view->wheel, 2.0f);
    services.cursor = {390, 290};
    EXPECT_FALSE(editor->onWheel(1.0f));

    window()->dropNow(gui::DragData{{"/a.wav", "/b.wav"}}, CPoint(30, 21));
    EXPECT_EQ(view->droppedFiles, 2);
    EXPECT_EQ(view->lastWhere, CPoint(30, 21));

    editor->setFrame(nullptr);
    frame->forget();
}

TEST_F(Frames, RemovedViewsLoseFocusAndTheirReferencesAndTabMovesTheFocus) {
    CFrame* frame = shownFrame(CRect(0, 0, 100, 100));
    int destroyed = 0;
    auto* first = new ColorView(CRect(0, 0, 10, 10), kRedCColor);
    auto* second = new ColorView(CRect(10, 0, 20, 10), kRedCColor);
    first->destroyed = second->destroyed = &destroyed;
    first->setWantsFocus(true);
    second->setWantsFocus(true);
    frame->addView(first);
    frame->addView(second);

    VstKeyCode tab{0, 2, 0};
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), first);
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), second);
    VstKeyCode letter{'a', 0, 0};
    EXPECT_EQ(frame->onKeyDown(letter), -1);

    frame->removeView(second, false); // the creator's reference stays
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(destroyed, 0);
    second->forget();
    EXPECT_EQ(destroyed, 1);
    frame->forget(); // takes both references of the view still in it
    EXPECT_EQ(destroyed, 2);
}

} // namespace
} // namespace quillory::test
