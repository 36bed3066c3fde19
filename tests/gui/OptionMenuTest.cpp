// The option menu: its entry model, the popup it builds with its command numbering, and a
// click from press to listener, bracketed by begin and end edit.

#include "GuiTestSupport.h"
#include "ShellTestSupport.h"

#include "gui/CBitmap.h"
#include "gui/CControlListener.h"
#include "gui/COptionMenu.h"
#include "shell/Opcodes.h"

#include <cmath>
#include <limits>
#include <string>

namespace quillory::test {
namespace {

using gui::PopupItem;

class RecordingListener : public CControlListener {
public:
    void valueChanged(CDrawContext*, CControl* control) override {
        changed.push_back(control);
        values.push_back(control->getValue());
    }
    int32_t controlModifierClicked(CDrawContext*, CControl*, int32_t) override {
        ++modifierClicks;
        return takeModifierClicks ? 1 : 0;
    }
    std::vector<CControl*> changed;
    std::vector<float> values;
    int modifierClicks = 0;
    bool takeModifierClicks = false;
};

std::string currentText(const COptionMenu& menu) {
    char text[kOptionMenuEntryLength] = {};
    return menu.getCurrent(text) >= 0 ? text : "(none)";
}

using OptionMenus = HeadlessGui;

TEST_F(OptionMenus, CurrentEntryFollowsInsertionsAndRemovals) {
    auto* menu = new COptionMenu(CRect(0, 0, 40, 20), nullptr, 1);
    EXPECT_EQ(menu->getCurrent(), -1);
    menu->addEntry("2");
    EXPECT_EQ(menu->getCurrent(), 0);
    menu->addEntry("3");
    menu->addEntry("4");
    menu->setValue(1.0f);
    menu->addEntry("x", 0);
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_EQ(currentText(*menu), "3");
    menu->removeEntry(0);
    EXPECT_EQ(currentText(*menu), "3");
    menu->removeEntry(1);
    EXPECT_EQ(currentText(*menu), "2"); // the entry before the removed current one
    EXPECT_FALSE(menu->removeEntry(5));
    menu->removeAllEntry();
    EXPECT_EQ(menu->getCurrent(), -1);

    const std::string longText(300, 'w');
    for (int32_t index = 0; index < kOptionMenuMaxEntries; ++index) {
        ASSERT_TRUE(menu->addEntry(longText.c_str()));
    }
    EXPECT_FALSE(menu->addEntry("one too many"));
    char text[kOptionMenuEntryLength];
    ASSERT_TRUE(menu->getEntry(kOptionMenuMaxEntries - 1, text));
    EXPECT_EQ(std::string(text), longText.substr(0, 255));
    menu->forget();
}

TEST_F(OptionMenus, SetValueTruncatesTowardZeroAndIgnoresValuesOutsideTheEntries) {
    auto* menu = new COptionMenu(CRect(0, 0, 40, 20), nullptr, 1);
    for (const char* entry : {"2", "3", "4"}) {
        menu->addEntry(entry);
    }
    menu->setValue(1.9f);
    EXPECT_EQ(currentText(*menu), "3");
    EXPECT_EQ(menu->getValue(), 1.9f);
    menu->setValue(-0.5f);
    EXPECT_EQ(currentText(*menu), "2");
    EXPECT_EQ(menu->getValue(), -0.5f);
    menu->setDirty(false);
    for (const float outside : {3.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(), 1e10f}) {
        menu->setValue(outside);
        EXPECT_EQ(currentText(*menu), "2") << outside;
        EXPECT_EQ(menu->getValue(), -0.5f) << outside;
    }
    EXPECT_FALSE(menu->isDirty());
    menu->setValue(2.0f);
    EXPECT_TRUE(menu->isDirty());
    menu->forget();
}

TEST_F(OptionMenus, PositionsCanCountOnlyItemsAndTextsMatchWhole) {
    auto* menu = new COptionMenu(CRect(0, 0, 40, 20), nullptr, 1);
    for (const char* entry : {"-THeading", "a", "-", "b"}) {
        menu->addEntry(entry);
    }
    EXPECT_TRUE(menu->setCurrent(1, false));
    EXPECT_EQ(menu->getCurrent(nullptr, true), 3);
    EXPECT_EQ(menu->getCurrent(nullptr, false), 1);
    EXPECT_FALSE(menu->setCurrent(2, true)); // a separator cannot be current
    EXPECT_TRUE(menu->setCurrent(3, false)); // fewer items than that: the last entry
    EXPECT_EQ(currentText(*menu), "b");
    EXPECT_FALSE(menu->setCurrent(4, true));
    EXPECT_EQ(menu->getIndex("b"), 3);
    EXPECT_EQ(menu->getIndex("-"), 2);
    EXPECT_EQ(menu->getIndex("-T"), -1);
    EXPECT_EQ(menu->getIndex(nullptr), -1);
    menu->forget();
}

TEST_F(OptionMenus, NumberedEntriesKeepTheirNumberButShowWithoutIt) {
    auto* menu = new COptionMenu(CRect(0, 0, 60, 20), nullptr, 1);
    auto* sub = new COptionMenu(CRect(0, 0, 60, 20), nullptr, 2);
    menu->setPrefixNumbers(3);
    menu->addEntry("Sine");
    menu->addEntry("-");
    menu->addEntry(sub, "More");
    menu->setPrefixNumbers(2);
    menu->addEntry("Wander");
    char text[kOptionMenuEntryLength];
    const char* expected[] = {"01 Sine", "-", "-M03 More", "4 Wander"};
    for (int32_t index = 0; index < 4; ++index) {
        menu->getEntry(index, text);
        EXPECT_STREQ(text, expected[index]);
    }
    menu->setPrefixNumbers(3);
    menu->setValue(0.0f);
    CDrawContext context(nullptr, backend.createOffscreen(60, 20, nullptr));
    menu->draw(&context);
    ASSERT_EQ(backend.texts().size(), 1u);
    EXPECT_EQ(backend.texts()[0].text, "Sine");
    sub->forget();
    menu->forget();
}

// A shown frame of an editor whose host records the edit notifications; popups are answered
// with `answer`, and the screen is captured while one is open.
class PopupMenus : public HeadlessGui {
protected:
    void SetUp() override {
        HeadlessGui::SetUp();
        editor = new FrameEditor(&effect); // owned by the effect
        frame = shownFrame(CRect(0, 0, 200, 100), editor);
        window()->setScreenOrigin(CPoint(300, 200));
        window()->answerPopups([this](const gui::PopupMenu&) {
            shownDuring = screen();
            return answer;
        });
    }
    void TearDown() override {
        frame->forget();
        HeadlessGui::TearDown();
    }
    void click(CPoint where, int32_t buttons) {
        window()->queueMouseDown(where, buttons);
        frame->idle();
    }
    const gui::PopupMenu& lastPopup() { return window()->shownPopups().back().menu; }
    // The begin and end edit notifications since the last call, as (opcode, index).
    std::vector<std::pair<int32_t, int32_t>> editCalls() {
        std::vector<std::pair<int32_t, int32_t>> calls;
        for (const HostCall& call : host.calls) {
            if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit) {
                calls.emplace_back(call.opcode, call.index);
            }
        }
        host.calls.clear();
        return calls;
    }

