// A small working effect (stereo gain with a smoothing filter, two parameters, three
// programs, a minimal editor) and, built with QUILLORY_FAULT_<NAME> defined, one planted
// fault, so that each family of the validator can be seen to catch what it is for:
//
//   CRASH_SECOND_INSTANCE  open      the second instance in a process crashes
//   LONG_NAME              dispatch  the effect name runs past 32 characters
//   NAN_PARAMETER          params    takes NaN from the host and plays it
//   RENAME_OVERFLOW        programs  a long program name is copied back whole
//   WRITES_INPUT           process   writes into its input buffers
//   READS_OUTSIDE_BLOCK    process   reads one frame past the end of its input block
//   SKIPS_SHORT_BLOCKS     process   leaves its outputs alone in blocks of one frame
//   ALLOCATES_AND_LOCKS    realtime  allocates and takes a lock in processReplacing
//   DENORMALS              realtime  a feedback path that decays into denormals
//   HANGS                  watchdog  never returns from its third block
//   LEAKS                  memory    every instance leaves memory behind
//   EDITOR_NO_WINDOW       editor    has the editor flag; effEditOpen answers 0, shows nothing
//   EDITOR_DOUBLE_OPEN     editor    a second open without a close crashes
//
// Without any of them (the "good" fixture) it passes every check at level 10.

#include "shell/AEffect.h"
#include "shell/Opcodes.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#define FIXTURE_EXPORT extern "C" __declspec(dllexport)
#else
#include <X11/Xlib.h>
#define FIXTURE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

using namespace quillory;

constexpr int kPrograms = 3;
constexpr int kParameters = 2;
constexpr short kEditorWidth = 200;
constexpr short kEditorHeight = 100;

// Values and the current program are atomic: hosts set them on one thread while audio
// runs on another.
struct Program {
    char name[64];
    std::atomic<float> values[kParameters];
};

// The editor: one plain child window inside the host's.
class Editor {
public:
    bool open(void* parent) {
#if defined(QUILLORY_FAULT_EDITOR_NO_WINDOW)
        (void)parent;
        return false;
#else
#if defined(QUILLORY_FAULT_EDITOR_DOUBLE_OPEN)
        if (isOpen()) {
            std::abort(); // as a plug-in that frees its view twice would
        }
#endif
        if (isOpen()) {
            close();
        }
#if defined(_WIN32)
        window =
            CreateWindowExA(0, "STATIC", "fixture", WS_CHILD | WS_VISIBLE, 0, 0, kEditorWidth,
                            kEditorHeight, static_cast<HWND>(parent), nullptr, nullptr, nullptr);
        return window != nullptr;
#else
        display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            return false;
        }
        window =
            XCreateSimpleWindow(display, static_cast<Window>(reinterpret_cast<uintptr_t>(parent)),
                                0, 0, kEditorWidth, kEditorHeight, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
        return true;
#endif
#endif
    }

