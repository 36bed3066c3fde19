// Cost of the processing callback on 512-frame blocks of stereo noise at 44.1 kHz, for
// every tap count and waveform, with the glides settled and with all of them running, next
// to a callback that only copies its input.

#include "plugin/QuilloryChorusVst.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace quillory {
namespace {

constexpr int32_t kBlockFrames = 512;
constexpr float kSampleRate = 44100.0f;
// Glides last 20,000 frames and the Wander waveform makes its first draw at frame 50,000;
// running this many frames before timing puts every mode past both.
constexpr int32_t kSettleFrames = 60000;

enum Param : int32_t { kDepth = 0, kSpeed = 1, kTaps = 2, kWaveform = 3, kMix = 4 };

struct Mode {
    const char* name;
    float taps;     // 0 → 2 taps, 0.5 → 3, 1 → 4
    float waveform; // 0 Sine, 1 Wander
};

constexpr std::array<Mode, 6> kModes{{{"2tap_sine", 0.0f, 0.0f},
                                      {"3tap_sine", 0.5f, 0.0f},
                                      {"4tap_sine", 1.0f, 0.0f},
                                      {"2tap_wander", 0.0f, 1.0f},
                                      {"3tap_wander", 0.5f, 1.0f},
                                      {"4tap_wander", 1.0f, 1.0f}}};

// One block of stereo input noise and room for the output.
struct Buffers {
    std::vector<float> in[2];
    std::vector<float> out[2];
    float* inputs[2];
    float* outputs[2];

    Buffers() {
        std::mt19937 generator(12345);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        for (int channel = 0; channel < 2; ++channel) {
            in[channel].resize(kBlockFrames);
            out[channel].resize(kBlockFrames);
            std::generate(in[channel].begin(), in[channel].end(), [&] { return noise(generator); });
            inputs[channel] = in[channel].data();
            outputs[channel] = out[channel].data();
        }
    }
};

void reportFrames(benchmark::State& state) {
    const auto frames = static_cast<double>(kBlockFrames);
    state.SetItemsProcessed(state.iterations() * kBlockFrames);
    // Seconds per frame; the console shows it with its unit, e.g. "15.2ns".
    state.counters["ns_per_frame"] = benchmark::Counter(
        frames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    // Frames per second over the frames a 44.1 kHz stream needs per second.
    state.counters["x_realtime_44k1"] = benchmark::Counter(
        frames / static_cast<double>(kSampleRate), benchmark::Counter::kIsIterationInvariantRate);
}

// The least a callback can do: copy both channels through.
[[gnu::noinline]] void copyCallback(float** inputs, float** outputs, int32_t frames) {
    for (int channel = 0; channel < 2; ++channel) {
        std::copy(inputs[channel], inputs[channel] + frames, outputs[channel]);
    }
}

void BM_CopyBaseline(benchmark::State& state) {
    Buffers buffers;
    for (auto _ : state) {
        copyCallback(buffers.inputs, buffers.outputs, kBlockFrames);
        benchmark::ClobberMemory();
    }
    reportFrames(state);
}

// An effect at 44.1 kHz in `mode` with depth, speed and mix at one half, run until its
// glides have ended and the Wander drift has started.
std::unique_ptr<QuilloryChorusVst> settledEffect(const Mode& mode, Buffers& buffers) {
    auto effect = std::make_unique<QuilloryChorusVst>(nullptr);
    effect->setSampleRate(kSampleRate);
    effect->setParameter(kTaps, mode.taps);
    effect->setParameter(kWaveform, mode.waveform);
    for (const int32_t param : {kDepth, kSpeed, kMix}) {
        effect->setParameter(param, 0.5f);
    }
    for (int32_t done = 0; done < kSettleFrames; done += kBlockFrames) {
        effect->processReplacing(buffers.inputs, buffers.outputs, kBlockFrames);
    }
    return effect;
}

void BM_Settled(benchmark::State& state, Mode mode) {
    Buffers buffers;
    const auto effect = settledEffect(mode, buffers);
    for (auto _ : state) {
        effect->processReplacing(buffers.inputs, buffers.outputs, kBlockFrames);
        benchmark::ClobberMemory();
    }
    reportFrames(state);
}

// Depth, speed and mix get a new value before every block, so all three glides run
// throughout; the three calls count in the time, as they would in a host.
void BM_Gliding(benchmark::State& state, Mode mode) {
    Buffers buffers;
    const auto effect = settledEffect(mode, buffers);
    bool high = false;
    for (auto _ : state) {
        high = !high;
        for (const int32_t param : {kDepth, kSpeed, kMix}) {
            effect->setParameter(param, high ? 0.6f : 0.4f);
        }
        effect->processReplacing(buffers.inputs, buffers.outputs, kBlockFrames);
        benchmark::ClobberMemory();
    }
    reportFrames(state);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("BM_CopyBaseline", BM_CopyBaseline);
    for (const Mode& mode : kModes) {
        benchmark::RegisterBenchmark((std::string("BM_Settled/") + mode.name).c_str(), BM_Settled,
                                     mode);
    }
    for (const Mode& mode : kModes) {
        benchmark::RegisterBenchmark((std::string("BM_Gliding/") + mode.name).c_str(), BM_Gliding,
                                     mode);
    }
    return true;
}();

} // namespace
} // namespace quillory
