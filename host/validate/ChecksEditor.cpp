// The editor: opened and closed many times in a window the host made, idle calls with
// nothing to do, opened while audio runs on another thread, opened twice without a close,
// and closed without an open. Skipped for plug-ins without the editor flag.
//
// A plug-in that sets the editor flag but whose effEditOpen answers 0 and shows nothing
// fails: hosts offer its editor to the user, who gets an empty window or an error. One that
// answers 0 but did put a window up passes with a warning, since hosts that trust the answer
// close it again.

#include "host/validate/Check.h"
#include "host/validate/HostWindow.h"
#include "host/validate/PluginUnderTest.h"
#include "shell/Opcodes.h"

#include <atomic>
#include <thread>

namespace quillory::validate {
namespace {

constexpr int kLargestEditor = 8192;
constexpr int kDefaultWidth = 400;
constexpr int kDefaultHeight = 300;

struct EditorSize {
    int width = 0;
    int height = 0;
    bool given = false;
};

EditorSize editorSize(host::HostedPlugin& plugin) {
    ERect* rect = nullptr;
    plugin.dispatch(effEditGetRect, 0, 0, &rect);
    if (rect == nullptr) {
        return {};
    }
    return {rect->right - rect->left, rect->bottom - rect->top, true};
}

void requireEditorFlag(host::HostedPlugin& plugin) {
    if ((plugin.effect()->flags & effFlagsHasEditor) == 0) {
        skipCheck("the plug-in has no editor (effFlagsHasEditor clear)");
    }
}

// The plug-in, its size and the host's window, ready for effEditOpen.
struct EditorSession {
    std::unique_ptr<host::HostedPlugin> plugin;
    std::unique_ptr<HostWindow> window;
    std::string warning;

    explicit EditorSession(const CheckContext& context) : plugin(createPlugin(context)) {
        requireEditorFlag(*plugin);
        startPlugin(*plugin, 44100.0f, 512);
        EditorSize size = editorSize(*plugin);
        if (size.given) {
            require(size.width > 0 && size.height > 0 && size.width <= kLargestEditor &&
                        size.height <= kLargestEditor,
                    "effEditGetRect gives an editor of " + std::to_string(size.width) + " × " +
                        std::to_string(size.height) + " pixels");
        } else {
            warning = "effEditGetRect gives no size before effEditOpen; hosts must guess";
            size = {kDefaultWidth, kDefaultHeight, false};
        }
        window = HostWindow::create(size.width, size.height);
    }

    // Opens the editor and judges the answer (see the top of this file).
    void open() {
        const intptr_t answer =
            plugin->dispatch(effEditOpen, 0, window->displayValue(), window->handle());
        const int children = window->childCount(true);
        require(answer != 0 || children > 0,
                "sets effFlagsHasEditor, but effEditOpen answered 0 and put no window into the "
                "host's window");
        if (answer == 0 && warning.empty()) {
            warning = "effEditOpen answered 0 although it opened a window; hosts that trust "
                      "the answer close it again";
        }
    }

    void idle(int times) {
        for (int i = 0; i < times; ++i) {
            plugin->dispatch(effEditIdle);
            window->pump();
        }
    }

    void close() {
        plugin->dispatch(effEditClose);
        require(window->childCount(false) == 0,
                "left its window inside the host's window after effEditClose");
    }
};

CheckResult openClose(const CheckContext& context) {
    EditorSession session(context);
    const int times = scaledCount(context.level, 2, 30);
    for (int i = 0; i < times; ++i) {
        session.open();
        const EditorSize size = editorSize(*session.plugin);
        require(size.given && size.width > 0 && size.height > 0,
                "effEditGetRect gives no sensible size while the editor is open");
        session.idle(3);
        session.close();
    }
    return passed(session.warning);
}

CheckResult idleCalls(const CheckContext& context) {
    EditorSession session(context);
    session.open();
    session.idle(scaledCount(context.level, 50, 1000));
    session.close();
    // Idle calls with the editor closed are as harmless as with it open.
    session.idle(10);
    return passed(session.warning);
}

CheckResult closeWithoutOpen(const CheckContext& context) {
    EditorSession session(context);
    session.plugin->dispatch(effEditClose);
    session.plugin->dispatch(effEditClose);
    session.open();
    session.close();
    return passed(session.warning);
}

CheckResult openTwice(const CheckContext& context) {
    EditorSession session(context);
    session.open();
    // The second open must not crash; what it shows is the plug-in's business.
    session.plugin->dispatch(effEditOpen, 0, session.window->displayValue(),
                             session.window->handle());
    session.idle(5);
    session.close();
    session.plugin->dispatch(effEditClose);
    return passed(session.warning);
}

CheckResult openWhileProcessing(const CheckContext& context) {
    EditorSession session(context);
    AEffect* effect = session.plugin->effect();
    std::atomic<bool> running{true};
    std::string problem;
    std::thread audio([&] {
        const Channels input = testSignal(effect->numInputs, 256, context.seed);
        try {
            while (running.load()) {
                requireCleanOutput(processAudio(*session.plugin, input, {256, false}),
                                   "while the editor opens and closes");
            }
        } catch (const CheckFailure& failure) {
            problem = failure.what();
        }
    });
    try {
        const int times = scaledCount(context.level, 3, 30);
        for (int i = 0; i < times; ++i) {
            session.open();
            session.idle(5);
            session.close();
        }
    } catch (...) {
        running = false;
        audio.join();
        throw;
    }
    running = false;
    audio.join();
    require(problem.empty(), problem);
    return passed(session.warning);
}

} // namespace

void addEditorChecks(std::vector<Check>& checks) {
    checks.insert(checks.end(),
                  {{"editor.open-close", "editor", 1, 60, openClose,
                    "opened in a host-made window of its size and closed 2 to 30 times; a 0 "
                    "answer with no window fails"},
                   {"editor.idle", "editor", 2, 60, idleCalls,
                    "50 to 1000 idle calls with nothing to do, open and closed"},
                   {"editor.close-without-open", "editor", 2, 30, closeWithoutOpen,
                    "effEditClose before any effEditOpen, twice"},
                   {"editor.open-twice", "editor", 3, 30, openTwice,
                    "effEditOpen twice without a close, then two closes"},
                   {"editor.open-while-processing", "editor", 4, 60, openWhileProcessing,
                    "opened, idled and closed while another thread processes audio"}});
}

} // namespace quillory::validate