    void idle() {
#if !defined(_WIN32)
        while (display != nullptr && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
#endif
    }

    void close() {
#if defined(_WIN32)
        if (window != nullptr) {
            DestroyWindow(window);
            window = nullptr;
        }
#else
        if (display != nullptr) {
            XDestroyWindow(display, window);
            XSync(display, False);
            XCloseDisplay(display);
            display = nullptr;
        }
#endif
    }

    bool isOpen() const {
#if defined(_WIN32)
        return window != nullptr;
#else
        return display != nullptr;
#endif
    }

private:
#if defined(_WIN32)
    HWND window = nullptr;
#else
    Display* display = nullptr;
    Window window = 0;
#endif
};

struct Fixture {
    AEffect record{};
    Program programs[kPrograms] = {
        {"Unity", {0.5f, 0.0f}}, {"Quiet", {0.1f, 0.2f}}, {"Loud", {0.9f, 0.5f}}};
    std::atomic<int> current{0};
    // The most frames the host said it will pass (effSetBlockSize); none said yet is no limit.
    std::atomic<int32_t> blockSize{INT32_MAX};
    float smoothed[2] = {};
    Editor editor;
    ERect rect{0, 0, kEditorHeight, kEditorWidth};
#if defined(QUILLORY_FAULT_HANGS)
    int blocks = 0;
#endif
#if defined(QUILLORY_FAULT_LEAKS)
    Fixture() {
        leaked = std::malloc(1000);
    }
    void* leaked;
#endif
};

Fixture* fixtureOf(AEffect* effect) {
    return static_cast<Fixture*>(effect->object);
}

std::atomic<float>* valuesOf(AEffect* effect) {
    Fixture* fixture = fixtureOf(effect);
    return fixture->programs[fixture->current].values;
}

// At most `limit` characters and a terminator.
void copyText(void* destination, const char* text, size_t limit) {
    auto* out = static_cast<char*>(destination);
    size_t length = 0;
    for (; length < limit && text[length] != '\0'; ++length) {
        out[length] = text[length];
    }
    out[length] = '\0';
}

intptr_t dispatcher(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                    float) {
    Fixture* fixture = fixtureOf(effect);
    static const char* const kNames[kParameters] = {"Gain", "Smooth"};
    switch (opcode) {
    case effClose:
        fixture->editor.close();
        delete fixture;
        return 1;
    case effSetProgram:
        if (value >= 0 && value < kPrograms) {
            fixture->current = static_cast<int>(value);
        }
        return 0;
    case effGetProgram:
        return fixture->current;
    case effSetBlockSize:
        fixture->blockSize = static_cast<int32_t>(value);
        return 0;
    case effSetProgramName:
#if defined(QUILLORY_FAULT_RENAME_OVERFLOW)
        std::strncpy(fixture->programs[fixture->current].name, static_cast<char*>(ptr), 63);
#else
        copyText(fixture->programs[fixture->current].name, static_cast<char*>(ptr), 24);
#endif
        return 0;
    case effGetProgramName:
#if defined(QUILLORY_FAULT_RENAME_OVERFLOW)
        std::strcpy(static_cast<char*>(ptr), fixture->programs[fixture->current].name);
#else
        copyText(ptr, fixture->programs[fixture->current].name, 24);
#endif
        return 0;
    case effGetProgramNameIndexed:
        if (index < 0 || index >= kPrograms) {
            return 0;
        }
        copyText(ptr, fixture->programs[index].name, 24);
        return 1;
    case effGetParamName:
        copyText(ptr, index >= 0 && index < kParameters ? kNames[index] : "", 8);
        return 0;
    case effGetParamLabel:
        copyText(ptr, index == 0 ? "x" : "", 8);
        return 0;
    case effGetParamDisplay:
        if (index >= 0 && index < kParameters) {
            const int percent = static_cast<int>(valuesOf(effect)[index].load() * 100.0f);
            char text[16];
            std::snprintf(text, sizeof text, "%d%%", percent);
            copyText(ptr, text, 8);
        }
        return 0;
    case effGetEffectName:
#if defined(QUILLORY_FAULT_LONG_NAME)
        std::strcpy(static_cast<char*>(ptr), "Fixture with a name far too long to fit");
#else
        copyText(ptr, "Fixture", 32);
#endif
        return 1;
    case effGetVendorString:
        copyText(ptr, "Quillory tests", 64);
        return 1;
    case effGetProductString:
        copyText(ptr, "Validator fixture", 64);
        return 1;
    case effGetVstVersion:
        return 2400;
    case effCanDo:
        return -1;
    case effGetTailSize:
        return 1;
    case effEditGetRect:
        *static_cast<ERect**>(ptr) = &fixture->rect;
        return 1;
    case effEditOpen:
        return fixture->editor.open(ptr) ? 1 : 0;
    case effEditClose:
        fixture->editor.close();
        return 0;
    case effEditIdle:
        fixture->editor.idle();
        return 0;
    default:
        return 0;
    }
}

void setParameter(AEffect* effect, int32_t index, float value) {
    if (index < 0 || index >= kParameters) {
        return;
    }
#if !defined(QUILLORY_FAULT_NAN_PARAMETER)
    value = std::isfinite(value) ? std::fmin(std::fmax(value, 0.0f), 1.0f) : 0.0f;
#endif
    valuesOf(effect)[index] = value;
}

float getParameter(AEffect* effect, int32_t index) {
    return index >= 0 && index < kParameters ? valuesOf(effect)[index].load() : 0.0f;
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    Fixture* fixture = fixtureOf(effect);
    if (frames > fixture->blockSize) {
        // Buffers sized for the promised block would be overrun: a host fault, made loud.
        std::abort();
    }
#if defined(QUILLORY_FAULT_HANGS)
    if (++fixture->blocks == 3) {
        for (volatile bool forever = true; forever;) {
        }
    }
#endif
#if defined(QUILLORY_FAULT_ALLOCATES_AND_LOCKS)
    static std::mutex guard;
    const std::lock_guard<std::mutex> lock(guard);
    std::vector<float> scratch(static_cast<size_t>(frames));
#endif
    const float gain = 2.0f * valuesOf(effect)[0];
#if defined(QUILLORY_FAULT_DENORMALS)
    // Feedback that keeps decaying, unprotected: it passes through the denormal range.
    const float keep = 0.999f;
#else
    const float keep = 0.5f * valuesOf(effect)[1];
#endif
#if defined(QUILLORY_FAULT_SKIPS_SHORT_BLOCKS)
    if (frames < 2) {
        return; // as a plug-in that needs two frames to work with
    }
#endif
    for (int c = 0; c < 2; ++c) {
        float state = fixture->smoothed[c];
        for (int32_t i = 0; i < frames; ++i) {
#if defined(QUILLORY_FAULT_READS_OUTSIDE_BLOCK)
            // Each frame averaged with the next: at the end, one frame past the block.
            const float in = 0.5f * (inputs[c][i] + inputs[c][i + 1]);
#else
            const float in = inputs[c][i];
#endif
            state = (1.0f - keep) * gain * in + keep * state;
#if !defined(QUILLORY_FAULT_DENORMALS)
            // A state this small is silence; keeping it would decay into denormals.
            if (std::fabs(state) < 1e-15f) {
                state = 0.0f;
            }
#endif
            outputs[c][i] = state;
#if defined(QUILLORY_FAULT_WRITES_INPUT)
            if (inputs[c] != outputs[c]) {
                inputs[c][i] = 0.0f;
            }
#endif
        }
        fixture->smoothed[c] = state;
    }
}

#if defined(QUILLORY_FAULT_CRASH_SECOND_INSTANCE)
int instancesMade = 0;
#endif

AEffect* create(audioMasterCallback host) {
    if (host == nullptr || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
#if defined(QUILLORY_FAULT_CRASH_SECOND_INSTANCE)
    if (++instancesMade == 2) {
        // A write to the unmapped first page, through a pointer the compiler cannot see
        // through: a real access fault, and not one the sanitizers call undefined first.
        volatile int* volatile nowhere = reinterpret_cast<int*>(16);
        *nowhere = 1;
    }
#endif
    auto* fixture = new Fixture;
    AEffect& record = fixture->record;
    record.magic = kEffectMagic;
    record.dispatcher = dispatcher;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.processReplacing = processReplacing;
    record.numPrograms = kPrograms;
    record.numParams = kParameters;
    record.numInputs = 2;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing | effFlagsHasEditor;
    record.ioRatio = 1.0f;
    record.object = fixture;
    record.uniqueID = fourCharCode('Q', 'f', 'i', 'x');
    record.version = 1;
    return &record;
}

} // namespace

FIXTURE_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
    return create(host);
}

#if !defined(_WIN32)
// Older hosts look for `main`.
FIXTURE_EXPORT AEffect* main_entry(audioMasterCallback host) __asm__("main");
AEffect* main_entry(audioMasterCallback host) {
    return create(host);
}
#endif
