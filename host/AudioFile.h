#pragma once
// Reading and writing sound files with libsndfile. Output never appears half-written: it is
// written to a temporary file beside the destination and renamed into place only when
// complete; on any failure, or when the program is interrupted, the temporary is removed.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct sf_private_tag; // libsndfile's SNDFILE

namespace quillory::host {

enum class SampleFormat { Float, Pcm16, Pcm24 };
enum class Container { Wav, Aiff, Flac };

// By extension, ignoring case: .aif/.aiff/.aifc, .flac, and WAV for anything else.
Container containerFor(const std::string& path);
// FLAC cannot hold floating point, so 24-bit there; 32-bit float otherwise.
SampleFormat defaultSampleFormat(Container container);

class AudioReader {
public:
    // Opens a sound file; throws std::runtime_error naming the file and the problem.
    explicit AudioReader(const std::string& path);
    ~AudioReader();

    AudioReader(const AudioReader&) = delete;
    AudioReader& operator=(const AudioReader&) = delete;

    int channels() const { return channelCount; }
    int sampleRate() const { return rate; }
    int64_t frames() const { return frameCount; }

    // Reads up to `frames` frames into one buffer per channel (resized to fit); answers how
    // many frames were read, 0 at the end of the file.
    size_t read(std::vector<std::vector<float>>& channelBuffers, size_t frames);

private:
    std::string path;
    int descriptor = -1;
    sf_private_tag* file = nullptr;
    int channelCount = 0;
    int rate = 0;
    int64_t frameCount = 0;
    std::vector<float> interleaved;
};

class AudioWriter {
public:
    // Creates the temporary file beside `path`; throws std::runtime_error when it cannot.
    AudioWriter(const std::string& path, int channels, int sampleRate, Container container,
                SampleFormat format);
    // Removes the temporary file unless commit() succeeded.
    ~AudioWriter();

    AudioWriter(const AudioWriter&) = delete;
    AudioWriter& operator=(const AudioWriter&) = delete;

    // Appends `frames` frames, one buffer per channel.
    void write(std::span<const float* const> channelBuffers, size_t frames);
    // Completes the file and moves it to its name.
    void commit();

private:
    void discard();

    std::string path;
    std::string temporaryPath;
    int descriptor = -1;
    sf_private_tag* file = nullptr;
    int channelCount;
    std::vector<float> interleaved;
};

} // namespace quillory::host