    RecordingHost host;
    TestEffect effect{RecordingHost::callback};
    FrameEditor* editor = nullptr;
    CFrame* frame = nullptr;
    int32_t answer = gui::kPopupCancelled;
    gui::PixelImage shownDuring;
};

TEST_F(PopupMenus, EveryEntryIsNumberedByItsPositionAndSubMenusAfterTheirParent) {
    RecordingListener listener;
    auto* menu = new COptionMenu(CRect(10, 20, 60, 40), &listener, 1);
    auto* sub = new COptionMenu(CRect(0, 0, 10, 10), nullptr, 2);
    sub->addEntry("x");
    sub->addEntry("y");
    for (const char* entry : {"-THeading", "a", "-", "b"}) {
        menu->addEntry(entry);
    }
    menu->addEntry(sub, "More");
    menu->addEntry("-GLater");
    menu->setCurrent(3);
    menu->setStyle(kOptionMenuCheckStyle);
    menu->setNbItemsPerColumn(2);
    frame->addView(menu);
    sub->forget(); // the menu holds it now

    answer = 7; // "y" in the sub-menu
    click(CPoint(15, 25), kMouseRight);
    const gui::PopupMenu& popup = lastPopup();
    ASSERT_EQ(popup.items.size(), 6u);
    EXPECT_EQ(popup.items[0].text, "Heading");
    EXPECT_FALSE(popup.items[0].enabled);
    EXPECT_FALSE(popup.items[0].greyed);
    EXPECT_EQ(popup.items[1].command, 1);
    EXPECT_EQ(popup.items[2].kind, PopupItem::Kind::kSeparator);
    EXPECT_EQ(popup.items[2].command, 0);
    EXPECT_EQ(popup.items[3].command, 3);
    EXPECT_TRUE(popup.items[3].checked);
    EXPECT_FALSE(popup.items[1].checked);
    EXPECT_EQ(popup.items[4].kind, PopupItem::Kind::kSubMenu);
    EXPECT_EQ(popup.items[4].text, "More");
    EXPECT_TRUE(popup.items[4].columnBreak); // the fifth item, after two columns of two
    EXPECT_FALSE(popup.items[3].columnBreak);
    ASSERT_EQ(popup.items[4].subMenu.size(), 2u);
    EXPECT_EQ(popup.items[4].subMenu[0].command, 6);
    EXPECT_EQ(popup.items[4].subMenu[1].command, 7);
    EXPECT_TRUE(popup.items[5].greyed);
    EXPECT_EQ(popup.items[5].text, "Later");
    EXPECT_EQ(popup.items[5].command, 5);
    // Below the control, in screen coordinates, following the right button.
    EXPECT_EQ(window()->shownPopups().back().position, CPoint(310, 240));
    EXPECT_EQ(window()->shownPopups().back().button, gui::PopupButton::kRight);

    // The pick belongs to the sub-menu, which gets the value and is reported.
    EXPECT_EQ(sub->getValue(), 1.0f);
    EXPECT_EQ(listener.changed, (std::vector<CControl*>{sub}));
    EXPECT_EQ(menu->getLastItemMenu(), sub);
    EXPECT_EQ(currentText(*menu), "b");

    menu->setStyle(kOptionMenuPopupStyle);
    answer = gui::kPopupCancelled;
    click(CPoint(15, 25), kMouseLeft);
    EXPECT_EQ(window()->shownPopups().back().position, CPoint(310, 220));
    EXPECT_EQ(window()->shownPopups().back().button, gui::PopupButton::kLeft);
    EXPECT_FALSE(lastPopup().items[3].checked);
}

TEST_F(PopupMenus, AClickIsBracketedByBeginAndEndEditAndShowsTheClickedBitmapMeanwhile) {
    RecordingListener listener;
    auto* normal = new CBitmap(gui::PixelImage(40, 20, pixel(kRedCColor)));
    auto* clicked = new CBitmap(gui::PixelImage(40, 20, pixel(kGreenCColor)));
    auto* menu = new COptionMenu(CRect(10, 10, 50, 30), &listener, 0x2007, normal, clicked);
    normal->forget();
    clicked->forget();
    for (const char* entry : {"2", "3", "4"}) {
        menu->addEntry(entry);
    }
    frame->addView(menu);
    frame->idle();
    const std::vector<std::pair<int32_t, int32_t>> bracket{{audioMasterBeginEdit, 0x2007},
                                                           {audioMasterEndEdit, 0x2007}};
    editCalls();

    click(CPoint(20, 20), kMouseLeft); // dismissed
    EXPECT_EQ(shownDuring.colorAt(12, 12), kGreenCColor);
    EXPECT_EQ(editCalls(), bracket);
    EXPECT_TRUE(listener.changed.empty());
    EXPECT_EQ(currentText(*menu), "2");
    frame->idle();
    EXPECT_EQ(screen().colorAt(12, 12), kRedCColor); // the normal bitmap is back

    answer = 2;
    click(CPoint(20, 20), kMouseLeft);
    EXPECT_EQ(editCalls(), bracket);
    EXPECT_EQ(listener.values, (std::vector<float>{2.0f}));
    EXPECT_EQ(currentText(*menu), "4");

    // Modifier clicks go to the listener first; the middle button opens nothing.
    const size_t popups = window()->shownPopups().size();
    listener.takeModifierClicks = true;
    click(CPoint(20, 20), kMouseLeft | kModifierShift);
    click(CPoint(20, 20), kMouseMiddle);
    EXPECT_EQ(listener.modifierClicks, 1);
    EXPECT_EQ(window()->shownPopups().size(), popups);
    EXPECT_TRUE(editCalls().empty());
}

TEST_F(PopupMenus, AnEntryWithoutItsSubMenuIsLeftOutWithoutShiftingTheOthers) {
    RecordingListener listener;
    auto* menu = new COptionMenu(CRect(0, 0, 50, 20), &listener, 1);
    menu->addEntry("a");
    menu->addEntry("-Mlost"); // a sub-menu entry made from text: no sub-menu behind it
    menu->addEntry("b");
    menu->addEntry(menu, "Itself"); // would open itself again
    frame->addView(menu);
    answer = 2;
    click(CPoint(5, 5), kMouseLeft);
    const gui::PopupMenu& popup = lastPopup();
    ASSERT_EQ(popup.items.size(), 2u);
    EXPECT_EQ(popup.items[1].text, "b");
    EXPECT_EQ(popup.items[1].command, 2);
    EXPECT_EQ(currentText(*menu), "b");
    EXPECT_EQ(listener.values, (std::vector<float>{2.0f}));
    menu->removeAllEntry(); // drops the reference the menu holds to itself
}

} // namespace
} // namespace quillory::test
