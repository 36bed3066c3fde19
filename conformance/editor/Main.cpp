// quillory_editor_host: opens a plug-in's editor the way a Windows host does, for a test that
// drives it with the real mouse from outside (under Wine, on a virtual X display).
//
//   quillory_editor_host [PLUGIN.dll] FOLDER
//
// The plug-in is started in host order, its editor opened in a top-level window of the size
// effEditGetRect gives and idled about 30 times a second. The program talks to the test
// through files in FOLDER, each written whole under a temporary name and then renamed:
//   window.txt            "origin X Y size WIDTH HEIGHT": the editor's place on the screen,
//                         written once it has drawn; with it opened.bmp and opened-values.txt
//   menu.txt              the items of an open popup menu and where they lie (while one is)
//   stop                  made by the test: the program then writes final.bmp,
//                         final-values.txt and edits.txt, closes the editor and exits
// The values files hold "INDEX VALUE DISPLAY" per parameter; edits.txt the plug-in's
// begin-edit, automation and end-edit requests in order, as "begin 2", "automate 2 1",
// "end 2".

#include "conformance/editor/EditorHostWindow.h"
#include "conformance/editor/OpenMenuReport.h"
#include "conformance/editor/WindowCapture.h"
#include "host/lib/HostedPlugin.h"
#include "host/lib/PluginSession.h"
#include "shell/Opcodes.h"

#include <cstdio>
#include <exception>
#include <string>

namespace quillory::conformance {
namespace {

using host::HostCall;
using host::HostedPlugin;

// Ticks (of about 33 ms) before the editor is taken as drawn, and before the program gives up
// waiting for the test.
constexpr int kDrawnTicks = 15;
constexpr int kLastTick = 30 * 120;
// Where the editor window goes on the screen; well inside a 1024 x 768 display.
constexpr int kWindowLeft = 100;
constexpr int kWindowTop = 80;

bool writeWhole(const std::string& path, const std::string& text) {
    const std::string partial = path + ".part";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written &&
           MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::string parameterValues(HostedPlugin& plugin) {
    std::string lines;
    AEffect* effect = plugin.effect();
    for (int32_t index = 0; index < effect->numParams; ++index) {
        char line[128];
        std::snprintf(line, sizeof line, "%d %.9g %s\n", index,
                      static_cast<double>(effect->getParameter(effect, index)),
                      plugin.dispatchText(effGetParamDisplay, index).c_str());
        lines += line;
    }
    return lines;
}

std::string editTrail(const HostedPlugin& plugin) {
    std::string lines;
    for (const HostCall& call : plugin.calls()) {
        char line[64];
        if (call.opcode == audioMasterBeginEdit) {
            std::snprintf(line, sizeof line, "begin %d\n", call.index);
        } else if (call.opcode == audioMasterEndEdit) {
            std::snprintf(line, sizeof line, "end %d\n", call.index);
        } else if (call.opcode == audioMasterAutomate) {
            std::snprintf(line, sizeof line, "automate %d %.9g\n", call.index,
                          static_cast<double>(call.opt));
        } else {
            continue;
        }
        lines += line;
    }
    return lines;
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The editor's pictures and values at one moment, under `name`.bmp and `name`-values.txt.
bool writeSnapshot(HostedPlugin& plugin, HWND window, const std::string& folder, const char* name) {
    const std::string base = folder + "/" + name;
    return writeClientAreaBmp(window, (base + ".bmp").c_str()) &&
           writeWhole(base + "-values.txt", parameterValues(plugin));
}

class EditorSession {
public:
    EditorSession(HostedPlugin& hosted, std::string outputFolder)
        : plugin(hosted), folder(std::move(outputFolder)) {}

    // Runs until the test asks to stop; false when something failed on the way.
    bool run(EditorHostWindow& window) {
        host = window.handle();
        window.run([this] { return tick(); });
        return succeeded;
    }

private:
    bool tick() {
        plugin.dispatch(effEditIdle);
        ++ticks;
        if (ticks == kDrawnTicks) {
            return announceDrawn();
        }
        reportMenu();
        if (ticks > kDrawnTicks && fileExists(folder + "/stop")) {
            succeeded = writeSnapshot(plugin, host, folder, "final") &&
                        writeWhole(folder + "/edits.txt", editTrail(plugin));
            return false;
        }
        if (ticks >= kLastTick) {
            std::fprintf(stderr, "quillory_editor_host: no stop request within two minutes\n");
            succeeded = false;
            return false;
        }
        return true;
    }

    bool announceDrawn() {
        POINT origin{0, 0};
        ClientToScreen(host, &origin);
        RECT client{};
        GetClientRect(host, &client);
        char line[96];
        std::snprintf(line, sizeof line, "origin %ld %ld size %ld %ld\n", origin.x, origin.y,
                      client.right, client.bottom);
        plugin.clearCalls(); // the edits reported are the test's own
        succeeded = writeSnapshot(plugin, host, folder, "opened") &&
                    writeWhole(folder + "/window.txt", line);
        std::printf("editor drawn: %s", line);
        std::fflush(stdout);
        return succeeded;
    }

    void reportMenu() {
        const std::string menu = describeOpenMenu();
        if (menu == reportedMenu) {
            return;
        }
        reportedMenu = menu;
        if (menu.empty()) {
            DeleteFileA((folder + "/menu.txt").c_str());
        } else {
            writeWhole(folder + "/menu.txt", menu);
        }
    }

    HostedPlugin& plugin;
    std::string folder;
    HWND host = nullptr;
    int ticks = 0;
    bool succeeded = true;
    std::string reportedMenu;
};

int hostEditor(const std::string& pluginPath, const std::string& folder) {
    HostedPlugin plugin(pluginPath);
    if (plugin.open() == nullptr || (plugin.effect()->flags & effFlagsHasEditor) == 0) {
        std::fprintf(stderr, "quillory_editor_host: %s has no editor\n", pluginPath.c_str());
        return 1;
    }
    host::PluginSession session(plugin, host::SessionSettings{});
    ERect* size = nullptr;
    plugin.dispatch(effEditGetRect, 0, 0, &size);
    if (size == nullptr || size->right <= size->left || size->bottom <= size->top) {
        std::fprintf(stderr, "quillory_editor_host: the editor gives no size\n");
        return 1;
    }
    EditorHostWindow window(size->right - size->left, size->bottom - size->top, kWindowLeft,
                            kWindowTop);
    if (window.handle() == nullptr || plugin.dispatch(effEditOpen, 0, 0, window.handle()) != 1) {
        std::fprintf(stderr, "quillory_editor_host: the editor did not open\n");
        return 1;
    }
    EditorSession editor(plugin, folder);
    const bool succeeded = editor.run(window);
    plugin.dispatch(effEditClose);
    session.finish();
    return succeeded ? 0 : 1;
}

} // namespace
} // namespace quillory::conformance

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: quillory_editor_host [PLUGIN.dll] FOLDER\n");
        return 2;
    }
    try {
        return quillory::conformance::hostEditor(argc == 3 ? argv[1] : QUILLORY_PLUGIN_PATH,
                                                 argv[argc - 1]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "quillory_editor_host: %s\n", failure.what());
        return 1;
    }
}
