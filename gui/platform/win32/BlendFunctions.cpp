#include "gui/platform/win32/BlendFunctions.h"

namespace quillory::gui::win32 {

namespace {
// GetProcAddress answers a generic function pointer; the cast to the real signature goes
// through void* because the two function types are unrelated.
template <typename Function> Function lookUp(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

BlendFunctions load() {
    BlendFunctions found;
    if (HMODULE library = LoadLibraryA("msimg32.dll")) {
        found.transparentBlt = lookUp<TransparentBltFunction>(library, "TransparentBlt");
        found.alphaBlend = lookUp<AlphaBlendFunction>(library, "AlphaBlend");
    }
    return found;
}
} // namespace

const BlendFunctions& blendFunctions() {
    static const BlendFunctions functions = load(); // thread-safe initialisation
    return functions;
}

} // namespace quillory::gui::win32
