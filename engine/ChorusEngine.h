#pragma once
// The processing state of the chorus: two circular delay lines read by up to four moving
// taps, the modulation that sweeps the taps' delays, and the settings they run with. A plain
// structure held by value; it allocates nothing, so its megabyte of delay memory travels with
// its owner. It belongs to the audio thread: ChorusProcessor is the only thing that runs it.

#include "engine/ChorusConstants.h"
#include "engine/ChorusTap.h"
#include "engine/RandomSource.h"

#include <cstdint>

namespace quillory {

// One frame of both channels.
struct FramePair {
    double left;
    double right;
};

struct ChorusEngine {
    // `mode` holds the taps choice (0 → 2 taps, 1 → 3, 2 → 4) in bits 0–2 and the waveform
    // choice (0 Sine, 1 Wander) in bits 3–5. Any other value runs no taps at all.
    static constexpr uint32_t kTapsMask = 0x07;
    static constexpr uint32_t kWaveformMask = 0x38;
    static constexpr uint32_t kWaveformShift = 3;

    uint32_t mode = 0;
    double phaseIncrement; // modulation phase step per frame, radians
    double modDepth;       // frames the taps swing around the centre delay
    double centerDelay;    // frames
    int32_t writeIndex;    // slot that receives the next input frame
    // Both channels of a frame lie side by side, and one slot past the end repeats slot 0,
    // so that the two frames an interpolated read needs always lie together in memory.
    FramePair line[kLineLength + 1];
    ChorusTap tapStates[kMaxTaps];
    RandomSource random; // drives the Wander drift

    // Clears the lines and taps and sets the start-up modulation; leaves `mode` and the
    // random source alone.
    void reset();

    // Decodes `mode` through its masks: the number of taps it runs (2, 3 or 4), or 0 for a
    // value outside the tap layouts.
    static int tapCount(uint32_t mode);
    static bool isWander(uint32_t mode) { return (mode & kWaveformMask) != 0; }

    // A new taps or waveform choice goes into its bits of `mode`, and the taps are laid out
    // afresh even when the choice is unchanged.
    void selectTaps(int32_t choice);
    void selectWaveform(int32_t choice);
    // Lays out phases and stereo weights of the taps `mode` selects and restarts their Wander
    // drift; a mode outside the layouts changes nothing. Lines and settings stay as they are.
    void applyMode();

    // Depth setting 0..1 → `modDepth` and `centerDelay` in frames at `sampleRate`.
    void applyDepth(double value, double sampleRate);
    // Speed setting 0..1 → `phaseIncrement` at `sampleRate`.
    void applySpeed(double value, double sampleRate);

    // Stores one input frame in both lines at `slot` and answers the slot after it. Callers
    // that run many frames keep the write position in a local and store it back at the end.
    int32_t writeFrame(int32_t slot, double left, double right) {
        line[slot] = {left, right};
        if (slot == 0) {
            line[kLineLength] = line[0];
        }
        return (slot + 1) & (kLineLength - 1);
    }

    // Wander tap `k`'s clock has passed 1: wind it back and draw its next rate target, then
    // its next depth target.
    void drawWanderTargets(int k);
};

} // namespace quillory
