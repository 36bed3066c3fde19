#pragma once
// The whole processing state of the chorus: two circular delay lines read by up to four
// moving taps, the modulation that sweeps the taps' delays, and the mappings from the
// depth and speed settings to delays and phase steps. A plain structure held by value in
// the effect; it allocates nothing, so its megabyte of delay memory travels with the effect.

#include "engine/ChorusTap.h"
#include "engine/RandomSource.h"

#include <cstdint>

namespace quillory {

struct ChorusEngine {
    static constexpr int32_t kLineLength = 65536; // frames of history per channel
    static constexpr int32_t kMaxTaps = 4;
    static constexpr double kTwoPi = 6.283185307179586;

    // Bits of `mode`: the taps choice (0 → 2 taps, 1 → 3, 2 → 4) in bits 0-2 and the
    // waveform choice (0 Sine, 1 Wander) in bits 3-5.
    static constexpr uint32_t kTapsMask = 0x07;
    static constexpr uint32_t kWaveformMask = 0x38;
    static constexpr uint32_t kWaveformShift = 3;

    double depthBase;      // smallest modulation depth, seconds
    double depthLogRange;  // ln of the ratio between largest and smallest depth
    double periodBase;     // shortest modulation period, seconds
    double periodLogRange; // ln of the ratio between longest and shortest period
    uint32_t mode;
    double phaseIncrement; // modulation phase step per frame, radians
    double outLeft;
    double outRight;
    double modDepth;    // frames the taps swing around the centre delay
    double centerDelay; // frames
    int32_t writeIndex; // slot that receives the next input frame
    // One slot past the end repeats slot 0, so that the pair of frames an interpolated
    // read needs always lies side by side in memory.
    double lineLeft[kLineLength + 1];
    double lineRight[kLineLength + 1];
    ChorusTap tapStates[kMaxTaps];
    RandomSource random; // drives the Wander waveform's drift

    // Clears the lines and taps and sets the start-up modulation; leaves `mode`, the range
    // constants and the random source alone.
    void reset();
    // Depth spans 0.1 ms to 500 ms and the modulation period 50 s down to 50 ms, both on
    // logarithmic scales.
    void setRangeConstants();

    // Runs the taps that `mode` selects on one input frame and leaves the result in
    // `outLeft` / `outRight`; then stores the frame in the lines.
    void processFrame(double left, double right);
    void runSineTap(int k);
    void runWanderTap(int k);

    // Lays out phases and stereo weights of the taps `mode` selects and restarts their
    // Wander drift; other modes change nothing.
    void applyMode();
    // Depth value 0..1 → `modDepth` and `centerDelay` in frames at `sampleRate`.
    void applyDepth(double value, double sampleRate);
    // Speed value 0..1 → `phaseIncrement` at `sampleRate`.
    void applySpeed(double value, double sampleRate);

    // Stores one input frame in the lines at `slot` and answers the next slot.
    int32_t writeFrame(int32_t slot, double left, double right) {
        lineLeft[slot] = left;
        lineRight[slot] = right;
        if (slot == 0) {
            lineLeft[kLineLength] = left;
            lineRight[kLineLength] = right;
        }
        return (slot + 1) & (kLineLength - 1);
    }

    // Wander tap `k`'s clock has passed 1: wind it back and draw new targets.
    void drawWanderTargets(int k);

    // The common tap read at a position already wrapped into the line: both lines with
    // two-point linear interpolation, added cross-weighted to the pair (left, right). A
    // position at the line's end reads the last slot.
    void readAt(double position, double crossWeight, double& left, double& right) const;

    // Takes a read position behind the start of the line round to the end, as often as
    // needed; the result equals adding the line length repeatedly.
    static double wrapReadPosition(double position);

    // Number of taps `mode` runs (2, 3 or 4), or 0 for a mode that runs none.
    static int tapCount(uint32_t mode);
    static bool isWander(uint32_t mode) { return (mode & kWaveformMask) != 0; }

private:
    void readTap(int k, double modulation);
};

} // namespace quillory
