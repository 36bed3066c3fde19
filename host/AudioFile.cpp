#include "host/AudioFile.h"

#include "host/Text.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory::host {
namespace {

std::string systemError() {
    return std::strerror(errno);
}

int sndfileFormat(Container container, SampleFormat format) {
    const int major = container == Container::Aiff   ? SF_FORMAT_AIFF
                      : container == Container::Flac ? SF_FORMAT_FLAC
                                                     : SF_FORMAT_WAV;
    const int subtype = format == SampleFormat::Pcm16   ? SF_FORMAT_PCM_16
                        : format == SampleFormat::Pcm24 ? SF_FORMAT_PCM_24
                                                        : SF_FORMAT_FLOAT;
    return major | subtype;
}

// The temporary file being written, for removal when a signal ends the program. Only one
// output is written at a time.
char interruptedTemporary[PATH_MAX];
volatile std::sig_atomic_t haveTemporary = 0;

extern "C" void removeTemporaryAndStop(int signalNumber) {
    if (haveTemporary != 0) {
        unlink(interruptedTemporary);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void watchTemporary(const std::string& path) {
    static const bool installed = [] {
        for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
            std::signal(signalNumber, removeTemporaryAndStop);
        }
        return true;
    }();
    (void)installed;
    haveTemporary = 0;
    if (path.size() < sizeof interruptedTemporary) {
        std::memcpy(interruptedTemporary, path.c_str(), path.size() + 1);
        haveTemporary = 1;
    }
}

void forgetTemporary() {
    haveTemporary = 0;
}

} // namespace

Container containerFor(const std::string& path) {
    const std::string extension = lowerCase(std::filesystem::path(path).extension().string());
    if (extension == ".aif" || extension == ".aiff" || extension == ".aifc") {
        return Container::Aiff;
    }
    return extension == ".flac" ? Container::Flac : Container::Wav;
}

SampleFormat defaultSampleFormat(Container container) {
    return container == Container::Flac ? SampleFormat::Pcm24 : SampleFormat::Float;
}

AudioReader::AudioReader(const std::string& filePath) : path(filePath) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw std::runtime_error(path + " is a folder, not an audio file");
    }
    descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throw std::runtime_error("cannot read " + path + ": " + systemError());
    }
    // The descriptor stays this object's to close, whatever libsndfile makes of it.
    SF_INFO info{};
    file = sf_open_fd(descriptor, SFM_READ, &info, SF_FALSE);
    if (file == nullptr) {
        const std::string reason = sf_strerror(nullptr);
        ::close(descriptor);
        throw std::runtime_error(path + " is not an audio file that can be read (" + reason + ")");
    }
    channelCount = info.channels;
    rate = info.samplerate;
    frameCount = info.frames;
}

AudioReader::~AudioReader() {
    sf_close(file);
    ::close(descriptor);
}

size_t AudioReader::read(std::vector<std::vector<float>>& channelBuffers, size_t frames) {
    const auto channels = static_cast<size_t>(channelCount);
    interleaved.resize(frames * channels);
    const sf_count_t got =
        sf_readf_float(file, interleaved.data(), static_cast<sf_count_t>(frames));
    const auto count = static_cast<size_t>(std::max<sf_count_t>(got, 0));
    channelBuffers.resize(channels);
    for (size_t channel = 0; channel < channels; ++channel) {
        channelBuffers[channel].resize(count);
        for (size_t i = 0; i < count; ++i) {
            channelBuffers[channel][i] = interleaved[i * channels + channel];
        }
    }
    return count;
}

AudioWriter::AudioWriter(const std::string& filePath, int channels, int sampleRate,
                         Container container, SampleFormat format)
    : path(filePath), channelCount(channels) {
    const std::filesystem::path destination(path);
    const std::filesystem::path folder =
        destination.has_parent_path() ? destination.parent_path() : ".";
    std::string hiddenName = ".";
    hiddenName.append(destination.filename().string()).append(".partial-XXXXXX");
    std::string pattern = (folder / hiddenName).string();
    descriptor = mkostemp(pattern.data(), O_CLOEXEC);
    if (descriptor < 0) {
        throw std::runtime_error("cannot write " + path + ": " + systemError());
    }
    temporaryPath = pattern;
    watchTemporary(temporaryPath);
    // mkstemp makes the file private; the finished file gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);

    SF_INFO info{};
    info.channels = channels;
    info.samplerate = sampleRate;
    info.format = sndfileFormat(container, format);
    if (sf_format_check(&info) == SF_FALSE) {
        discard();
        throw std::runtime_error("cannot write " + path + ": the format cannot hold " +
                                 std::to_string(channels) + " channels at " +
                                 std::to_string(sampleRate) + " Hz");
    }
    file = sf_open_fd(descriptor, SFM_WRITE, &info, SF_FALSE);
    if (file == nullptr) {
        const std::string reason = sf_strerror(nullptr);
        discard();
        throw std::runtime_error("cannot write " + path + ": " + reason);
    }
    // Whole-number formats clip loud samples instead of wrapping them around.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioWriter::~AudioWriter() {
    discard();
}

void AudioWriter::discard() {
    if (file != nullptr) {
        sf_close(file);
        file = nullptr;
    }
    if (descriptor >= 0) {
        ::close(descriptor);
        descriptor = -1;
    }
    if (!temporaryPath.empty()) {
        forgetTemporary();
        ::unlink(temporaryPath.c_str());
        temporaryPath.clear();
    }
}

void AudioWriter::write(std::span<const float* const> channelBuffers, size_t frames) {
    const auto channels = static_cast<size_t>(channelCount);
    interleaved.resize(frames * channels);
    for (size_t channel = 0; channel < channels; ++channel) {
        for (size_t i = 0; i < frames; ++i) {
            interleaved[i * channels + channel] = channelBuffers[channel][i];
        }
    }
    const sf_count_t written =
        sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(frames));
    if (written != static_cast<sf_count_t>(frames)) {
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(file));
    }
}

void AudioWriter::commit() {
    const int closeError = sf_close(file);
    file = nullptr;
    if (closeError != 0) {
        throw std::runtime_error("cannot write " + path + ": " + sf_error_number(closeError));
    }
    // The data must be on disk before the name points at it.
    const bool flushed = ::fsync(descriptor) == 0;
    const int flushError = errno;
    ::close(descriptor);
    descriptor = -1;
    if (!flushed) {
        errno = flushError;
        throw std::runtime_error("cannot write " + path + ": " + systemError());
    }
    if (std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        throw std::runtime_error("cannot write " + path + ": " + systemError());
    }
    forgetTemporary();
    temporaryPath.clear();
}

} // namespace quillory::host
