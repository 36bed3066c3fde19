// `quillory editor` as a user runs it, under a virtual X server (this program is started
// by xvfb-run): the screenshot of a plug-in's editor once it has drawn, the editor's
// parameter changes on the terminal, and closing by the window's close button or Ctrl-C.

#include "tests/host/HostTestSupport.h"
#include "tests/host/XWindowClose.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace quillory::testing {
namespace {

// A PNG file read back by another library than the one that wrote it.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0xRRGGBB

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Picture readPng(const std::string& path) {
    Picture picture;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        picture.width = cairo_image_surface_get_width(surface);
        picture.height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < picture.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
            picture.pixels.insert(picture.pixels.end(), row, row + picture.width);
        }
        for (uint32_t& pixel : picture.pixels) {
            pixel &= 0xFFFFFF;
        }
    }
    cairo_surface_destroy(surface);
    return picture;
}

// The program started through a shell that tells its process id and then becomes the
// program, its output read line by line as it comes.
class RunningQuillory {
public:
    explicit RunningQuillory(const std::string& arguments)
        : output(popen(("echo $$; exec " QUILLORY_PROGRAM_PATH " " + arguments).c_str(), "r")) {
        pid = static_cast<pid_t>(std::stol(nextLine()));
    }
    ~RunningQuillory() {
        if (output != nullptr) {
            kill(pid, SIGKILL);
            pclose(output);
        }
    }
    RunningQuillory(const RunningQuillory&) = delete;
    RunningQuillory& operator=(const RunningQuillory&) = delete;

    // The next line of output; empty at its end.
    std::string nextLine() {
        char line[512];
        return std::fgets(line, sizeof line, output) != nullptr ? line : "";
    }
    void interrupt() const { kill(pid, SIGINT); }
    // The exit status once the program has ended; -1 when a signal ended it.
    int exitStatus() {
        const int status = pclose(std::exchange(output, nullptr));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    FILE* output;
    pid_t pid = -1;
};

class EditorCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "needs an X server; run under xvfb-run";
        }
    }
};

constexpr const char* kAutomationLine = "1 \"Level 1\" 0.2500 \"2.50 dB\"\n";

TEST_F(EditorCommand, ScreenshotIsTakenOnceTheEditorHasDrawn) {
    ScratchFolder folder;
    const RunResult result = runQuillory(
        {"editor", "--plugin", fakePlugin("editor"), "--screenshot", folder / "editor.png"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // The plug-in reports its change at its sixth idle, before its picture has stood still.
    EXPECT_NE(result.out.find(kAutomationLine), std::string::npos) << result.out;

    const Picture picture = readPng(folder / "editor.png");
    ASSERT_EQ(picture.width, 120);
    ASSERT_EQ(picture.height, 80);
    EXPECT_EQ(picture.at(2, 2), 0xFF0000u);
    EXPECT_EQ(picture.at(59, 79), 0xFF0000u);
    EXPECT_EQ(picture.at(60, 0), 0x0000FFu);
    EXPECT_EQ(picture.at(119, 79), 0x0000FFu);
}

TEST_F(EditorCommand, ClosesWithTheWindowsCloseButtonOrCtrlC) {
    for (const bool closeButton : {true, false}) {
        RunningQuillory running("editor --plugin " + fakePlugin("editor"));
        // The editor runs once it has reported its change from its idle.
        std::string line;
        do {
            line = running.nextLine();
        } while (!line.empty() && line != kAutomationLine);
        ASSERT_EQ(line, kAutomationLine);
        if (closeButton) {
            ASSERT_TRUE(askWindowToClose("quillory editor: Fake editor"));
        } else {
            running.interrupt();
        }
        EXPECT_EQ(running.exitStatus(), 0) << (closeButton ? "close button" : "Ctrl-C");
    }
}

// Our own plug-in's editor, opened by `quillory editor` through the module's X11 back end,
// shows the very pixels the headless back end draws for the same settings: the same
// rasteriser and the same text reach the window unchanged.
TEST_F(EditorCommand, OurEditorOnX11ShowsWhatTheHeadlessBackEndDraws) {
    ScratchFolder folder;
    const std::vector<std::string> settings = {"--param", "0=0.62", "--param", "1=0.45",
                                               "--param", "2=0.5",  "--param", "4=0.35"};
    std::vector<std::string> arguments = {"editor"};
    arguments.insert(arguments.end(), settings.begin(), settings.end());
    arguments.insert(arguments.end(), {"--screenshot", folder / "x11.png"});
    // Fontconfig keeps its caches where a leak checker cannot follow them: neither program is
    // checked for leaks here. The X11 back end's own tests check for leaks with the caches
    // released.
    const RunResult shown = runQuillory(arguments, {"ASAN_OPTIONS=detect_leaks=0"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;

    std::string headless = "ASAN_OPTIONS=detect_leaks=0 " QUILLORY_SCREENSHOT_PROGRAM_PATH;
    for (const std::string& setting : settings) {
        headless += " " + setting;
    }
    ASSERT_EQ(std::system((headless + " " + (folder / "headless.png")).c_str()), 0);

    const Picture onX11 = readPng(folder / "x11.png");
    const Picture drawn = readPng(folder / "headless.png");
    ASSERT_EQ(onX11.width, 242);
    ASSERT_EQ(onX11.height, 410);
    ASSERT_EQ(drawn.width, onX11.width);
    ASSERT_EQ(drawn.height, onX11.height);
    EXPECT_EQ(std::mismatch(onX11.pixels.begin(), onX11.pixels.end(), drawn.pixels.begin()).first -
                  onX11.pixels.begin(),
              static_cast<std::ptrdiff_t>(onX11.pixels.size()))
        << "the first differing pixel, counted row by row";
}

TEST_F(EditorCommand, ShowsAnEditorOfAnotherMaker) {
    const std::string plugin = "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so";
    if (!std::filesystem::exists(plugin)) {
        GTEST_SKIP() << plugin << " is not installed";
    }
    ScratchFolder folder;
    const RunResult result =
        runQuillory({"editor", "--plugin", plugin, "--screenshot", folder / "editor.png"},
                    {"ASAN_OPTIONS=detect_leaks=0"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Picture picture = readPng(folder / "editor.png");
    EXPECT_GT(picture.width, 200);
    EXPECT_GT(picture.height, 100);
    EXPECT_NE(std::count(picture.pixels.begin(), picture.pixels.end(), picture.pixels[0]),
              static_cast<std::ptrdiff_t>(picture.pixels.size()));
}

} // namespace
} // namespace quillory::testing
