#pragma once
// 32-bit float stereo WAV files, read and written without a library: the Windows test host
// has no audio-file library, and the parity check only ever exchanges its own files.

#include <string>
#include <vector>

namespace quillory::conformance {

struct StereoSignal {
    std::vector<float> left;
    std::vector<float> right;
};

// Writes `signal` at `sampleRate`; false when the file cannot be written.
bool writeWav(const std::string& path, const StereoSignal& signal, int sampleRate);
// Reads a file written by writeWav; false when it is missing or not such a file.
bool readWav(const std::string& path, StereoSignal& signal);

} // namespace quillory::conformance
