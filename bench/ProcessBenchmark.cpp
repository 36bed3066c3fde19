// Cost of the processing callback per stereo frame at 44.1 kHz, for every tap count and
// waveform, with the glides settled and with all three running, on 512-frame blocks; next to
// the straightforward frame-at-a-time reference and a callback that only copies its input,
// measured in the same run. Also the cost at other block sizes, on the baseline vector unit,
// and of creating the plug-in.

#include "engine/VectorUnit.h"
#include "plugin/QuilloryChorusVst.h"
#include "shell/PluginEntry.h"
#include "tests/reference/ReferenceChorus.h"

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

struct Mode {
    const char* name;
    int32_t taps;     // choice: 0 → 2 taps, 1 → 3, 2 → 4
    int32_t waveform; // 0 Sine, 1 Wander
};

constexpr std::array<Mode, 6> kModes{{{"2tap_sine", 0, 0},
                                      {"3tap_sine", 1, 0},
                                      {"4tap_sine", 2, 0},
                                      {"2tap_wander", 0, 1},
                                      {"3tap_wander", 1, 1},
                                      {"4tap_wander", 2, 1}}};

// Stereo input noise and room for the output.
struct Buffers {
    explicit Buffers(int32_t frames) {
        std::mt19937 generator(12345);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        for (int channel = 0; channel < 2; ++channel) {
            in[channel].resize(static_cast<size_t>(frames));
            out[channel].resize(static_cast<size_t>(frames));
            wide[channel].resize(static_cast<size_t>(frames));
            std::generate(in[channel].begin(), in[channel].end(), [&] { return noise(generator); });
            inputs[channel] = in[channel].data();
            outputs[channel] = out[channel].data();
            wideOutputs[channel] = wide[channel].data();
        }
    }
    std::vector<float> in[2];
    std::vector<float> out[2];
    std::vector<double> wide[2];
    float* inputs[2];
    float* outputs[2];
    double* wideOutputs[2];
};

