#include "host/Render.h"

#include "host/AudioFile.h"
#include "host/LoadPlugin.h"
#include "host/PluginSettings.h"
#include "host/Progress.h"
#include "host/lib/PluginSession.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace quillory::host {
namespace {

// Audio moves through the program in chunks of whole blocks of about this many frames.
constexpr int kChunkFrames = 8192;

void checkOutputPath(const std::string& input, const std::string& output) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(output, error)) {
        throw std::runtime_error("output " + output + " is a folder");
    }
    if (fs::exists(output, error) && fs::equivalent(input, output, error)) {
        throw std::runtime_error("output " + output +
                                 " is the input file; it would be overwritten while read");
    }
}

std::vector<const float*> pointersTo(const std::vector<std::vector<float>>& buffers) {
    std::vector<const float*> pointers;
    for (const auto& buffer : buffers) {
        pointers.push_back(buffer.data());
    }
    return pointers;
}

// Runs the input and then `tailFrames` of silence through the session into the writer,
// measuring the output's levels on the way.
RenderResult pump(PluginSession& session, AudioReader& reader, AudioWriter& writer,
                  int64_t tailFrames, int blockSize, Progress& progress) {
    const int64_t expectedFrames = std::max<int64_t>(reader.frames(), 0) + tailFrames;
    const auto chunk =
        static_cast<size_t>(blockSize) * static_cast<size_t>(std::max(1, kChunkFrames / blockSize));
    std::vector<std::vector<float>> sources(static_cast<size_t>(reader.channels()));
    std::vector<std::vector<float>> results(static_cast<size_t>(session.outputCount()),
                                            std::vector<float>(chunk));
    std::vector<float*> resultPointers;
    for (auto& buffer : results) {
        resultPointers.push_back(buffer.data());
    }

    RenderResult result;
    result.sampleRate = reader.sampleRate();
    result.channels = session.outputCount();
    double sumOfSquares = 0.0;
    bool inputEnded = false;
    int64_t tailLeft = tailFrames;
    for (;;) {
        // Input first, then the tail's silence in the same chunk, so that every block but
        // the very last is a whole one.
        size_t frames = 0;
        if (!inputEnded) {
            frames = reader.read(sources, chunk);
            inputEnded = frames < chunk;
        } else {
            for (auto& source : sources) {
                source.clear();
            }
        }
        const auto silence =
            static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(chunk - frames), tailLeft));
        tailLeft -= static_cast<int64_t>(silence);
        frames += silence;
        if (frames == 0) {
            break;
        }
        for (auto& source : sources) {
            source.resize(frames, 0.0f);
        }
        session.process(pointersTo(sources), resultPointers, frames);
        writer.write(resultPointers, frames);
        for (const auto& buffer : results) {
            for (size_t i = 0; i < frames; ++i) {
                result.peak = std::max(result.peak, std::fabs(buffer[i]));
                sumOfSquares += double{buffer[i]} * double{buffer[i]};
            }
        }
        result.frames += static_cast<int64_t>(frames);
        progress.update(expectedFrames > 0 ? double(result.frames) / double(expectedFrames) : 1.0);
    }
    const double samples = double(result.frames) * result.channels;
    result.rms = samples > 0.0 ? std::sqrt(sumOfSquares / samples) : 0.0;
    return result;
}

} // namespace

RenderResult render(const RenderOptions& options, bool showProgress) {
    const auto plugin = loadEffect(options.pluginPath);
    AudioReader reader(options.input);
    if (reader.channels() > 2) {
        throw std::runtime_error(options.input + " has " + std::to_string(reader.channels()) +
                                 " channels; only mono and stereo input can be rendered");
    }
    checkOutputPath(options.input, options.output);

    SessionSettings settings;
    settings.sampleRate = static_cast<float>(reader.sampleRate());
    settings.blockSize = options.blockSize;
    if (options.program) {
        settings.program = resolveProgram(*plugin, *options.program);
    }
    settings.parameters = resolveParameters(*plugin, options.parameters);
    const int outputs = plugin->effect()->numOutputs;
    if (outputs < 1) {
        throw std::runtime_error("plug-in " + options.pluginPath + " has no audio outputs");
    }

    // Everything is checked: only now does a (temporary) output file appear.
    const Container container = containerFor(options.output);
    AudioWriter writer(options.output, outputs, reader.sampleRate(), container,
                       options.format.value_or(defaultSampleFormat(container)));
    const auto started = std::chrono::steady_clock::now();
    Progress progress("rendering", showProgress);
    PluginSession session(*plugin, settings);
    const auto tailFrames =
        static_cast<int64_t>(std::llround(options.tailSeconds * reader.sampleRate()));
    RenderResult result = pump(session, reader, writer, tailFrames, options.blockSize, progress);
    session.finish();
    writer.commit();
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

std::string summaryLine(const RenderResult& result, const std::string& output) {
    const double audioSeconds = double(result.frames) / result.sampleRate;
    std::ostringstream line;
    line << std::fixed << "rendered " << result.frames << " frames (" << std::setprecision(3)
         << audioSeconds << " s at " << result.sampleRate << " Hz) in " << result.seconds << " s";
    if (result.seconds > 0.0) {
        line << ", " << std::setprecision(1) << audioSeconds / result.seconds << "x real time";
    }
    line << " -> " << output;
    return line.str();
}

int runRender(const std::vector<std::string>& arguments) {
    const RenderOptions options = parseRender(arguments, defaultPluginPath());
    const RenderResult result = render(options, !options.quiet);
    if (!options.quiet) {
        std::cout << summaryLine(result, options.output) << '\n';
    }
    return 0;
}

} // namespace quillory::host
