// The program's refusals: every kind of bad command line, file or plug-in gets one line on
// standard error, the right exit status, and leaves no output or temporary file behind.

#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

namespace quillory::testing {
namespace {

size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// A folder holding a good stereo input, a text file posing as audio and a three-channel file.
class RenderRefusal : public ::testing::Test {
protected:
    void SetUp() override {
        Audio stereo;
        stereo.channels = {testSignal(2000, 1), testSignal(2000, 2)};
        writeAudio(folder / "in.wav", stereo);
        Audio three = stereo;
        three.channels.push_back(testSignal(2000, 3));
        writeAudio(folder / "three.wav", three);
        std::ofstream(folder / "text.wav") << "not audio\n";
        before = folder.entries();
    }

    // Runs render with `arguments` and checks the refusal; {in}, {out} and {folder} in
    // arguments name the input, the output and the folder.
    void expectRefusal(std::vector<std::string> arguments, int status, const std::string& words) {
        for (std::string& argument : arguments) {
            for (const auto& [key, value] :
                 {std::pair<std::string, std::string>{"{in}", folder / "in.wav"},
                  {"{out}", folder / "out.wav"},
                  {"{folder}", folder / ""}}) {
                if (const size_t at = argument.find(key); at != std::string::npos) {
                    argument.replace(at, key.size(), value);
                }
            }
        }
        arguments.insert(arguments.begin(), "render");
        const RunResult result = runQuillory(arguments);
        EXPECT_EQ(result.exitCode, status) << result.err;
        EXPECT_EQ(lineCount(result.err), 1u) << result.err;
        EXPECT_NE(result.err.find(words), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
        EXPECT_EQ(folder.entries(), before) << "an output or temporary file was left behind";
    }

    ScratchFolder folder;
    std::vector<std::string> before;
};

TEST_F(RenderRefusal, UnusableInputs) {
    expectRefusal({"{folder}missing.wav", "{out}"}, 1, "missing.wav");
    expectRefusal({"{folder}text.wav", "{out}"}, 1, "not an audio file");
    expectRefusal({"{folder}three.wav", "{out}"}, 1, "3 channels");
    expectRefusal({"{folder}", "{out}"}, 1, "folder");
}

TEST_F(RenderRefusal, UnusableOutputs) {
    expectRefusal({"{in}", "{folder}no-such-folder/out.wav"}, 1, "cannot write");
    expectRefusal({"{in}", "{in}"}, 1, "is the input");
    expectRefusal({"{in}", "{folder}./in.wav"}, 1, "is the input");
    expectRefusal({"{in}", "{folder}"}, 1, "is a folder");
    std::filesystem::create_symlink("in.wav", folder / "link.wav");
    before = folder.entries();
    expectRefusal({"{in}", "{folder}link.wav"}, 1, "is the input");
}

TEST_F(RenderRefusal, UnknownProgramsAndParameters) {
    expectRefusal({"--program", "16", "{in}", "{out}"}, 1, "no program 16");
    expectRefusal({"--program", "-1", "{in}", "{out}"}, 1, "no program -1");
    expectRefusal({"--program", "For Kazoo", "{in}", "{out}"}, 1, "no program named 'For Kazoo'");
    expectRefusal({"--param", "Loudness=0.5", "{in}", "{out}"}, 1, "no parameter named 'Loudness'");
    expectRefusal({"--param", "5=0.5", "{in}", "{out}"}, 1, "no parameter 5");
}

TEST_F(RenderRefusal, BadValuesOnTheCommandLine) {
    expectRefusal({"--param", "0=loud", "{in}", "{out}"}, 2, "not a number from 0 to 1");
    expectRefusal({"--param", "0=1.01", "{in}", "{out}"}, 2, "not a number from 0 to 1");
    expectRefusal({"--param", "0=-0.1", "{in}", "{out}"}, 2, "not a number from 0 to 1");
    expectRefusal({"--param", "0=nan", "{in}", "{out}"}, 2, "not a number from 0 to 1");
    expectRefusal({"--param", "0.5", "{in}", "{out}"}, 2, "KEY=VALUE");
    expectRefusal({"--block-size", "0", "{in}", "{out}"}, 2, "block size");
    expectRefusal({"--block-size", "65537", "{in}", "{out}"}, 2, "block size");
    expectRefusal({"--block-size", "64k", "{in}", "{out}"}, 2, "block size");
    expectRefusal({"--tail", "-1", "{in}", "{out}"}, 2, "tail");
    expectRefusal({"--format", "mp3", "{in}", "{out}"}, 2, "--format");
    expectRefusal({"--format", "float", "{in}", "{folder}out.flac"}, 2, "FLAC cannot hold");
    expectRefusal({"--loud", "{in}", "{out}"}, 2, "unknown option '--loud'");
    expectRefusal({"{in}"}, 2, "INPUT and an OUTPUT");
    expectRefusal({"{in}", "{out}", "{folder}third.wav"}, 2, "INPUT and an OUTPUT");
    expectRefusal({"{in}", "{out}", "--block-size"}, 2, "--block-size needs a value");
}

TEST_F(RenderRefusal, PluginsThatAreNotEffects) {
    expectRefusal({"--plugin", "{folder}text.wav", "{in}", "{out}"}, 1, "cannot load");
    expectRefusal({"--plugin", "{folder}none.so", "{in}", "{out}"}, 1, "no such file");
    expectRefusal({"--plugin", fakePlugin("no_entry"), "{in}", "{out}"}, 1,
                  "no plug-in entry point");
    expectRefusal({"--plugin", fakePlugin("null_effect"), "{in}", "{out}"}, 1,
                  "returned no effect");
    expectRefusal({"--plugin", fakePlugin("not_an_effect"), "{in}", "{out}"}, 1, "not an effect");
}

TEST_F(RenderRefusal, AFailedRenderLeavesAnExistingOutputAsItWas) {
    std::ofstream(folder / "out.wav") << "earlier result";
    before = folder.entries();
    expectRefusal({"--program", "For Kazoo", "{in}", "{out}"}, 1, "no program named");
    std::ifstream kept(folder / "out.wav");
    const std::string content((std::istreambuf_iterator<char>(kept)), {});
    EXPECT_EQ(content, "earlier result");
}

TEST(RenderCrash, APluginThatDiesMidwayLeavesNoOutputFile) {
    ScratchFolder folder;
    Audio mono;
    mono.channels = {testSignal(1000, 4)};
    writeAudio(folder / "in.wav", mono);
    const RunResult result =
        runQuillory({"render", "--plugin", fakePlugin("crashing"), "--block-size", "64",
                     folder / "in.wav", folder / "out.wav"});
    EXPECT_EQ(result.signal, SIGKILL);
    const std::vector<std::string> entries = folder.entries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "out.wav"), 0);
}

TEST(CommandLine, UnknownCommandsAndMissingCommandsAreUsageErrors) {
    EXPECT_EQ(runQuillory({}).exitCode, 2);
    const RunResult unknown = runQuillory({"play"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("unknown command 'play'"), std::string::npos);
    const RunResult help = runQuillory({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"quillory info", "quillory render", "quillory demo"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    EXPECT_EQ(runQuillory({"info", "--colour"}).exitCode, 2);
    EXPECT_EQ(runQuillory({"demo", "a", "b"}).exitCode, 2);
}

} // namespace
} // namespace quillory::testing
