#include "host/Demo.h"

#include "host/AudioFile.h"
#include "host/CommandLine.h"
#include "host/DemoMaterial.h"
#include "host/LoadPlugin.h"
#include "host/Progress.h"
#include "host/Render.h"
#include "host/Text.h"
#include "shell/Opcodes.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace quillory::host {
namespace {

constexpr int kSampleRate = 44100;
constexpr double kTailSeconds = 0.5;

struct Pass {
    int32_t program; // -1: the plug-in has no programs and plays as it starts
    std::string name;
    std::string fileName;
};

// One pass per program, named NN-program-name.wav.
std::vector<Pass> passesFor(const std::string& pluginPath) {
    const auto plugin = loadEffect(pluginPath);
    plugin->dispatch(effOpen);
    std::vector<Pass> passes;
    const int32_t programs = plugin->effect()->numPrograms;
    for (int32_t index = 0; index < std::max(programs, 1); ++index) {
        const std::string name =
            programs > 0 ? plugin->dispatchText(effGetProgramNameIndexed, index) : "";
        const std::string fileSlug = slug(name).empty() ? "program" : slug(name);
        char number[16];
        std::snprintf(number, sizeof number, "%02d-", static_cast<int>(index));
        passes.push_back({programs > 0 ? index : -1, name, number + fileSlug + ".wav"});
    }
    return passes;
}

std::string decibels(double level) {
    if (level <= 0.0) {
        return "-inf";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 20.0 * std::log10(level));
    return text;
}

void writeInput(const std::string& path) {
    const std::vector<float> material = synthesiseDemoMaterial(kSampleRate);
    AudioWriter writer(path, 1, kSampleRate, Container::Wav, SampleFormat::Float);
    const float* channels[] = {material.data()};
    writer.write(channels, material.size());
    writer.commit();
}

} // namespace

int runDemo(const std::vector<std::string>& arguments) {
    const DemoOptions options = parseDemo(arguments, defaultPluginPath());
    const std::vector<Pass> passes = passesFor(options.pluginPath);

    const std::filesystem::path folder(options.outputDirectory);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw std::runtime_error("cannot create folder " + folder.string() + ": " +
                                 error.message());
    }
    const std::string input = (folder / "input.wav").string();
    writeInput(input);
    std::printf("input: %s (plucked chords and a sustained tone, mono, %d Hz)\n", input.c_str(),
                kSampleRate);

    std::printf("%3s  %-24s %10s %10s  %s\n", "#", "program", "peak dBFS", "RMS dBFS", "file");
    // The bar sits below the table while the next program renders.
    Progress progress("rendering programs", true);
    progress.update(0.0);
    size_t done = 0;
    for (const Pass& pass : passes) {
        RenderOptions request;
        request.pluginPath = options.pluginPath;
        if (pass.program >= 0) {
            request.program = std::to_string(pass.program);
        }
        request.tailSeconds = kTailSeconds;
        request.input = input;
        request.output = (folder / pass.fileName).string();
        const RenderResult result = render(request, false);
        progress.clear();
        std::printf("%3d  %-24s %10s %10s  %s\n", std::max(pass.program, 0), pass.name.c_str(),
                    decibels(result.peak).c_str(), decibels(result.rms).c_str(),
                    pass.fileName.c_str());
        std::fflush(stdout);
        progress.update(double(++done) / double(passes.size()));
    }
    return 0;
}

} // namespace quillory::host
