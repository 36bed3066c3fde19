// The editor window on X11 under a virtual X server: exposures, real input, the faults a host
// or the server can cause, and what many editors leave behind.

#include "X11TestSupport.h"

#include "gui/platform/x11/X11Connection.h"
#include "gui/platform/x11/X11ErrorTrap.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quillory::test {
namespace {

using X11Windows = X11Gui;

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TEST_F(X11Windows, UncoveredPartsAreRepaintedInOneGoAtTheNextIdle) {
    CFrame* frame = openFrame(CPoint(40, 40), CRect(0, 0, 200, 100));
    frame->addView(new ColorView(CRect(0, 0, 100, 100), kRedCColor));
    frame->addView(new ColorView(CRect(100, 0, 200, 100), kBlueCColor));
    frame->idle();
    // Two windows over two corners of the editor, gone before its next idle: the exposed
    // parts keep the covers' pixels until the editor repaints them.
    const ::Window first = host.makeWindow(CRect(20, 20, 90, 90), 0xFF00FF);
    const ::Window second = host.makeWindow(CRect(200, 100, 300, 200), 0xFF00FF);
    host.destroy(first);
    host.destroy(second);
    const int32_t paintsBefore = windowOf(*frame)->paintsDelivered();
    const ::Window editor = windowOf(*frame)->nativeId();
    EXPECT_TRUE(waitUntil([&] {
        frame->idle();
        const gui::PixelImage shown = host.read(editor);
        return allPixelsAre(shown, CRect(0, 0, 100, 100), pixel(kRedCColor)) &&
               allPixelsAre(shown, CRect(100, 0, 200, 100), pixel(kBlueCColor));
    }));
    EXPECT_EQ(windowOf(*frame)->paintsDelivered(), paintsBefore + 1);
    frame->forget();
    host.destroy(parent);
}

TEST_F(X11Windows, RealPressesAndWheelTurnsReachTheViewUnderThePointer) {
    CFrame* frame = openFrame(CPoint(100, 100), CRect(0, 0, 120, 80));
    auto* view = new ColorView(CRect(60, 40, 120, 80), kRedCColor);
    frame->addView(view);
    const auto idleUntil = [&](const std::function<bool()>& done) {
        return waitUntil([&] {
            frame->idle();
            return done();
        });
    };

    host.click(CPoint(170, 150));
    EXPECT_TRUE(idleUntil([&] { return view->presses == 1; }));
    EXPECT_EQ(view->lastWhere, CPoint(70, 50));
    EXPECT_EQ(view->lastButtons, kMouseLeft);

    host.key("Shift_L", true);
    host.click(CPoint(175, 155), 3);
    host.key("Shift_L", false);
    EXPECT_TRUE(idleUntil([&] { return view->presses == 2; }));
    EXPECT_EQ(view->lastButtons, kMouseRight | kModifierShift);

    host.click(CPoint(175, 155), 4);
    EXPECT_TRUE(idleUntil([&] { return view->wheel == 1.0f; }));
    host.click(CPoint(175, 155), 5);
    EXPECT_TRUE(idleUntil([&] { return view->wheel == -1.0f; }));
    EXPECT_EQ(view->presses, 2); // wheel buttons are no presses

    // Held buttons are polled from the server, without events.
    host.press(1);
    EXPECT_EQ(windowOf(*frame)->mouseButtons(), kMouseLeft);
    host.release(1);
    EXPECT_EQ(windowOf(*frame)->mouseButtons(), 0);
    EXPECT_EQ(windowOf(*frame)->screenOrigin(), CPoint(100, 100));
    // The cursor, as a drag polls it, in the frame's coordinates: asked on the editor's own
    // connection, not through the shell's services (which open one for every call).
    gui::headless::HeadlessServices elsewhere;
    elsewhere.cursor = {900, 700};
    platform::setServices(&elsewhere);
    CDrawContext* context = frame->createDrawContext();
    CPoint cursor;
    view->getMouseLocation(context, cursor);
    context->forget();
    platform::setServices(nullptr);
    EXPECT_EQ(cursor, CPoint(75, 55));
    frame->forget();
    host.destroy(parent);
}

TEST_F(X11Windows, NoWindowWithoutAServerOrALiveParentAndNoErrorForTheHost) {
    const auto opens = [](void* parentWindow) {
        auto* frame = new CFrame(CRect(0, 0, 50, 50), parentWindow, nullptr);
        const bool open = frame->isOpen();
        frame->forget();
        return open;
    };
    EXPECT_FALSE(opens(nullptr));
    EXPECT_FALSE(opens(asParent(0x7FFFFFF0))); // no such window
    const ::Window gone = host.makeWindow(CRect(0, 0, 50, 50));
    host.destroy(gone);
    EXPECT_FALSE(opens(asParent(gone)));

    const ::Window live = host.makeWindow(CRect(0, 0, 50, 50));
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_FALSE(opens(asParent(live)));
    setenv("DISPLAY", ":4095", 1); // no server there
    EXPECT_FALSE(opens(asParent(live)));
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_TRUE(opens(asParent(live)));
    host.destroy(live);
}

TEST_F(X11Windows, AParentDestroyedUnderTheEditorLeavesAClosedHarmlessFrame) {
    CFrame* frame = openFrame(CPoint(10, 10), CRect(0, 0, 60, 60));
    auto* view = new ColorView(CRect(0, 0, 60, 60), kRedCColor);
    frame->addView(view);
    host.destroy(parent);
    EXPECT_TRUE(waitUntil([&] {
        frame->idle();
        return !frame->isOpen();
    }));
    // Drawing, polling and popups after the window's end change nothing and fail nowhere.
    view->setDirty(true);
    frame->idle();
    CDrawContext* context = frame->createDrawContext();
    view->draw(context);
    context->forget();
    gui::PopupMenu menu;
    menu.items.push_back(gui::PopupItem{});
    EXPECT_EQ(windowOf(*frame)->runPopup(menu, CPoint(), gui::PopupButton::kLeft),
              gui::kPopupCancelled);
    EXPECT_EQ(windowOf(*frame)->screenOrigin(), CPoint());
    windowOf(*frame)->setCursor(CCursorType::kCursorHand);
    frame->forget();
}

TEST_F(X11Windows, EditorsShareOneConnectionAndManyOpenAndCloseLeaveNothingBehind) {
    const ::Window host1 = host.makeWindow(CRect(0, 0, 80, 80));
    const std::size_t descriptorsBefore = openDescriptors();
    auto* first = new CFrame(CRect(0, 0, 40, 40), asParent(host1), nullptr);
    auto* second = new CFrame(CRect(0, 0, 40, 40), asParent(host1), nullptr);
    EXPECT_TRUE(first->isOpen() && second->isOpen());
    EXPECT_EQ(openDescriptors(), descriptorsBefore + 1);
    EXPECT_EQ(host.children(host1).size(), 2u);
    first->forget();
    second->forget();
    EXPECT_EQ(openDescriptors(), descriptorsBefore);

    for (int cycle = 0; cycle < 100; ++cycle) {
        auto* frame = new CFrame(CRect(0, 0, 40, 40), asParent(host1), nullptr);
        frame->addView(new ColorView(CRect(0, 0, 40, 40), kGreenCColor));
        ASSERT_TRUE(waitForFirstPaint(*frame));
        frame->forget();
    }
    EXPECT_TRUE(host.children(host1).empty());
    EXPECT_EQ(openDescriptors(), descriptorsBefore);
    host.destroy(host1);
}

TEST_F(X11Windows, TrapsCountOurErrorsAndHandOtherConnectionsErrorsToTheHost) {
    std::shared_ptr<gui::x11::Connection> ours = gui::x11::Connection::acquire();
    ASSERT_NE(ours, nullptr);
    {
        gui::x11::ErrorTrap trap(ours->display());
        EXPECT_TRUE(trap.succeeded());
        XMapWindow(host.display(), 0x7FFFFFF0); // the host's own mistake
        host.sync();
        EXPECT_EQ(hostErrors.load(), 1);
        EXPECT_TRUE(trap.succeeded());
        XMapWindow(ours->display(), 0x7FFFFFF0);
        EXPECT_FALSE(trap.succeeded());
    }
    hostErrors = 0;
}

} // namespace
} // namespace quillory::test
