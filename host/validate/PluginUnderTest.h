#pragma once
// The plug-in as one check drives it: loaded and created afresh, answered by a quiet host
// (no request log, so requests from the audio thread take no lock), and the audio helpers
// every family shares: buffers guarded at both ends, repeatable test signals, and scans of
// what comes out.

#include "host/lib/HostedPlugin.h"
#include "host/validate/Check.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quillory::validate {

// Loads the library and creates the effect through `entryName` (VSTPluginMain, else main,
// by default). Fails the check when no effect comes back.
std::unique_ptr<host::HostedPlugin> createPlugin(const CheckContext& context,
                                                 const char* entryName = nullptr);

// effOpen, sample rate, block size, then resume (effMainsChanged 1).
void startPlugin(host::HostedPlugin& plugin, float sampleRate, int32_t blockSize);
void suspendPlugin(host::HostedPlugin& plugin);

using Channels = std::vector<std::vector<float>>;

// `frames` frames of noise over a sine, within ±0.5, the same for the same seed.
Channels testSignal(int channels, size_t frames, uint64_t seed);
Channels silence(int channels, size_t frames);

struct ProcessOptions {
    int32_t blockSize = 512;
    bool inPlace = false;
};

// Runs `input` (one vector per plug-in input) through processReplacing in blocks and
// returns the outputs. Fails the check when the plug-in writes outside the frames it was
// given, or, when not in place, writes to its input buffers.
Channels processAudio(host::HostedPlugin& plugin, const Channels& input,
                      const ProcessOptions& options);

// Fails the check on the first sample that is not finite or is denormal, naming where.
void requireCleanOutput(const Channels& output, const std::string& situation);
float peakOf(const Channels& audio, size_t fromFrame = 0);
// Largest difference between two equally long signals.
float largestDifference(const Channels& a, const Channels& b);

// A text answer read into a buffer with a canary after `limit` + 1 bytes: fails the check
// when the answer runs past its limit or lacks its terminator.
std::string readText(host::HostedPlugin& plugin, int32_t opcode, int32_t index, size_t limit,
                     const std::string& what, intptr_t value = 0);

// Small helpers for messages.
std::string describe(double value);
// How many items a check looks at: `all` when the level allows, otherwise a share of them.
int scaledCount(int level, int atLevelOne, int atLevelTen);

// A reproducible generator for values and choices, seeded from the run's seed and a
// per-check salt so that one check's randomness does not depend on another's.
class Random {
public:
    Random(uint64_t seed, uint64_t salt) : state(seed * 0x9E3779B97F4A7C15ull + salt + 1) {}
    uint64_t next();
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    int below(int bound) { return static_cast<int>(next() % static_cast<uint64_t>(bound)); }

private:
    uint64_t state;
};

} // namespace quillory::validate
