#include "host/EditorCommand.h"

#include "host/CommandLine.h"
#include "host/EditorWindow.h"
#include "host/LoadPlugin.h"
#include "host/PluginSettings.h"
#include "host/SilenceThread.h"
#include "host/lib/PluginSession.h"
#include "shell/Opcodes.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

namespace quillory::host {
namespace {

// Hosts idle their editors between 20 and 60 times a second; this one about 30 times.
constexpr auto kIdleInterval = std::chrono::milliseconds(33);
// A picture unchanged over this many idles (a sixth of a second) is taken as drawn.
constexpr int kSettledIdles = 5;
// An editor that keeps moving is taken as drawn after this many idles (three seconds), and
// one that shows nothing after this many (ten seconds) has failed.
constexpr int kMovingEditorIdles = 90;
constexpr int kBlankEditorIdles = 300;
// The window's size for an editor that tells its size only once it is open.
constexpr std::pair<int, int> kProvisionalSize{400, 300};
constexpr float kSampleRate = 44100.0f;
constexpr int32_t kBlockSize = 512;

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
    interrupted = 1;
}

// Ctrl-C and termination end the editor loop instead of the program, so that the plug-in is
// closed properly.
class InterruptHandlers {
public:
    InterruptHandlers() {
        interrupted = 0;
        previousInterrupt = std::signal(SIGINT, onInterrupt);
        previousTerminate = std::signal(SIGTERM, onInterrupt);
    }
    ~InterruptHandlers() {
        std::signal(SIGINT, previousInterrupt);
        std::signal(SIGTERM, previousTerminate);
    }
    InterruptHandlers(const InterruptHandlers&) = delete;
    InterruptHandlers& operator=(const InterruptHandlers&) = delete;

private:
    void (*previousInterrupt)(int) = SIG_DFL;
    void (*previousTerminate)(int) = SIG_DFL;
};

// What the plug-in asks of the host while its editor runs, kept for the editor loop: its
// automation (printed there, where the plug-in can be asked for names and texts without
// being re-entered from its own callback) and a new window size.
class EditorRequests {
public:
    struct Automation {
        int32_t index;
        float value;
    };

    intptr_t answer(const HostedPlugin& plugin, const HostCall& call) {
        std::lock_guard<std::mutex> lock(mutex);
        if (call.opcode == audioMasterAutomate) {
            automations.push_back({call.index, call.opt});
        } else if (call.opcode == audioMasterSizeWindow) {
            size = {static_cast<int>(call.index), static_cast<int>(call.value)};
            return 1;
        }
        return plugin.standardAnswer(call);
    }
    std::vector<Automation> takeAutomations() {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(automations, {});
    }
    std::pair<int, int> takeSize() {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(size, {0, 0});
    }

private:
    std::mutex mutex;
    std::vector<Automation> automations;
    std::pair<int, int> size{0, 0};
};

// Sends effEditClose when the editor loop ends, however it ends.
class OpenEditor {
public:
    explicit OpenEditor(HostedPlugin& hosted) : plugin(hosted) {}
    ~OpenEditor() { plugin.dispatch(effEditClose); }
    OpenEditor(const OpenEditor&) = delete;
    OpenEditor& operator=(const OpenEditor&) = delete;

private:
    HostedPlugin& plugin;
};

void printAutomation(HostedPlugin& plugin, const EditorRequests::Automation& automation) {
    const std::string name = plugin.dispatchText(effGetParamName, automation.index);
    const std::string display = plugin.dispatchText(effGetParamDisplay, automation.index);
    std::printf("%d \"%s\" %.4f \"%s\"\n", automation.index, name.c_str(),
                static_cast<double>(automation.value), display.c_str());
    std::fflush(stdout);
}

// The editor's size as the plug-in reports it; {0, 0} when it gives none (some know it only
// once their editor is open).
std::pair<int, int> editorSize(HostedPlugin& plugin) {
    ERect* rect = nullptr;
    plugin.dispatch(effEditGetRect, 0, 0, &rect);
    if (rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top) {
        return {0, 0};
    }
    return {rect->right - rect->left, rect->bottom - rect->top};
}

} // namespace

bool DrawnEditorWatch::settled(const RgbImage& picture, int idles) {
    if (picture.isEmpty() || picture.isUniform()) {
        unchangedFor = 0;
        previous = picture;
        return false;
    }
    const bool same = picture.width == previous.width && picture.height == previous.height &&
                      picture.rgb == previous.rgb;
    unchangedFor = same ? unchangedFor + 1 : 0;
    previous = picture;
    return unchangedFor >= kSettledIdles || idles >= kMovingEditorIdles;
}

int runEditor(const std::vector<std::string>& arguments) {
    const EditorOptions options = parseEditor(arguments, defaultPluginPath());
    const auto plugin = loadEffect(options.pluginPath);
    if ((plugin->effect()->flags & effFlagsHasEditor) == 0) {
        throw std::runtime_error("plug-in " + options.pluginPath + " has no editor");
    }
    SessionSettings settings;
    settings.sampleRate = kSampleRate;
    settings.blockSize = kBlockSize;
    if (options.program) {
        settings.program = resolveProgram(*plugin, *options.program);
    }
    settings.parameters = resolveParameters(*plugin, options.parameters);
    EditorWindow window; // fails here, before the plug-in is started, without a display

    EditorRequests requests;
    plugin->setResponder([&](const HostCall& call) { return requests.answer(*plugin, call); });
    PluginSession session(*plugin, settings);
    SilenceThread audio(session, settings.sampleRate, settings.blockSize);
    const std::pair<int, int> sizeBefore = editorSize(*plugin);
    const auto [width, height] = sizeBefore.first > 0 ? sizeBefore : kProvisionalSize;
    window.show(width, height, "quillory editor: " + plugin->dispatchText(effGetEffectName));

    InterruptHandlers handlers;
    // The editor becomes a child of the window; the Display* goes along for plug-ins that
    // use the host's connection.
    if (plugin->dispatch(effEditOpen, 0, reinterpret_cast<intptr_t>(window.display()),
                         window.windowId()) == 0) {
        throw std::runtime_error("the editor of " + options.pluginPath + " did not open");
    }
    OpenEditor editor(*plugin);
    if (const std::pair<int, int> size = editorSize(*plugin); size != sizeBefore) {
        if (size.first == 0) {
            throw std::runtime_error("plug-in " + options.pluginPath +
                                     " gives no size for its editor");
        }
        window.resize(size.first, size.second);
    }
    DrawnEditorWatch watch;
    auto next = std::chrono::steady_clock::now();
    for (int idles = 1; interrupted == 0 && window.processEvents(); ++idles) {
        plugin->dispatch(effEditIdle);
        for (const auto& automation : requests.takeAutomations()) {
            printAutomation(*plugin, automation);
        }
        if (const auto [newWidth, newHeight] = requests.takeSize(); newWidth > 0) {
            window.resize(newWidth, newHeight);
        }
        plugin->clearCalls(); // the host's own log would grow for as long as the editor runs
        if (options.screenshot) {
            const RgbImage picture = window.capture();
            if (watch.settled(picture, idles)) {
                writePng(*options.screenshot, picture);
                std::printf("wrote %s (%d x %d)\n", options.screenshot->c_str(), picture.width,
                            picture.height);
                return 0;
            }
            if (idles >= kBlankEditorIdles) {
                throw std::runtime_error("the editor of " + options.pluginPath +
                                         " drew nothing within ten seconds");
            }
        }
        next += kIdleInterval;
        std::this_thread::sleep_until(next);
    }
    return 0;
}

} // namespace quillory::host
