#include "conformance/WavFile.h"

#include <cstdint>
#include <cstring>
#include <fstream>

namespace quillory::conformance {
namespace {

constexpr uint16_t kFloatFormat = 3;
constexpr uint16_t kChannels = 2;
constexpr uint16_t kBitsPerSample = 32;
constexpr uint32_t kHeaderBytes = 44;

// The header of a canonical WAV file: RIFF, a 16-byte fmt chunk, then the data chunk. All
// fields little-endian, which every target of this program is.
struct Header {
    char riff[4];
    uint32_t riffBytes;
    char wave[4];
    char fmt[4];
    uint32_t fmtBytes;
    uint16_t format;
    uint16_t channels;
    uint32_t sampleRate;
    uint32_t byteRate;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    char data[4];
    uint32_t dataBytes;
};
static_assert(sizeof(Header) == kHeaderBytes);

} // namespace

bool writeWav(const std::string& path, const StereoSignal& signal, int sampleRate) {
    const auto frames = static_cast<uint32_t>(signal.left.size());
    const uint32_t dataBytes = frames * kChannels * sizeof(float);
    Header header{};
    std::memcpy(header.riff, "RIFF", 4);
    header.riffBytes = kHeaderBytes - 8 + dataBytes;
    std::memcpy(header.wave, "WAVE", 4);
    std::memcpy(header.fmt, "fmt ", 4);
    header.fmtBytes = 16;
    header.format = kFloatFormat;
    header.channels = kChannels;
    header.sampleRate = static_cast<uint32_t>(sampleRate);
    header.byteRate = static_cast<uint32_t>(sampleRate) * kChannels * sizeof(float);
    header.blockAlign = kChannels * sizeof(float);
    header.bitsPerSample = kBitsPerSample;
    std::memcpy(header.data, "data", 4);
    header.dataBytes = dataBytes;

    std::vector<float> interleaved(static_cast<size_t>(frames) * kChannels);
    for (uint32_t i = 0; i < frames; ++i) {
        interleaved[2 * i] = signal.left[i];
        interleaved[2 * i + 1] = signal.right[i];
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(&header), sizeof(header));
    file.write(reinterpret_cast<const char*>(interleaved.data()), dataBytes);
    return static_cast<bool>(file);
}

bool readWav(const std::string& path, StereoSignal& signal) {
    std::ifstream file(path, std::ios::binary);
    Header header{};
    if (!file.read(reinterpret_cast<char*>(&header), sizeof(header)) ||
        std::memcmp(header.riff, "RIFF", 4) != 0 || std::memcmp(header.data, "data", 4) != 0 ||
        header.format != kFloatFormat || header.channels != kChannels) {
        return false;
    }
    const uint32_t frames = header.dataBytes / (kChannels * sizeof(float));
    std::vector<float> interleaved(static_cast<size_t>(frames) * kChannels);
    if (!file.read(reinterpret_cast<char*>(interleaved.data()),
                   static_cast<std::streamsize>(interleaved.size() * sizeof(float)))) {
        return false;
    }
    signal.left.resize(frames);
    signal.right.resize(frames);
    for (uint32_t i = 0; i < frames; ++i) {
        signal.left[i] = interleaved[2 * i];
        signal.right[i] = interleaved[2 * i + 1];
    }
    return true;
}

} // namespace quillory::conformance
