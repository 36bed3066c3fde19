#pragma once
// One program: a name and a value for each of the five parameters. The effect keeps two
// arrays of these, the working programs the host edits and the factory copy of the bank.

#include <cstdint>

namespace quillory {

class ParameterOwner;

constexpr int32_t kNumPrograms = 16;
constexpr int32_t kProgramNameLength = 24; // characters, without the end of string

struct ChorusProgram {
    char name[kProgramNameLength + 1] = {}; // always NUL-terminated
    double depth = 0.5;                     // normalised 0..1
    double speed = 0.5;                     // normalised 0..1
    int32_t taps = 1;                       // choice 0, 1, 2 for 2, 3, 4 taps
    int32_t waveform = 0;                   // choice 0 Sine, 1 Wander
    double mix = 0.5;                       // normalised 0..1, dry/wet balance
    ParameterOwner* effect = nullptr;       // owning effect, set after the bank is loaded
};

} // namespace quillory
