// `quillory editor` as a user runs it, under a virtual X server (this program is started
// by xvfb-run): the screenshot of a plug-in's editor once it has drawn, the editor's
// parameter changes on the terminal, and closing by the window's close button or Ctrl-C.

#include "tests/host/HostTestSupport.h"
#include "tests/host/XWindowClose.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quillory::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(20);

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

std::string readText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The program running on its own, its output going to a file.
class RunningQuillory {
public:
    RunningQuillory(const std::vector<std::string>& arguments, const std::string& outputPath) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> command{QUILLORY_PROGRAM_PATH};
        command.insert(command.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : command) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~RunningQuillory() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    RunningQuillory(const RunningQuillory&) = delete;
    RunningQuillory& operator=(const RunningQuillory&) = delete;

    void interrupt() const { kill(pid, SIGINT); }
    // The exit status once the program has ended by itself; -1 when it ended by a signal
    // or did not end in time.
    int exitStatus() {
        const auto deadline = Clock::now() + kPatience;
        int status = 0;
        while (Clock::now() < deadline) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

private:
    pid_t pid = -1;
};

class EditorCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "needs an X server; run under xvfb-run";
        }
    }
    // Waits until `predicate` holds, polling.
    template <class Predicate> static bool eventually(Predicate predicate) {
        const auto deadline = Clock::now() + kPatience;
        while (!predicate()) {
            if (Clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
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
        ScratchFolder folder;
        RunningQuillory running({"editor", "--plugin", fakePlugin("editor")}, folder / "out");
        // The editor runs once it has reported its change from its idle.
        ASSERT_TRUE(eventually(
            [&] { return readText(folder / "out").find(kAutomationLine) != std::string::npos; }));
        if (closeButton) {
            ASSERT_TRUE(askWindowToClose("quillory editor: Fake editor"));
        } else {
            running.interrupt();
        }
        EXPECT_EQ(running.exitStatus(), 0) << (closeButton ? "close button" : "Ctrl-C");
    }
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
