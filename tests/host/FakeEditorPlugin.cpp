// A plug-in with an X11 editor that the editor command is tested against: a 120 × 80 window
// that shows plain green at first and draws its picture (left half red, right half blue)
// only from its fourth idle on, and that reports a parameter change to its host at its
// sixth idle, as a user's edit would.

#include "shell/AEffect.h"
#include "shell/Opcodes.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace quillory;

constexpr int kWidth = 120;
constexpr int kHeight = 80;

struct FakeEditorEffect {
    AEffect record{};
    audioMasterCallback host = nullptr;
    float values[2] = {0.5f, 0.5f};
    ERect rect{0, 0, kHeight, kWidth};
    Display* display = nullptr;
    Window window = 0;
    int idles = 0;
};

FakeEditorEffect* fakeOf(AEffect* effect) {
    return static_cast<FakeEditorEffect*>(effect->object);
}

void drawPicture(FakeEditorEffect& fake) {
    GC context = XCreateGC(fake.display, fake.window, 0, nullptr);
    XSetForeground(fake.display, context, 0xFF0000);
    XFillRectangle(fake.display, fake.window, context, 0, 0, kWidth / 2, kHeight);
    XSetForeground(fake.display, context, 0x0000FF);
    XFillRectangle(fake.display, fake.window, context, kWidth / 2, 0, kWidth / 2, kHeight);
    XFreeGC(fake.display, context);
    XFlush(fake.display);
}

intptr_t openEditor(FakeEditorEffect& fake, void* parent) {
    fake.display = XOpenDisplay(nullptr);
    if (fake.display == nullptr) {
        return 0;
    }
    const auto parentWindow = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
    fake.window =
        XCreateSimpleWindow(fake.display, parentWindow, 0, 0, kWidth, kHeight, 0, 0, 0x00FF00);
    XMapWindow(fake.display, fake.window);
    XFlush(fake.display);
    fake.idles = 0;
    return 1;
}

void idleEditor(AEffect* effect, FakeEditorEffect& fake) {
    if (fake.display == nullptr) {
        return;
    }
    ++fake.idles;
    if (fake.idles >= 4) {
        drawPicture(fake);
    }
    if (fake.idles == 6) {
        fake.values[1] = 0.25f;
        fake.host(effect, audioMasterAutomate, 1, 0, nullptr, 0.25f);
    }
}

void closeEditor(FakeEditorEffect& fake) {
    if (fake.display != nullptr) {
        XDestroyWindow(fake.display, fake.window);
        XCloseDisplay(fake.display);
        fake.display = nullptr;
    }
}

intptr_t dispatcher(AEffect* effect, int32_t opcode, int32_t index, intptr_t, void* ptr, float) {
    FakeEditorEffect& fake = *fakeOf(effect);
    switch (opcode) {
    case effGetEffectName:
        std::strcpy(static_cast<char*>(ptr), "Fake editor");
        return 1;
    case effGetParamName:
        std::snprintf(static_cast<char*>(ptr), 9, "Level %d", static_cast<int>(index));
        return 0;
    case effGetParamDisplay:
        std::snprintf(static_cast<char*>(ptr), 9, "%.2f dB",
                      static_cast<double>(fake.values[index & 1] * 10.0f));
        return 0;
    case effEditGetRect:
        *static_cast<ERect**>(ptr) = &fake.rect;
        return 1;
    case effEditOpen:
        return openEditor(fake, ptr);
    case effEditIdle:
        idleEditor(effect, fake);
        return 1;
    case effEditClose:
        closeEditor(fake);
        return 1;
    case effClose:
        closeEditor(fake);
        delete &fake;
        return 1;
    default:
        return 0;
    }
}

void setParameter(AEffect* effect, int32_t index, float value) {
    fakeOf(effect)->values[index & 1] = value;
}

float getParameter(AEffect* effect, int32_t index) {
    return fakeOf(effect)->values[index & 1];
}

void processReplacing(AEffect*, float**, float** outputs, int32_t frames) {
    for (int32_t i = 0; i < frames; ++i) {
        outputs[0][i] = 0.0f;
        outputs[1][i] = 0.0f;
    }
}

} // namespace

FAKE_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
    auto* fake = new FakeEditorEffect;
    fake->host = host;
    AEffect& record = fake->record;
    record.magic = kEffectMagic;
    record.dispatcher = dispatcher;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.processReplacing = processReplacing;
    record.numParams = 2;
    record.numInputs = 2;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing | effFlagsHasEditor;
    record.object = fake;
    record.uniqueID = fourCharCode('F', 'k', 'E', 'd');
    return &record;
}
