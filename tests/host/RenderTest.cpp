// `quillory render` and `quillory demo` on real files: the output is what the plug-in makes
// when driven directly in host order, whatever the block size, channel layout or format.

#include "shell/Opcodes.h"
#include "tests/host/FakePlugin.h"
#include "tests/host/HostTestSupport.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <sstream>

namespace quillory::testing {
namespace {

constexpr int kRate = 48000;
constexpr size_t kFrames = 12000;
constexpr int32_t kVibes = 2; // "For Vibes": a Sine program, so the output is repeatable

Audio stereoInput() {
    Audio audio;
    audio.sampleRate = kRate;
    audio.channels = {testSignal(kFrames, 11), testSignal(kFrames, 12)};
    return audio;
}

RunResult renderFile(const std::vector<std::string>& options, const std::string& input,
                     const std::string& output) {
    std::vector<std::string> arguments{"render", "--quiet"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.push_back(input);
    arguments.push_back(output);
    return runQuillory(arguments);
}

TEST(Render, MatchesThePluginDrivenDirectlyInHostOrder) {
    ScratchFolder folder;
    const Audio input = stereoInput();
    writeAudio(folder / "in.wav", input);
    const RunResult result =
        renderFile({"--plugin", TestHost::defaultPluginPath(), "--program", "For Vibes", "--param",
                    "Chrs Dpth=0.6", "--param", "4=0.8", "--tail", "0.1"},
                   folder / "in.wav", folder / "out.wav");
    ASSERT_EQ(result.exitCode, 0) << result.err;

    SF_INFO info{};
    const Audio output = readAudio(folder / "out.wav", &info);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(output.sampleRate, kRate);
    ASSERT_EQ(output.channels.size(), 2u);
    const size_t tail = kRate / 10;
    ASSERT_EQ(output.frames(), kFrames + tail);

    TestHost host;
    AEffect* effect = host.open();
    ASSERT_NE(effect, nullptr);
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, float(kRate));
    host.dispatch(effSetBlockSize, 0, 512);
    host.dispatch(effSetProgram, 0, kVibes);
    effect->setParameter(effect, 0, 0.6f);
    effect->setParameter(effect, 4, 0.8f);
    host.dispatch(effMainsChanged, 0, 1);
    std::vector<float> left = input.channels[0];
    std::vector<float> right = input.channels[1];
    left.resize(kFrames + tail, 0.0f);
    right.resize(kFrames + tail, 0.0f);
    std::vector<float> expectedLeft;
    std::vector<float> expectedRight;
    host.processStereo(left, right, expectedLeft, expectedRight, 512);
    host.dispatch(effMainsChanged, 0, 0);

    EXPECT_EQ(output.channels[0], expectedLeft);
    EXPECT_EQ(output.channels[1], expectedRight);
    EXPECT_NE(output.channels[0], left) << "the effect left the sound as it was";
}

TEST(Render, BlockSizeDoesNotChangeTheOutput) {
    ScratchFolder folder;
    writeAudio(folder / "in.wav", stereoInput());
    std::vector<std::vector<float>> reference;
    for (const char* blockSize : {"512", "1", "7", "4096"}) {
        const std::string output = folder / (std::string("out-") + blockSize + ".wav");
        const RunResult result =
            renderFile({"--program", "2", "--block-size", blockSize}, folder / "in.wav", output);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const Audio audio = readAudio(output);
        if (reference.empty()) {
            reference = audio.channels;
        } else {
            EXPECT_EQ(audio.channels, reference) << "block size " << blockSize;
        }
    }
}

TEST(Render, MonoInputFeedsBothInputs) {
    ScratchFolder folder;
    Audio mono;
    mono.channels = {testSignal(kFrames, 21)};
    writeAudio(folder / "mono.wav", mono);
    Audio doubled = mono;
    doubled.channels.push_back(mono.channels[0]);
    writeAudio(folder / "doubled.wav", doubled);
    for (const char* name : {"mono", "doubled"}) {
        ASSERT_EQ(renderFile({"--program", "2"}, folder / (std::string(name) + ".wav"),
                             folder / (std::string(name) + "-out.wav"))
                      .exitCode,
                  0);
    }
    const Audio fromMono = readAudio(folder / "mono-out.wav");
    EXPECT_EQ(fromMono.channels.size(), 2u);
    EXPECT_EQ(fromMono.channels, readAudio(folder / "doubled-out.wav").channels);
}

// The probe has one input and four outputs; see FakePlugin.h.
TEST(Render, ChannelsAreMappedOntoThePluginsInputsAndEveryOutputIsWritten) {
    ScratchFolder folder;
    Audio stereo = stereoInput();
    writeAudio(folder / "stereo.wav", stereo);
    const RunResult result = renderFile({"--plugin", fakePlugin("probe"), "--block-size", "64"},
                                        folder / "stereo.wav", folder / "out.wav");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Audio output = readAudio(folder / "out.wav");
    ASSERT_EQ(output.channels.size(), 4u);
    ASSERT_EQ(output.frames(), kFrames);
    for (size_t i = 0; i < kFrames; ++i) {
        const float average = 0.5f * (stereo.channels[0][i] + stereo.channels[1][i]);
        ASSERT_EQ(output.channels[0][i], average) << "frame " << i;
        ASSERT_EQ(output.channels[1][i], -average) << "frame " << i;
        // What the host answered when asked for its sample rate and block size.
        ASSERT_EQ(output.channels[2][i], float(kRate) / kFakeAnswerScale) << "frame " << i;
        ASSERT_EQ(output.channels[3][i], 64.0f / kFakeAnswerScale) << "frame " << i;
    }
}

TEST(Render, FormatsFollowTheExtensionUnlessAskedOtherwise) {
    ScratchFolder folder;
    const Audio input = stereoInput();
    writeAudio(folder / "in.wav", input);
    const struct {
        const char* file;
        std::vector<std::string> options;
        int format;
        float tolerance;
    } kCases[] = {
        {"float.wav", {}, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0.0f},
        {"float.aiff", {}, SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 0.0f},
        {"default.flac", {}, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1.0f / 8388608},
        {"small.flac", {"--format", "pcm16"}, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1.0f / 32768},
        {"pcm16.wav", {"--format", "pcm16"}, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1.0f / 32768},
        {"pcm24.aif", {"--format", "pcm24"}, SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 1.0f / 8388608},
    };
    std::vector<std::vector<float>> reference;
    for (const auto& testCase : kCases) {
        std::vector<std::string> options = testCase.options;
        options.insert(options.end(), {"--program", "2"});
        ASSERT_EQ(renderFile(options, folder / "in.wav", folder / testCase.file).exitCode, 0);
        SF_INFO info{};
        const Audio output = readAudio(folder / testCase.file, &info);
        EXPECT_EQ(info.format & (SF_FORMAT_TYPEMASK | SF_FORMAT_SUBMASK), testCase.format)
            << testCase.file;
        if (reference.empty()) {
            reference = output.channels;
            continue;
        }
        ASSERT_EQ(output.channels.size(), reference.size());
        for (size_t c = 0; c < reference.size(); ++c) {
            for (size_t i = 0; i < reference[c].size(); ++i) {
                ASSERT_NEAR(output.channels[c][i], reference[c][i], testCase.tolerance)
                    << testCase.file << " channel " << c << " frame " << i;
            }
        }
    }
}

TEST(Render, EndsWithOneSummaryLineUnlessQuiet) {
    ScratchFolder folder;
    writeAudio(folder / "in.wav", stereoInput());
    const RunResult result =
        runQuillory({"render", "--tail", "0.5", folder / "in.wav", folder / "out.wav"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string start = "rendered 36000 frames (0.750 s at 48000 Hz) in ";
    const std::string end = "x real time -> " + folder / "out.wav" + "\n";
    EXPECT_EQ(result.out.rfind(start, 0), 0u) << result.out;
    EXPECT_TRUE(result.out.ends_with(end)) << result.out;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1) << result.out;
    EXPECT_TRUE(result.err.empty()) << "no progress bar when standard error is a file";
    const RunResult quiet =
        runQuillory({"render", "--quiet", folder / "in.wav", folder / "quiet.wav"});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_TRUE(quiet.out.empty());
}

TEST(Demo, RendersEveryProgramIntoNamedFilesAndTabulatesTheirLevels) {
    ScratchFolder folder;
    const RunResult result = runQuillory({"demo", folder / "out"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Audio input = readAudio(folder / "out/input.wav");
    ASSERT_EQ(input.channels.size(), 1u);
    EXPECT_GT(input.frames(), size_t{3 * 44100});

    const char* const kFiles[] = {
        "00-for-piano.wav", "01-for-reed.wav",       "02-for-vibes.wav",  "03-for-flute.wav",
        "04-for-organ.wav", "05-for-synth-lead.wav", "06-for-guitar.wav", "07-for-synth-pad.wav",
        "08-for-bass.wav",  "09-for-strings.wav",    "10-for-vox.wav",    "11-for-percussive.wav",
        "12-for-brass.wav", "13-detune-delay.wav",   "14-helicopter.wav", "15-4-track.wav"};
    // Table rows: index, name, peak and RMS in dBFS with one decimal, file.
    std::vector<std::string> listed;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> row{std::istream_iterator<std::string>(words), {}};
        if (row.size() >= 5 && row.back().ends_with(".wav")) {
            const auto isLevel = [](const std::string& text) {
                return text.size() >= 3 && text[text.size() - 2] == '.' &&
                       std::isfinite(std::stod(text));
            };
            EXPECT_EQ(row[0], std::to_string(listed.size())) << line;
            EXPECT_TRUE(isLevel(row[row.size() - 3]) && isLevel(row[row.size() - 2])) << line;
            listed.push_back(row.back());
        }
    }
    EXPECT_EQ(listed, std::vector<std::string>(std::begin(kFiles), std::end(kFiles))) << result.out;
    for (const char* file : kFiles) {
        const Audio output = readAudio(folder / (std::string("out/") + file));
        EXPECT_EQ(output.channels.size(), 2u) << file;
        EXPECT_EQ(output.frames(), input.frames() + 44100 / 2) << file;
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out"});

    // The input is synthesised the same way every time.
    ASSERT_EQ(runQuillory({"demo", folder / "again"}).exitCode, 0);
    EXPECT_EQ(readAudio(folder / "again/input.wav").channels, input.channels);
    EXPECT_EQ(readAudio(folder / "again/02-for-vibes.wav").channels,
              readAudio(folder / "out/02-for-vibes.wav").channels);
}

} // namespace
} // namespace quillory::testing
