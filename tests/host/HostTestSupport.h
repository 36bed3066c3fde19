#pragma once
// Running the built `quillory` program as a user would, scratch folders, and sound files
// read and written with libsndfile directly (not through the program's own code).

#include <sndfile.h>

#include <string>
#include <vector>

namespace quillory::testing {

struct RunResult {
    int exitCode = -1; // -1 when a signal ended the program
    int signal = 0;
    std::string out;
    std::string err;
};

// Runs `arguments[0]` (searched on PATH) with the rest as its arguments, standard input
// from `inputPath` (or nothing), and `extraEnvironment` ("NAME=value") added.
RunResult runProgram(const std::vector<std::string>& arguments, const std::string& inputPath = "",
                     const std::vector<std::string>& extraEnvironment = {});
// Runs the quillory program built in this tree.
RunResult runQuillory(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extraEnvironment = {});

// Path of a fixture plug-in built from FakePlugin.cpp: "no_entry", "null_effect",
// "not_an_effect", "crashing" or "probe".
std::string fakePlugin(const std::string& kind);

// A fresh folder, removed with everything in it at the end of the test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string operator/(const std::string& name) const { return path + "/" + name; }
    // Names in the folder, hidden ones included, sorted.
    std::vector<std::string> entries() const;

private:
    std::string path;
};

struct Audio {
    int sampleRate = 44100;
    std::vector<std::vector<float>> channels;
    size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

void writeAudio(const std::string& path, const Audio& audio,
                int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT);
Audio readAudio(const std::string& path, SF_INFO* info = nullptr);

// Repeatable noise in -0.5..0.5 with a sine underneath, so that chorus taps have something
// to move.
std::vector<float> testSignal(size_t frames, unsigned seed);

} // namespace quillory::testing
