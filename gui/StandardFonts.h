#pragma once
// The toolkit's eight standard fonts, selected by number; a number outside 0 ... 7 selects 0.

#include "gui/platform/Surface.h"

#include <array>
#include <cstdint>

namespace quillory {

inline constexpr int32_t kNumStandardFonts = 8;

struct StandardFont {
    const char* face;
    int32_t height; // pixels
};

inline constexpr std::array<StandardFont, kNumStandardFonts> kStandardFonts{{
    {"Arial", 12},
    {"Arial", 18},
    {"Arial", 14},
    {"Arial", 12},
    {"Arial", 11},
    {"Arial", 10},
    {"Arial", 9},
    {"Symbol", 13},
}};

// Font `number` in `style`; `height` 0 keeps the table's height.
constexpr gui::FontDescription standardFont(int32_t number, int32_t height, int32_t style) {
    const StandardFont& entry =
        kStandardFonts[number >= 0 && number < kNumStandardFonts ? number : 0];
    return gui::FontDescription{entry.face, height > 0 ? height : entry.height, style};
}

} // namespace quillory
