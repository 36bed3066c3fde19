// Popup menus on X11, played by a user on a thread and connection of its own while the
// editor's thread runs the menu: picks by pointer and keyboard, the ways a menu is dismissed,
// and what the editor goes through meanwhile. Also the menu's rules without a server.

#include "X11TestSupport.h"

#include "gui/CControlListener.h"
#include "gui/COptionMenu.h"
#include "gui/platform/x11/PopupNavigator.h"
#include "gui/platform/x11/PopupPainter.h"

#include <atomic>
#include <thread>

namespace quillory::test {
namespace {

using gui::PopupItem;
using gui::x11::kPopupBorder;
using gui::x11::kPopupItemHeight;

// Waits until a menu is drawn, which happens only once it holds its grabs, then acts on it.
class PopupUser {
public:
    using Script = std::function<void(X11TestHost& user, const CRect& menu)>;
    explicit PopupUser(Script script)
        : thread([this, act = std::move(script)] {
              X11TestHost user;
              ::Window menu = 0;
              sawMenu = waitUntil([&] {
                  for (::Window shown : user.popups()) {
                      const gui::PixelImage pixels = user.read(shown);
                      if (!pixels.isEmpty() &&
                          pixels.at(0, 0) == gui::packPixel(gui::x11::kPopupOutline)) {
                          menu = shown;
                          return true;
                      }
                  }
                  return false;
              });
              if (sawMenu) {
                  act(user, user.screenRect(menu));
              } else {
                  user.tap("Escape"); // whatever is open ends, rather than the test hanging
              }
              finished = true;
          }) {}
    ~PopupUser() { thread.join(); }

    std::atomic<bool> sawMenu{false};
    std::atomic<bool> finished{false};

private:
    std::thread thread;
};

// The middle of plain item `index` of a menu without separators.
CPoint itemCentre(const CRect& menu, int32_t index) {
    return CPoint(menu.left + menu.width() / 2,
                  menu.top + kPopupBorder + index * kPopupItemHeight + kPopupItemHeight / 2);
}

class Listener : public CControlListener {
public:
    void valueChanged(CDrawContext*, CControl* control) override {
        ++changes;
        changed = control;
    }
    int changes = 0;
    CControl* changed = nullptr;
};

// An editor of an option menu ("2", "3", "4") beside a plain view, at (100, 100).
class X11Popups : public X11Gui {
protected:
    void SetUp() override {
        X11Gui::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        frame = openFrame(CPoint(100, 100), CRect(0, 0, 200, 100));
        menu = new COptionMenu(CRect(10, 10, 90, 30), &listener, 7);
        for (const char* entry : {"2", "3", "4"}) {
            menu->addEntry(entry);
        }
        frame->addView(menu);
        view = new ColorView(CRect(100, 0, 200, 100), kBlueCColor);
        frame->addView(view);
        frame->idle();
    }
    void TearDown() override {
        if (frame != nullptr) {
            frame->forget();
        }
        if (parent != 0) {
            host.destroy(parent);
        }
        EXPECT_TRUE(host.popups().empty()) << "a menu window was left behind";
        X11Gui::TearDown();
    }

    // Clicks the option menu and idles the editor until the user has played `script`.
    void openMenuAndPlay(PopupUser::Script script) {
        PopupUser user(std::move(script));
        host.click(CPoint(150, 120));
        EXPECT_TRUE(waitUntil([&] {
            if (frame != nullptr) {
                frame->idle();
            }
            return user.finished.load();
        }));
        EXPECT_TRUE(user.sawMenu);
    }

