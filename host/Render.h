#pragma once
// `quillory render`: an audio file through the plug-in into another audio file.

#include "host/CommandLine.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillory::host {

struct RenderResult {
    int64_t frames = 0; // input plus tail
    int sampleRate = 0;
    int channels = 0;
    double seconds = 0.0; // wall-clock time taken
    float peak = 0.0f;    // largest magnitude over all output channels
    double rms = 0.0;     // over all output samples
};

// Checks everything the options name before any output is written, then renders. Throws
// std::runtime_error with one line naming the problem; the output file then does not exist
// (or is left as it was).
RenderResult render(const RenderOptions& options, bool showProgress);

// The one-line summary: frames, time taken and multiple of real time.
std::string summaryLine(const RenderResult& result, const std::string& output);

int runRender(const std::vector<std::string>& arguments);

} // namespace quillory::host
