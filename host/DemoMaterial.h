#pragma once
// The demo's input, made in code: four strummed guitar-like chords (plucked strings after
// Karplus and Strong: a burst of noise circulating in a delay line one period long through
// an averaging filter) and then a sustained organ-like tone, about seven seconds of mono,
// peaking at -6 dBFS. The same every time.

#include <vector>

namespace quillory::host {

std::vector<float> synthesiseDemoMaterial(int sampleRate);

} // namespace quillory::host
