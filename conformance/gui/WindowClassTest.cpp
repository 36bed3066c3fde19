// The frame's window and its class: shared by the editors of several plug-in instances,
// unregistered with the last, and no window at all where the host gives no live parent.

#include "Win32TestSupport.h"

#include "gui/CDrawContext.h"
#include "gui/platform/win32/WindowClass.h"

namespace quillory::test {
namespace {

const CRect kEditorSize(0, 0, 242, 410);

class WindowClass : public Win32Gui {};

TEST_F(WindowClass, EditorsOfTwoInstancesShareOneClassUnregisteredWhenBothClose) {
    ASSERT_FALSE(windowClassRegistered());
    auto* first = new CFrame(kEditorSize, makeHostWindow(242, 410, 20, 20), nullptr);
    auto* second = new CFrame(kEditorSize, makeHostWindow(242, 410, 300, 20), nullptr);
    ASSERT_TRUE(first->isOpen());
    ASSERT_TRUE(second->isOpen());

    char name[64] = {};
    GetClassNameA(frameWindow(*first), name, sizeof name);
    EXPECT_EQ(name, gui::win32::windowClassName());
    EXPECT_EQ(std::string(name).rfind("Plugin", 0), 0u);
    EXPECT_EQ(GetClassLongPtrA(frameWindow(*first), GCW_ATOM),
              GetClassLongPtrA(frameWindow(*second), GCW_ATOM));

    first->forget();
    EXPECT_TRUE(windowClassRegistered()) << "the second editor still uses the class";
    EXPECT_TRUE(IsWindowVisible(frameWindow(*second)));
    second->forget();
    EXPECT_FALSE(windowClassRegistered());

    // And a third editor, opened after both closed, registers it again.
    auto* third = new CFrame(kEditorSize, makeHostWindow(242, 410), nullptr);
    EXPECT_TRUE(third->isOpen());
    third->forget();
    EXPECT_FALSE(windowClassRegistered());
}

TEST_F(WindowClass, NoWindowWithoutALiveParentAndNothingLeftRegistered) {
    HWND destroyed = makeHiddenHostWindow(100, 100);
    DestroyWindow(destroyed);
    int notAWindow = 0;
    for (void* parent : {static_cast<void*>(nullptr), static_cast<void*>(destroyed),
                         static_cast<void*>(&notAWindow)}) {
        auto* frame = new CFrame(kEditorSize, parent, nullptr);
        EXPECT_FALSE(frame->isOpen()) << "parent " << parent;
        EXPECT_EQ(frame->getPlatformWindow(), nullptr);
        frame->idle();
        CDrawContext* context = frame->createDrawContext();
        context->fillRect(kEditorSize); // draws nowhere
        context->forget();
        frame->forget();
        EXPECT_FALSE(windowClassRegistered());
    }
}

TEST_F(WindowClass, ParentDestroyedUnderAnOpenFrameClosesItCleanly) {
    HWND host = makeHiddenHostWindow(242, 410);
    auto* frame = new CFrame(kEditorSize, host, nullptr);
    auto* view = new RecordingView(CRect(0, 0, 50, 50));
    frame->addView(view);
    ASSERT_TRUE(frame->isOpen());
    HWND window = frameWindow(*frame);

    DestroyWindow(host);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);

    // Everything the editor may still do before it closes does nothing, safely.
    view->setDirty(true);
    frame->idle();
    CDrawContext* context = frame->createDrawContext();
    context->drawString("gone", kEditorSize);
    context->forget();
    EXPECT_TRUE(windowClassRegistered()) << "the frame still counts its window";
    frame->forget();
    EXPECT_FALSE(windowClassRegistered());
}

} // namespace
} // namespace quillory::test
