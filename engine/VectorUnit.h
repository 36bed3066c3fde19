#pragma once
// The vector instruction sets the audio path is built for. Every machine the plug-in runs on
// has the baseline (SSE2 on x86); 64-bit x86 builds for Linux also carry a copy of the audio
// path for AVX2 with fused multiply-add, chosen at run time where the processor has it. (The
// Windows builds keep to the baseline: their compiler does not keep the stack aligned for
// 32-byte spills.)

#if defined(__x86_64__) && !defined(_WIN32)
#define QUILLORY_AVX2_PATH 1
#else
#define QUILLORY_AVX2_PATH 0
#endif

namespace quillory {

enum class VectorUnit { baseline, avx2 };

// Whether this build carries the path for `unit` and this processor can run it.
bool vectorUnitAvailable(VectorUnit unit);
// The widest unit available.
VectorUnit bestVectorUnit();

} // namespace quillory
