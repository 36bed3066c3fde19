// Plug-ins from other makers, as Debian packages them: each is skipped when not installed.
// ZynChorus exports only `main`; the LSP compressor only VSTPluginMain.

#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace quillory::testing {
namespace {

// Their own memory habits are not this project's to check.
const std::vector<std::string> kEnvironment{"ASAN_OPTIONS=detect_leaks=0"};

struct ThirdParty {
    const char* name;
    const char* path;
    const char* parameterLine; // the start of a line `info` is known to print
    std::vector<std::string> renderOptions;
};

void PrintTo(const ThirdParty& plugin, std::ostream* out) {
    *out << plugin.path;
}

class ThirdPartyPlugin : public ::testing::TestWithParam<ThirdParty> {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(GetParam().path)) {
            GTEST_SKIP() << GetParam().path << " is not installed";
        }
    }
};

TEST_P(ThirdPartyPlugin, InfoListsItsParameters) {
    const RunResult result = runQuillory({"info", "--plugin", GetParam().path}, kEnvironment);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find(GetParam().parameterLine), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("inputs:         2\n"), std::string::npos) << result.out;
}

TEST_P(ThirdPartyPlugin, RendersAFile) {
    ScratchFolder folder;
    Audio input;
    input.channels = {testSignal(44100, 31), testSignal(44100, 32)};
    writeAudio(folder / "in.wav", input);
    std::vector<std::string> arguments{"render", "--quiet", "--plugin", GetParam().path};
    arguments.insert(arguments.end(), GetParam().renderOptions.begin(),
                     GetParam().renderOptions.end());
    arguments.insert(arguments.end(), {folder / "in.wav", folder / "out.wav"});
    const RunResult result = runQuillory(arguments, kEnvironment);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Audio output = readAudio(folder / "out.wav");
    ASSERT_EQ(output.channels.size(), 2u);
    ASSERT_EQ(output.frames(), input.frames());
    double energy = 0.0;
    for (const auto& channel : output.channels) {
        for (float sample : channel) {
            ASSERT_TRUE(std::isfinite(sample));
            energy += double{sample} * sample;
        }
    }
    EXPECT_GT(energy, 1.0) << "the plug-in produced silence";
    EXPECT_NE(output.channels, input.channels) << "the plug-in left the sound as it was";
}

INSTANTIATE_TEST_SUITE_P(
    Debian, ThirdPartyPlugin,
    ::testing::Values(
        ThirdParty{"ZynChorus", "/usr/lib/vst/ZynChorus.so", "\n    0  LFO Frequency", {}},
        ThirdParty{"LspCompressorStereo",
                   "/usr/lib/vst/lsp-plugins/compressor-stereo.so",
                   "\n   21  cr ",
                   {"--param", "cr=0.8", "--param", "al=0.3"}}),
    [](const ::testing::TestParamInfo<ThirdParty>& plugin) {
        return std::string(plugin.param.name);
    });

} // namespace
} // namespace quillory::testing
