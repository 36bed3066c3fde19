#include "conformance/ParitySet.h"

#include "conformance/WavFile.h"
#include "host/lib/HostedPlugin.h"
#include "host/lib/PluginSession.h"
#include "shell/Opcodes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>

namespace quillory::conformance {
namespace {

constexpr int kSampleRate = 44100;
constexpr int32_t kWaveformParameter = 3;

// Bit-identical on every platform: built from integer arithmetic and exact float
// conversions only, with no library function whose last bits could differ. Two triangle
// waves a fifth apart with a little noise.
StereoSignal testSignal() {
    StereoSignal signal;
    signal.left.resize(kParityFrames);
    signal.right.resize(kParityFrames);
    uint32_t noise = 12345;
    for (int i = 0; i < kParityFrames; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const float grain =
            static_cast<float>(static_cast<int32_t>(noise >> 16) - 32768) / 327680.0f;
        const int leftPhase = i % 200;  // 220.5 Hz
        const int rightPhase = i % 133; // about 331.6 Hz
        signal.left[i] = static_cast<float>(std::abs(leftPhase - 100) - 50) / 100.0f + grain;
        signal.right[i] = static_cast<float>(std::abs(2 * rightPhase - 133) - 66) / 166.0f - grain;
    }
    return signal;
}

std::string fileName(const std::string& directory, int program, bool wander) {
    char name[32];
    std::snprintf(name, sizeof(name), "/%02d-%s.wav", program, wander ? "wander" : "sine");
    return directory + name;
}

StereoSignal renderProgram(const std::string& pluginPath, int program, const StereoSignal& input,
                           bool& wander) {
    host::HostedPlugin plugin(pluginPath);
    if (plugin.open() == nullptr) {
        throw std::runtime_error("the plug-in refused to start");
    }
    host::SessionSettings settings;
    settings.sampleRate = static_cast<float>(kSampleRate);
    settings.program = program;
    host::PluginSession session(plugin, settings);
    wander = plugin.effect()->getParameter(plugin.effect(), kWaveformParameter) >= 0.5f;

    StereoSignal output;
    output.left.resize(kParityFrames);
    output.right.resize(kParityFrames);
    const float* sources[2] = {input.left.data(), input.right.data()};
    float* outputs[2] = {output.left.data(), output.right.data()};
    session.process(sources, outputs, kParityFrames);
    session.finish();
    return output;
}

double largestDifference(const StereoSignal& a, const StereoSignal& b, size_t frames) {
    double largest = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        largest = std::max({largest, std::fabs(double{a.left[i]} - b.left[i]),
                            std::fabs(double{a.right[i]} - b.right[i])});
    }
    return largest;
}

} // namespace

int renderParitySet(const std::string& pluginPath, const std::string& directory) {
    try {
        const StereoSignal input = testSignal();
        host::HostedPlugin probe(pluginPath);
        if (probe.open() == nullptr) {
            std::fprintf(stderr, "%s: the plug-in refused to start\n", pluginPath.c_str());
            return 1;
        }
        const int programs = probe.effect()->numPrograms;
        for (int program = 0; program < programs; ++program) {
            bool wander = false;
            const StereoSignal output = renderProgram(pluginPath, program, input, wander);
            if (!writeWav(fileName(directory, program, wander), output, kSampleRate)) {
                std::fprintf(stderr, "cannot write into %s\n", directory.c_str());
                return 1;
            }
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", pluginPath.c_str(), error.what());
        return 1;
    }
}

int compareParitySets(const std::string& first, const std::string& second, double tolerance) {
    bool agree = true;
    for (int program = 0;; ++program) {
        bool wander = false;
        StereoSignal a;
        StereoSignal b;
        if (!readWav(fileName(first, program, false), a)) {
            wander = true;
            if (!readWav(fileName(first, program, true), a)) {
                if (program == 0) {
                    std::fprintf(stderr, "no renders in %s\n", first.c_str());
                    return 1;
                }
                break;
            }
        }
        if (!readWav(fileName(second, program, wander), b) || a.left.size() != b.left.size()) {
            std::fprintf(stderr, "program %d: no matching render in %s\n", program, second.c_str());
            return 1;
        }
        const size_t frames = wander ? kWanderParityFrames : a.left.size();
        const double difference = largestDifference(a, b, frames);
        const bool ok = difference <= tolerance;
        agree = agree && ok;
        std::printf("program %2d %-6s %6zu frames  largest difference %.3g  %s\n", program,
                    wander ? "wander" : "sine", frames, difference, ok ? "ok" : "MISMATCH");
    }
    return agree ? 0 : 1;
}

} // namespace quillory::conformance
