#include "params/DisplayFormat.h"

#include "shell/ValueText.h"

#include <charconv>
#include <cstring>

namespace quillory {
namespace {

constexpr int32_t kTextLength = 42;

// Appends `value` with `decimals` digits after the point, rounded to nearest, then `suffix`.
// Returns the new end of the text.
char* appendFixed(char* out, char* end, float value, int decimals, const char* suffix) {
    const std::to_chars_result written =
        std::to_chars(out, end, static_cast<double>(value), std::chars_format::fixed, decimals);
    if (written.ec != std::errc()) {
        // Only a value far outside the parameter ranges can fail to fit.
        copyString(out, "Error", static_cast<int32_t>(end - out));
        return out + std::strlen(out);
    }
    out = written.ptr;
    while (*suffix != '\0' && out < end) {
        *out++ = *suffix++;
    }
    return out;
}

void writeFixed(char* text, float value, int decimals, const char* suffix) {
    char* end = appendFixed(text, text + kTextLength, value, decimals, suffix);
    *end = '\0';
}

} // namespace

void formatTime(double seconds, char* text) {
    const auto rounded = static_cast<float>(seconds);
    if (rounded < 0.01) {
        writeFixed(text, rounded * 1000.0f, 1, "ms");
    } else if (rounded < 1.0) {
        writeFixed(text, rounded * 1000.0f, 0, "ms");
    } else {
        writeFixed(text, rounded, 1, "s");
    }
}

void formatFrequency(double hertz, char* text) {
    const auto rounded = static_cast<float>(hertz);
    if (rounded < 10.0) {
        writeFixed(text, rounded, 2, "Hz");
    } else if (rounded < 100.0) {
        writeFixed(text, rounded, 1, "Hz");
    } else {
        writeFixed(text, rounded, 0, "Hz");
    }
}

void formatTaps(int32_t choice, char* text) {
    static const char* const kNames[] = {"2", "3", "4"};
    copyString(text, choice >= 0 && choice <= 2 ? kNames[choice] : "Error", kTextLength);
}

void formatWaveform(int32_t choice, char* text) {
    static const char* const kNames[] = {"Sine", "Wander"};
    copyString(text, choice >= 0 && choice <= 1 ? kNames[choice] : "Error", kTextLength);
}

void formatMix(double wetShare, char* text) {
    const auto wet = static_cast<float>(wetShare);
    char* end = text + kTextLength;
    char* out = appendFixed(text, end, 100.0f * (1.0f - wet), 1, "% ");
    out = appendFixed(out, end, 100.0f * wet, 1, "%");
    *out = '\0';
}

} // namespace quillory
