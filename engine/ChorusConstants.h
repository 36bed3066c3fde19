#pragma once
// Every fixed number of the chorus, each with where it comes from. The engine, the parameter
// texts and the tests all read them from here.

#include <cstdint>

namespace quillory {

// --- Delay lines and taps -------------------------------------------------------------------

// Frames of history per channel: about 1.5 s at 44.1 kHz. A power of two, so that the write
// position wraps with a mask.
inline constexpr int32_t kLineLength = 65536;
// The tap layouts have two, three or four taps.
inline constexpr int32_t kMaxTaps = 4;

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;

// --- Depth and speed ranges -----------------------------------------------------------------

// Depth runs from 0.1 ms at setting 0 to 500 ms at setting 1 on a logarithmic scale: a ratio
// of 5000, so depth = 0.0001 s × e^(setting × ln 5000).
inline constexpr double kDepthBase = 0.0001;
inline constexpr double kDepthLogRange = 8.517193191416238; // ln 5000, rounded to double
// The modulation period runs from 50 s at setting 0 down to 0.05 s at setting 1, a ratio of
// 1000: period = 0.05 s × e^((1 − setting) × ln 1000), that is 0.02 Hz to 20 Hz.
inline constexpr double kPeriodBase = 0.05;
inline constexpr double kPeriodLogRange = 6.907755278982137; // ln 1000, rounded to double

// Above this many frames of half-depth the centre delay stops growing with the depth, so that
// deep settings do not push the whole sound far behind the beat. A count of frames, not a
// time: it does not scale with the sample rate.
inline constexpr double kCenterOffsetLimit = 440.0;

// Below 1 kHz no host runs audio, and the fastest modulation (20 Hz) would step its phase by
// more than the engine's sine evaluation covers in one frame.
inline constexpr double kLowestSampleRate = 1000.0;

// --- Start-up values ------------------------------------------------------------------------

// What the engine holds before the first program is applied: about 1.54 Hz, 11 ms and 17 ms
// at 44.1 kHz. Nothing is heard with them, since the effect applies its first program at once.
inline constexpr double kResetPhaseIncrement = 0.00022;
inline constexpr double kResetModDepth = 500.0;
inline constexpr double kResetCenterDelay = 750.0;
// Before its first glide or program the mix sits halfway.
inline constexpr double kResetMix = 0.5;

// --- Tap layouts ----------------------------------------------------------------------------

struct TapLayout {
    double phase;       // start phase, radians
    double crossWeight; // share of the opposite channel
};

// Start phases spread the taps evenly over one modulation cycle. The weights place tap 0
// mostly on the opposite channel and the last tap mostly on its own: (n − k)/(n + 1) for
// three and four taps, and 0.67 / 0.33 (not 2/3 and 1/3) for two.
inline constexpr TapLayout kTwoTapLayout[] = {{0.0, 0.67}, {kPi, 0.33}};
inline constexpr TapLayout kThreeTapLayout[] = {
    {0.0, 0.75}, {2.0 * kPi / 3.0, 0.5}, {4.0 * kPi / 3.0, 0.25}};
inline constexpr TapLayout kFourTapLayout[] = {
    {0.0, 0.8}, {kPi / 2.0, 0.6}, {kPi, 0.4}, {3.0 * kPi / 2.0, 0.2}};

// --- Wander ---------------------------------------------------------------------------------

// The drift clock advances a fixed amount per frame, whatever the sample rate: new targets
// every 50,000 frames (about 1.13 s at 44.1 kHz).
inline constexpr double kWanderClockStep = 0.00002;
// One-pole followers toward the targets: a time constant of 25,000 frames.
inline constexpr double kWanderFollow = 0.00004;
inline constexpr double kWanderKeep = 0.99996;
// Rate factors span 0.71 to 1.44 of the set speed; depth factors 0.2 to 1.0 of the depth.
inline constexpr double kWanderRateLowest = 0.71;
inline constexpr double kWanderRateSpan = 0.73;
inline constexpr double kWanderDepthLowest = 0.2;
inline constexpr double kWanderDepthSpan = 0.8;

// --- Glides ---------------------------------------------------------------------------------

// A glide takes this many frames: 19,999 one-pole steps and a final snap to the target.
inline constexpr int32_t kGlideSamples = 20000;
// Share of the remaining distance covered per frame: a time constant of 1,000 frames.
inline constexpr double kGlideCoefficient = 0.001;

} // namespace quillory
