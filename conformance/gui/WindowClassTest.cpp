// The frame's window and its class: shared by the editors of several plug-in instances,
// unregistered with the last, and no window at all where the host gives no live parent.

#include "Win32TestSupport.h"

#include "gui/CDrawContext.h"
#include "gui/platform/win32/WindowClass.h"
#include "shell/AEffect.h"
#include "shell/Opcodes.h"

#include <cstdio>

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

// The plug-in's requests answered as by a host that only tells its version.
intptr_t QUILLORY_CALLBACK versionOnlyHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*,
                                           float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

intptr_t dispatch(AEffect* effect, int32_t opcode, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
}

// The same through the DLL as a host loads it: two effects of one module, each editor in a
// host window of its own.
TEST_F(WindowClass, EditorsOfTwoInstancesOfThePlugInShareItsClassUntilBothClose) {
    HMODULE plugin = LoadLibraryA(QUILLORY_PLUGIN_PATH);
    ASSERT_NE(plugin, nullptr);
    using EntryPoint = AEffect*(QUILLORY_CALLBACK*)(audioMasterCallback);
    // Through a data pointer: the export's own type is not the one GetProcAddress declares.
    const auto entry = reinterpret_cast<EntryPoint>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "VSTPluginMain")));
    ASSERT_NE(entry, nullptr);
    char className[32];
    std::snprintf(className, sizeof className, "Plugin%p", static_cast<void*>(plugin));
    const auto registered = [&] {
        WNDCLASSA info{};
        return GetClassInfoA(plugin, className, &info) != 0;
    };

    AEffect* effects[] = {entry(versionOnlyHost), entry(versionOnlyHost)};
    HWND hosts[] = {makeHiddenHostWindow(242, 410), makeHiddenHostWindow(242, 410)};
    HWND editors[2] = {};
    for (int index = 0; index < 2; ++index) {
        ASSERT_NE(effects[index], nullptr);
        dispatch(effects[index], effOpen);
        ASSERT_EQ(dispatch(effects[index], effEditOpen, hosts[index]), 1);
        editors[index] = GetWindow(hosts[index], GW_CHILD);
        char name[64] = {};
        GetClassNameA(editors[index], name, sizeof name);
        EXPECT_STREQ(name, className);
    }
    EXPECT_EQ(GetClassLongPtrA(editors[0], GCW_ATOM), GetClassLongPtrA(editors[1], GCW_ATOM));

    dispatch(effects[0], effEditClose);
    EXPECT_FALSE(IsWindow(editors[0]));
    EXPECT_TRUE(IsWindow(editors[1]));
    EXPECT_TRUE(registered()) << "the second editor still uses the class";
    dispatch(effects[1], effEditClose);
    EXPECT_FALSE(registered());

    for (int index = 0; index < 2; ++index) {
        dispatch(effects[index], effClose);
        DestroyWindow(hosts[index]);
    }
    pumpMessages();
    FreeLibrary(plugin);
}

} // namespace
} // namespace quillory::test
