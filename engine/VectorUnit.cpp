#include "engine/VectorUnit.h"

namespace quillory {

bool vectorUnitAvailable(VectorUnit unit) {
    switch (unit) {
    case VectorUnit::baseline:
        return true;
    case VectorUnit::avx2:
#if QUILLORY_AVX2_PATH
        // Also true only when the operating system saves the wide registers.
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
        return false;
#endif
    }
    return false;
}

VectorUnit bestVectorUnit() {
    return vectorUnitAvailable(VectorUnit::avx2) ? VectorUnit::avx2 : VectorUnit::baseline;
}

} // namespace quillory