    Listener listener;
    CFrame* frame = nullptr;
    COptionMenu* menu = nullptr;
    ColorView* view = nullptr;
};

TEST_F(X11Popups, AClickOnAnItemPicksIt) {
    openMenuAndPlay([](X11TestHost& user, const CRect& shown) {
        EXPECT_EQ(shown.topLeft(), CPoint(110, 130)); // below the option menu
        user.click(itemCentre(shown, 2));
    });
    EXPECT_EQ(menu->getValue(), 2.0f);
    EXPECT_EQ(listener.changes, 1);
}

TEST_F(X11Popups, KeysSkipWhatCannotBePickedAndReachIntoSubMenus) {
    gui::PopupMenu tree;
    const auto item = [](const char* text, int32_t command, bool enabled = true) {
        PopupItem made;
        made.text = text;
        made.command = command;
        made.enabled = enabled;
        return made;
    };
    PopupItem separator;
    separator.kind = PopupItem::Kind::kSeparator;
    PopupItem more = item("More", 0);
    more.kind = PopupItem::Kind::kSubMenu;
    more.subMenu = {item("x", 5), item("y", 6)};
    PopupItem greyed = item("Later", 7, false);
    greyed.greyed = true;
    greyed.columnBreak = true;
    tree.items = {item("Heading", 0, false), item("a", 1), separator, item("b", 3), more, greyed};

    PopupUser user([](X11TestHost& keyboard, const CRect&) {
        for (const char* key : {"Down", "Down", "Down", "Right", "Down", "Return"}) {
            keyboard.tap(key);
        }
    });
    EXPECT_EQ(windowOf(*frame)->runPopup(tree, CPoint(300, 300), gui::PopupButton::kLeft), 6);
    EXPECT_TRUE(user.sawMenu);
}

TEST_F(X11Popups, EscapeOrAPressOutsideDismissesAndTheEditorSeesNothingOfIt) {
    openMenuAndPlay([](X11TestHost& user, const CRect&) { user.tap("Escape"); });
    // The press that dismisses the menu lands on the editor's other view, which never hears
    // of it, nor of the release that follows.
    openMenuAndPlay([](X11TestHost& user, const CRect& shown) {
        user.moveTo(itemCentre(shown, 1));
        user.click(CPoint(250, 150));
    });
    for (int round = 0; round < 5; ++round) {
        frame->idle();
    }
    EXPECT_EQ(view->presses, 0);
    EXPECT_EQ(menu->getValue(), 0.0f);
    EXPECT_EQ(listener.changes, 0);

    host.click(CPoint(250, 150));
    EXPECT_TRUE(waitUntil([&] {
        frame->idle();
        return view->presses == 1;
    }));
}

TEST_F(X11Popups, AMenuThatCannotGrabThePointerIsNeverShown) {
    ASSERT_EQ(XGrabPointer(host.display(), parent, False, ButtonPressMask, GrabModeAsync,
                           GrabModeAsync, None, None, CurrentTime),
              GrabSuccess);
    host.sync();
    gui::PopupMenu one;
    one.items.push_back(PopupItem{});
    EXPECT_EQ(windowOf(*frame)->runPopup(one, CPoint(300, 300), gui::PopupButton::kLeft),
              gui::kPopupCancelled);
    EXPECT_TRUE(host.popups().empty());
    XUngrabPointer(host.display(), CurrentTime);
    host.sync();
}

TEST_F(X11Popups, TheEditorIsRepaintedWhileItsMenuIsOpenAndMayBeClosedMeanwhile) {
    const ::Window editor = windowOf(*frame)->nativeId();
    int destroyed = 0;
    view->destroyed = &destroyed;
    // A repaint during the menu is where a view could ask for an idle or close the editor;
    // neither may take the window from under the menu.
    view->onDraw = [&] {
        if (frame != nullptr) {
            frame->idle();
            std::exchange(frame, nullptr)->forget();
        }
    };
    openMenuAndPlay([editor](X11TestHost& user, const CRect&) {
        const ::Window cover = user.makeWindow(CRect(250, 150, 280, 180), 0xFF00FF);
        user.destroy(cover);
        EXPECT_TRUE(waitUntil([&] {
            return allPixelsAre(user.read(editor), CRect(150, 50, 180, 80), pixel(kBlueCColor));
        }));
        XMapWindow(user.display(), 0x7FFFFFF0); // the host's own mistake, meanwhile
        user.sync();
        user.tap("Escape");
    });
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(host.children(parent).empty());
    EXPECT_EQ(hostErrors.load(), 1); // passed on to the host, not swallowed
    hostErrors = 0;
}

TEST(PopupNavigation, TheOpeningReleasePicksNothingAndSubMenusStayOnTheScreen) {
    PopupItem plain;
    plain.text = "a";
    plain.command = 4;
    PopupItem opener;
    opener.kind = PopupItem::Kind::kSubMenu;
    opener.text = "More";
    opener.subMenu = {plain};
    gui::PopupMenu menu;
    menu.items = {plain, opener};
    const CRect screen(0, 0, 400, 300);
    const auto measure = [](const std::string& text) {
        return static_cast<int32_t>(text.size()) * 7;
    };

    // Opened under the pointer at the screen's right edge: moved left to fit.
    gui::x11::PopupNavigator navigator(menu, CPoint(390, 10), screen, measure);
    const CRect frameOfMenu = navigator.openPanes()[0].frame;
    EXPECT_EQ(frameOfMenu.right, 400);
    const CPoint onFirst(frameOfMenu.left + 10, frameOfMenu.top + kPopupBorder + 5);
    navigator.buttonReleased(CPoint(390, 10));
    navigator.buttonReleased(onFirst); // the pointer has not moved yet: nothing is picked
    EXPECT_EQ(navigator.result(), gui::x11::PopupNavigator::Outcome::kOpen);

    // The sub-menu opens on hovering its item, to the left where the right has no room.
    navigator.pointerMoved(CPoint(onFirst.x, onFirst.y + kPopupItemHeight));
    ASSERT_EQ(navigator.openPanes().size(), 2u);
    EXPECT_LE(navigator.openPanes()[1].frame.right, frameOfMenu.left + 1);
    navigator.keyPressed(gui::x11::PopupKey::kLeft);
    EXPECT_EQ(navigator.openPanes().size(), 1u);
    navigator.buttonReleased(onFirst); // moved since opening: picks
    EXPECT_EQ(navigator.pickedCommand(), 4);

    gui::x11::PopupNavigator dismissed(menu, CPoint(10, 10), screen, measure);
    dismissed.buttonPressed(CPoint(300, 250));
    EXPECT_EQ(dismissed.result(), gui::x11::PopupNavigator::Outcome::kDismissed);
    gui::x11::PopupNavigator empty(gui::PopupMenu{}, CPoint(), screen, measure);
    EXPECT_EQ(empty.result(), gui::x11::PopupNavigator::Outcome::kDismissed);
}

// The pixels of a menu pane: the check mark only beside the checked entry (the current one of
// an option menu with the check style), the highlight behind the hovered entry only.
TEST(PopupPainting, ChecksOnlyTheCheckedEntryAndHighlightsOnlyTheHoveredOne) {
    gui::PopupMenu menu;
    for (const char* text : {"2", "3", "4"}) {
        PopupItem item;
        item.text = text;
        item.checked = menu.items.empty();
        menu.items.push_back(item);
    }
    gui::x11::X11Backend x11;
    gui::x11::PopupNavigator navigator(
        menu, CPoint(), CRect(0, 0, 400, 300),
        [](const std::string& text) { return static_cast<int32_t>(text.size()) * 7; });
    navigator.pointerMoved(itemCentre(navigator.openPanes()[0].frame, 2));
    const gui::x11::PopupPane& pane = navigator.openPanes()[0];
    gui::PixelImage image(pane.frame.width(), pane.frame.height());
    gui::x11::paintPopupPane(image, pane, x11, x11.textRenderer());

    const auto checkColumn = [&](std::size_t row) {
        const CRect& item = pane.layout.items[row];
        return CRect(item.left, item.top, item.left + gui::x11::kPopupCheckColumn, item.bottom);
    };
    const auto count = [&](const CRect& area, CColor color) {
        int32_t found = 0;
        for (int32_t y = area.top; y < area.bottom; ++y) {
            for (int32_t x = area.left; x < area.right; ++x) {
                found += image.at(x, y) == pixel(color) ? 1 : 0;
            }
        }
        return found;
    };
    EXPECT_GT(count(checkColumn(0), kBlackCColor), 10);
    EXPECT_EQ(count(checkColumn(1), kBlackCColor), 0);
    EXPECT_TRUE(allPixelsAre(image, checkColumn(2), pixel(gui::x11::kPopupHighlight)));
    EXPECT_EQ(count(pane.layout.items[0], gui::x11::kPopupHighlight), 0);
    EXPECT_EQ(count(pane.layout.items[1], gui::x11::kPopupHighlight), 0);
}

} // namespace
} // namespace quillory::test
