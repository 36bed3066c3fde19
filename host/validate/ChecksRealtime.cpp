// Real-time safety: no heap allocation, lock or blocking call inside processReplacing, and
// clean output with flush-to-zero both on and off, the host's floating-point mode left as
// it was found.

#include "host/validate/Check.h"
#include "host/validate/PluginUnderTest.h"
#include "host/validate/RealtimeAudit.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#define QUILLORY_HAS_MXCSR 1
#endif

namespace quillory::validate {
namespace {

// Plain buffers set up once, so that nothing but the plug-in's own code runs between
// entering and leaving the audited scope.
class PlainBlock {
public:
    PlainBlock(const AEffect& record, int32_t frames, uint64_t seed)
        : inputs(testSignal(record.numInputs, static_cast<size_t>(frames), seed)),
          outputs(silence(record.numOutputs, static_cast<size_t>(frames))) {
        for (auto& channel : inputs) {
            inputPointers.push_back(channel.data());
        }
        for (auto& channel : outputs) {
            outputPointers.push_back(channel.data());
        }
    }
    float** in() { return inputPointers.data(); }
    float** out() { return outputPointers.data(); }

private:
    Channels inputs;
    Channels outputs;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
};

CheckResult noAllocationLockOrBlocking(const CheckContext& context) {
    if (!audit::available()) {
        skipCheck(audit::unavailableReason());
    }
    auto plugin = createPlugin(context);
    AEffect* effect = plugin->effect();
    constexpr int32_t kBlock = 256;
    startPlugin(*plugin, 44100.0f, kBlock);
    PlainBlock block(*effect, kBlock, context.seed);
    Random random(context.seed, 0x4EA1);
    const int blocks = scaledCount(context.level, 200, 1000);
    audit::resetCounts();
    for (int i = 0; i < blocks; ++i) {
        // A parameter change before every block, outside the audited scope, gives the
        // plug-in's change handling on the audio side something to do.
        if (effect->numParams > 0) {
            effect->setParameter(effect, random.below(effect->numParams),
                                 static_cast<float>(random.uniform()));
        }
        audit::AudioScope scope;
        effect->processReplacing(effect, block.in(), block.out(), kBlock);
    }
    const audit::Counts counts = audit::counts();
    require(counts.allocations + counts.locks + counts.blocking == 0,
            "inside processReplacing over " + std::to_string(blocks) +
                " blocks: " + std::to_string(counts.allocations) + " allocator calls, " +
                std::to_string(counts.locks) + " lock operations, " +
                std::to_string(counts.blocking) + " blocking calls (first: " +
                (counts.firstCall != nullptr ? counts.firstCall : "?") + ")");
    return passed();
}

#ifdef QUILLORY_HAS_MXCSR
// Flush-to-zero (results) and denormals-are-zero (operands).
constexpr unsigned kFlushBits = 0x8040u;

// A signal that decays from full scale to 1e-20 and then stops: recursive filters and
// feedback paths are driven into the range where denormals appear.
Channels decayingSignal(int channels, size_t frames) {
    Channels signal = silence(channels, frames);
    const size_t decay = frames / 2;
    for (auto& channel : signal) {
        for (size_t i = 0; i < decay; ++i) {
            const double envelope =
                std::pow(1e-20, static_cast<double>(i) / static_cast<double>(decay));
            channel[i] = static_cast<float>(envelope * std::sin(0.05 * static_cast<double>(i)));
        }
    }
    return signal;
}

void renderInMode(const CheckContext& context, bool flush) {
    auto plugin = createPlugin(context);
    startPlugin(*plugin, 44100.0f, 512);
    const unsigned original = _mm_getcsr();
    const unsigned mode = flush ? (original | kFlushBits) : (original & ~kFlushBits);
    const Channels input = decayingSignal(plugin->effect()->numInputs, 4 * 44100);
    const std::string situation = flush ? "with flush-to-zero on" : "with flush-to-zero off";
    _mm_setcsr(mode);
    Channels output;
    unsigned after = mode;
    const size_t frames = input.empty() ? 0 : input[0].size();
    constexpr size_t kPiece = 4096;
    for (size_t start = 0; start < frames && after == mode; start += kPiece) {
        const size_t end = std::min(start + kPiece, frames);
        Channels piece(input.size());
        for (size_t c = 0; c < input.size(); ++c) {
            piece[c].assign(input[c].begin() + static_cast<std::ptrdiff_t>(start),
                            input[c].begin() + static_cast<std::ptrdiff_t>(end));
        }
        try {
            requireCleanOutput(processAudio(*plugin, piece, {}),
                               situation + " (from frame " + std::to_string(start) + ")");
        } catch (...) {
            _mm_setcsr(original);
            throw;
        }
        after = _mm_getcsr();
    }
    _mm_setcsr(original);
    require(after == mode, "processReplacing changed the thread's floating-point mode " +
                               situation + " (MXCSR " + std::to_string(mode) + " became " +
                               std::to_string(after) + ") and left it changed");
}

CheckResult floatModes(const CheckContext& context) {
    renderInMode(context, false);
    renderInMode(context, true);
    return passed();
}
#else
CheckResult floatModes(const CheckContext&) {
    skipCheck("flush-to-zero is switched through the x86 MXCSR register, which this "
              "processor lacks");
}
#endif

} // namespace

void addRealtimeChecks(std::vector<Check>& checks) {
    checks.insert(checks.end(),
                  {{"realtime.no-alloc-lock-block", "realtime", 8, 60, noAllocationLockOrBlocking,
                    "no heap allocation, lock or blocking call inside processReplacing over "
                    "200 to 1000 blocks, counted on the audio thread"},
                   {"realtime.float-modes", "realtime", 8, 60, floatModes,
                    "a signal decaying to 1e-20 then silence, with flush-to-zero off and on: "
                    "clean output, the floating-point mode left as found"}});
}

} // namespace quillory::validate
