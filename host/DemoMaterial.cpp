#include "host/DemoMaterial.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace quillory::host {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kChordSeconds = 1.25;
constexpr double kStrumSeconds = 0.018; // between neighbouring strings
constexpr double kRingSeconds = 0.35;   // a chord rings on under the next one
constexpr double kToneSeconds = 2.0;
constexpr double kToneRelease = 0.5;
constexpr float kPeak = 0.5f; // -6 dBFS

double noteFrequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// A small fixed-seed generator, so that every run plucks the same noise.
class Noise {
public:
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / static_cast<float>(1u << 23) - 1.0f;
    }

private:
    uint32_t state = 0x51ED270Bu;
};

// Adds one plucked string to `out` from frame `start` on, fading out over its last 50 ms.
void pluck(std::vector<float>& out, size_t start, double frequency, double seconds, int sampleRate,
           Noise& noise) {
    // The averaging filter delays by half a frame, so the line is half a frame shorter.
    const auto period =
        static_cast<size_t>(std::max(2L, std::lround(sampleRate / frequency - 0.5)));
    std::vector<float> line(period);
    float previous = 0.0f;
    float sum = 0.0f;
    for (float& sample : line) {
        // Slightly smoothed noise gives a softer, rounder attack.
        previous = 0.5f * (previous + noise.next());
        sample = previous;
        sum += sample;
    }
    // The filter keeps any offset the burst has; removing it keeps the string centred.
    const float mean = sum / static_cast<float>(period);
    for (float& sample : line) {
        sample -= mean;
    }
    const auto frames = static_cast<size_t>(seconds * sampleRate);
    const auto fade = static_cast<size_t>(0.05 * sampleRate);
    for (size_t n = 0; n < frames && start + n < out.size(); ++n) {
        const size_t i = n % period;
        const float current = line[i];
        line[i] = 0.4985f * (current + line[(i + 1) % period]);
        const float envelope = n + fade < frames ? 1.0f : float(frames - n) / float(fade);
        out[start + n] += 0.3f * envelope * current;
    }
}

// A tone of five harmonics falling off like a sawtooth's, with a soft attack and release.
void sustain(std::vector<float>& out, size_t start, double frequency, double seconds,
             int sampleRate) {
    const auto frames = static_cast<size_t>(seconds * sampleRate);
    const double attack = 0.15 * sampleRate;
    const double release = kToneRelease * sampleRate;
    for (size_t n = 0; n < frames && start + n < out.size(); ++n) {
        const double t = double(n) / sampleRate;
        double sample = 0.0;
        for (int harmonic = 1; harmonic <= 5; ++harmonic) {
            sample += std::sin(2.0 * kPi * frequency * harmonic * t) / harmonic;
        }
        const double envelope = std::min({1.0, double(n) / attack, double(frames - n) / release});
        out[start + n] += static_cast<float>(0.25 * envelope * sample);
    }
}

} // namespace

std::vector<float> synthesiseDemoMaterial(int sampleRate) {
    // Guitar voicings of C, A minor, F and G, as MIDI note numbers from the lowest string.
    const std::initializer_list<int> chords[] = {{48, 52, 55, 60, 64},
                                                 {45, 52, 57, 60, 64},
                                                 {41, 48, 53, 57, 60, 65},
                                                 {43, 47, 50, 55, 59, 67}};
    const double chordsSeconds = kChordSeconds * std::size(chords);
    std::vector<float> out(static_cast<size_t>((chordsSeconds + kToneSeconds + 0.25) * sampleRate));

    Noise noise;
    size_t chordStart = 0;
    for (const auto& chord : chords) {
        int string = 0;
        for (int note : chord) {
            const auto strum = static_cast<size_t>(string++ * kStrumSeconds * sampleRate);
            pluck(out, chordStart + strum, noteFrequency(note), kChordSeconds + kRingSeconds,
                  sampleRate, noise);
        }
        chordStart += static_cast<size_t>(kChordSeconds * sampleRate);
    }
    sustain(out, chordStart, noteFrequency(57), kToneSeconds, sampleRate);

    float peak = 0.0f;
    for (float sample : out) {
        peak = std::max(peak, std::fabs(sample));
    }
    if (peak > 0.0f) {
        for (float& sample : out) {
            sample *= kPeak / peak;
        }
    }
    return out;
}

} // namespace quillory::host