void reportFrames(benchmark::State& state, int32_t frames) {
    state.SetItemsProcessed(state.iterations() * frames);
    // Seconds per frame; the console shows it with its unit, e.g. "15.2ns".
    state.counters["ns_per_frame"] = benchmark::Counter(
        static_cast<double>(frames),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The least a callback can do: copy both channels through.
[[gnu::noinline]] void copyCallback(float** inputs, float** outputs, int32_t frames) {
    for (int channel = 0; channel < 2; ++channel) {
        std::copy(inputs[channel], inputs[channel] + frames, outputs[channel]);
    }
}

void BM_CopyBaseline(benchmark::State& state) {
    Buffers buffers(kBlockFrames);
    for (auto _ : state) {
        copyCallback(buffers.inputs, buffers.outputs, kBlockFrames);
        benchmark::ClobberMemory();
    }
    reportFrames(state, kBlockFrames);
}

// Depth, speed and mix at one half, run until the glides have ended and the Wander drift has
// started.
std::unique_ptr<QuilloryChorusVst> settledEffect(const Mode& mode, VectorUnit unit,
                                                 Buffers& buffers, int32_t blockFrames) {
    auto effect = std::make_unique<QuilloryChorusVst>(nullptr);
    effect->chorus.vectorUnit = unit;
    effect->setSampleRate(kSampleRate);
    effect->setParameter(kParamTaps, static_cast<float>(mode.taps) / 2.0f);
    effect->setParameter(kParamWaveform, static_cast<float>(mode.waveform));
    for (const int32_t param : {kParamDepth, kParamSpeed, kParamMix}) {
        effect->setParameter(param, 0.5f);
    }
    for (int32_t done = 0; done < kSettleFrames; done += blockFrames) {
        effect->processReplacing(buffers.inputs, buffers.outputs, blockFrames);
    }
    return effect;
}

void BM_Settled(benchmark::State& state, Mode mode, VectorUnit unit, int32_t blockFrames) {
    Buffers buffers(blockFrames);
    const auto effect = settledEffect(mode, unit, buffers, blockFrames);
    for (auto _ : state) {
        effect->processReplacing(buffers.inputs, buffers.outputs, blockFrames);
        benchmark::ClobberMemory();
    }
    reportFrames(state, blockFrames);
}

// Depth, speed and mix get a new value before every block, so all three glides run
// throughout; the three calls count in the time, as they would in a host.
void BM_Gliding(benchmark::State& state, Mode mode, VectorUnit unit) {
    Buffers buffers(kBlockFrames);
    const auto effect = settledEffect(mode, unit, buffers, kBlockFrames);
    bool high = false;
    for (auto _ : state) {
        high = !high;
        for (const int32_t param : {kParamDepth, kParamSpeed, kParamMix}) {
            effect->setParameter(param, high ? 0.6f : 0.4f);
        }
        effect->processReplacing(buffers.inputs, buffers.outputs, kBlockFrames);
        benchmark::ClobberMemory();
    }
    reportFrames(state, kBlockFrames);
}

// The same work frame by frame, tap by tap, with the library's sine and exponential.
void BM_Reference(benchmark::State& state, Mode mode, bool gliding) {
    Buffers buffers(kBlockFrames);
    auto chorus = std::make_unique<reference::ReferenceChorus>();
    chorus->choose(Choice::taps, mode.taps);
    chorus->choose(Choice::waveform, mode.waveform);
    for (const Setting setting : {Setting::depth, Setting::speed, Setting::mix}) {
        chorus->startGlide(setting, 0.5);
    }
    for (int32_t done = 0; done < kSettleFrames; done += kBlockFrames) {
        chorus->process(buffers.inputs, buffers.wideOutputs, kBlockFrames);
    }
    bool high = false;
    for (auto _ : state) {
        if (gliding) {
            high = !high;
            for (const Setting setting : {Setting::depth, Setting::speed, Setting::mix}) {
                chorus->startGlide(setting, high ? 0.6 : 0.4);
            }
        }
        chorus->process(buffers.inputs, buffers.wideOutputs, kBlockFrames);
        benchmark::ClobberMemory();
    }
    reportFrames(state, kBlockFrames);
}

// Creating the plug-in as a host does, and closing it again.
void BM_CreateAndClose(benchmark::State& state) {
    for (auto _ : state) {
        AudioEffect* effect = createEffectInstance(nullptr);
        benchmark::DoNotOptimize(effect);
        delete effect;
    }
}

const bool registered = [] {
    const VectorUnit best = bestVectorUnit();
    const std::string bestName = best == VectorUnit::avx2 ? "avx2" : "baseline";
    benchmark::RegisterBenchmark("BM_CopyBaseline", BM_CopyBaseline);
    for (const Mode& mode : kModes) {
        benchmark::RegisterBenchmark(("BM_Settled/" + bestName + "/" + mode.name).c_str(),
                                     BM_Settled, mode, best, kBlockFrames);
        benchmark::RegisterBenchmark(("BM_Gliding/" + bestName + "/" + mode.name).c_str(),
                                     BM_Gliding, mode, best);
        benchmark::RegisterBenchmark((std::string("BM_Reference/settled/") + mode.name).c_str(),
                                     BM_Reference, mode, false);
        benchmark::RegisterBenchmark((std::string("BM_Reference/gliding/") + mode.name).c_str(),
                                     BM_Reference, mode, true);
        if (best != VectorUnit::baseline) {
            benchmark::RegisterBenchmark((std::string("BM_Settled/baseline/") + mode.name).c_str(),
                                         BM_Settled, mode, VectorUnit::baseline, kBlockFrames);
            benchmark::RegisterBenchmark((std::string("BM_Gliding/baseline/") + mode.name).c_str(),
                                         BM_Gliding, mode, VectorUnit::baseline);
        }
    }
    for (const int32_t blockFrames : {1, 32, 4096}) {
        benchmark::RegisterBenchmark(
            ("BM_BlockSize/" + bestName + "/4tap_wander/" + std::to_string(blockFrames)).c_str(),
            BM_Settled, kModes[5], best, blockFrames);
    }
    benchmark::RegisterBenchmark("BM_CreateAndClose", BM_CreateAndClose);
    return true;
}();

} // namespace
} // namespace quillory
