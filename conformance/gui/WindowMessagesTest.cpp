// What the window procedure makes of the messages a user's mouse and keyboard cause: button
// bits and client coordinates of presses and wheel turns, and option-menu popups picked and
// dismissed with the keyboard through the native menu.

#include "Win32TestSupport.h"

#include "gui/COptionMenu.h"
#include "gui/platform/win32/MouseButtons.h"

#include <thread>
#include <vector>

namespace quillory::test {
namespace {

using gui::win32::PhysicalButtons;
using gui::win32::toolkitButtons;

class WindowMessages : public Win32Gui {};

TEST_F(WindowMessages, PressesAndWheelTurnsReachTheViewUnderThemInFrameCoordinates) {
    HWND host = makeHostWindow(200, 100, 120, 90);
    auto* frame = new CFrame(CRect(0, 0, 200, 100), host, nullptr);
    auto* view = new RecordingView(CRect(10, 10, 60, 40));
    frame->addView(view);
    HWND window = frameWindow(*frame);

    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(20, 15));
    EXPECT_EQ(view->presses, 1);
    EXPECT_EQ(view->lastWhere, CPoint(20, 15));
    EXPECT_EQ(view->lastButtons, kMouseRight | kModifierShift);
    // A press whose button is already up again by the time it is handled still counts.
    SendMessageA(window, WM_LBUTTONDOWN, 0, MAKELPARAM(11, 39));
    EXPECT_EQ(view->lastButtons, kMouseLeft);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(61, 20)); // beside the view
    EXPECT_EQ(view->presses, 2);

    // The wheel message carries screen coordinates and notches of 120.
    POINT onView{30, 25};
    ClientToScreen(window, &onView);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)),
                 MAKELPARAM(onView.x, onView.y));
    EXPECT_EQ(view->lastWhere, CPoint(30, 25));
    EXPECT_EQ(view->wheel, -2.0f);
    frame->forget();
}

TEST_F(WindowMessages, PolledButtonsReportThePrimaryButtonAsLeftWhenSwapped) {
    EXPECT_EQ(toolkitButtons(PhysicalButtons{.left = true}, false), kMouseLeft);
    EXPECT_EQ(toolkitButtons(PhysicalButtons{.right = true}, true), kMouseLeft);
    EXPECT_EQ(toolkitButtons(PhysicalButtons{.left = true, .control = true}, true),
              kMouseRight | kModifierControl);
    EXPECT_EQ(toolkitButtons(PhysicalButtons{.middle = true, .shift = true, .alt = true}, true),
              kMouseMiddle | kModifierShift | kModifierAlt);
}

// Presses `keys` in the next popup menu that opens, from another thread, as a user at the
// keyboard would; gives up when no menu opens within two seconds.
class MenuKeys {
public:
    explicit MenuKeys(std::vector<WPARAM> keys)
        : worker([keys] {
              HWND menu = nullptr;
              for (int attempt = 0; attempt < 200 && menu == nullptr; ++attempt) {
                  Sleep(10);
                  menu = FindWindowA("#32768", nullptr); // the system's popup menu class
                  menu = menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
              }
              for (const WPARAM key : keys) {
                  PostMessageA(menu, WM_KEYDOWN, key, 0);
                  PostMessageA(menu, WM_KEYUP, key, 0);
              }
          }) {}
    ~MenuKeys() { worker.join(); }
    MenuKeys(const MenuKeys&) = delete;
    MenuKeys& operator=(const MenuKeys&) = delete;

private:
    std::thread worker;
};

TEST_F(WindowMessages, OptionMenuPopupPicksWithTheKeyboardAndIsDismissedByEscape) {
    HWND host = makeHostWindow(200, 100);
    auto* frame = new CFrame(CRect(0, 0, 200, 100), host, nullptr);
    auto* menu = new COptionMenu(CRect(10, 10, 110, 30), nullptr, 0);
    auto* more = new COptionMenu(CRect(0, 0, 10, 10), nullptr, 0);
    more->addEntry("Sine");
    more->addEntry("Wander");
    for (const char* entry : {"2", "3 & more", "4"}) {
        menu->addEntry(entry);
    }
    menu->addEntry(more, "Waves");
    more->forget(); // the menu holds it
    frame->addView(menu);
    HWND window = frameWindow(*frame);
    const auto click = [&] {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    };

    {
        MenuKeys keys({VK_DOWN, VK_RETURN}); // the first entry, command 0
        menu->setValue(2);
        click();
    }
    EXPECT_EQ(menu->getLastResult(), 0);
    EXPECT_EQ(menu->getValue(), 0.0f);
    {
        MenuKeys keys({VK_DOWN, VK_DOWN, VK_RETURN});
        click();
    }
    EXPECT_EQ(menu->getValue(), 1.0f);
    {
        MenuKeys keys({VK_ESCAPE});
        click();
    }
    EXPECT_EQ(menu->getLastResult(), -1);
    EXPECT_EQ(menu->getValue(), 1.0f) << "a dismissed popup changes nothing";
    {
        MenuKeys keys({VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}); // "Wander" in the sub-menu
        click();
    }
    EXPECT_EQ(menu->getLastItemMenu(), more);
    EXPECT_EQ(more->getValue(), 1.0f);
    EXPECT_EQ(menu->getValue(), 1.0f);
    frame->forget();
}

} // namespace
} // namespace quillory::test
