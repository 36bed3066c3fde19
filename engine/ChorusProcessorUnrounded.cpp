// The processing path with unrounded output, for tests that measure it against a reference.
// In a file of its own, so that the plug-in does not carry it.

#include "engine/ChorusProcessor.h"
#include "engine/StretchKernel.h"

namespace quillory {
namespace {

int32_t runBaseline(ChorusProcessor& chorus, const float* const* inputs, double* const* outputs,
                    int32_t start, int32_t end) {
    return stages::runForMode<false>(chorus, inputs, outputs, start, end);
}

#if QUILLORY_AVX2_PATH
[[gnu::target("avx2,fma")]] int32_t runAvx2(ChorusProcessor& chorus, const float* const* inputs,
                                            double* const* outputs, int32_t start, int32_t end) {
    return stages::runForMode<true>(chorus, inputs, outputs, start, end);
}
#endif

} // namespace

void ChorusProcessor::process(const float* const* inputs, double* const* outputs, int32_t frames) {
#if QUILLORY_AVX2_PATH
    if (vectorUnit == VectorUnit::avx2) {
        processBlock(inputs, outputs, frames, runAvx2);
        return;
    }
#endif
    processBlock(inputs, outputs, frames, runBaseline);
}

} // namespace quillory
