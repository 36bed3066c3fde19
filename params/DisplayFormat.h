#pragma once
// Display texts of the five parameters. Each quantity is rounded to single precision before
// it is formatted, and the texts never depend on the process's locale: hosts often set one
// whose decimal separator is a comma. Every function writes at most 42 characters plus the
// terminator.

#include <cstdint>

namespace quillory {

// "0.1ms" (below 10 ms, one decimal), "59ms" (below 1 s), "1.2s" (from 1 s).
void formatTime(double seconds, char* text);
// "0.63Hz" (below 10 Hz), "10.0Hz" (below 100 Hz), "120Hz".
void formatFrequency(double hertz, char* text);
// "2", "3", "4" for the choices 0, 1, 2; "Error" otherwise.
void formatTaps(int32_t choice, char* text);
// "Sine" for 0, "Wander" for 1; "Error" otherwise.
void formatWaveform(int32_t choice, char* text);
// Dry share then wet share: "56.9% 43.1%".
void formatMix(double wetShare, char* text);

} // namespace quillory
