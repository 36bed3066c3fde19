#pragma once
// The parity set: a fixed test signal rendered through every program of a plug-in, one WAV
// file per program, so that builds for different platforms can be compared sample by
// sample.

#include <string>

namespace quillory::conformance {

// Frames rendered per program: past the first Wander draw (50,000 frames after a program
// is selected) and past one wrap of the delay lines.
constexpr int kParityFrames = 70000;
// Frames of the Wander programs that must agree between builds: their random draws differ
// from instance to instance, but not before the first draw. The drift clock reaches 1 on
// the 50,000th frame after the program is selected, and that frame's modulation already
// follows the new draw, so the frames before it are the first 49,999.
constexpr int kWanderParityFrames = 49999;

// Renders the set into `directory` (which must exist) as NN-sine.wav / NN-wander.wav;
// answers 0, or 1 after printing what failed.
int renderParitySet(const std::string& pluginPath, const std::string& directory);

// Compares two sets; prints the largest difference per program and answers 0 when every
// program agrees within `tolerance`, 1 otherwise.
int compareParitySets(const std::string& first, const std::string& second, double tolerance);

} // namespace quillory::conformance
