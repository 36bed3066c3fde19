#pragma once
// State of one moving tap of the chorus: where its modulation stands, how it is spread
// across the stereo field, and the random drift of the Wander waveform.

namespace quillory {

struct ChorusTap {
    double phase = 0.0;             // modulation phase in radians, kept in 0..2π
    double wanderClock = 0.0;       // 0..1; a new Wander target is drawn each time it passes 1
    double crossWeight = 1.0;       // share of the opposite channel in this tap's output
    double wanderRateTarget = 0.0;  // rate factor the Wander rate glides toward
    double wanderDepthTarget = 0.0; // depth factor the Wander depth glides toward
    double wanderRate = 0.0;        // smoothed rate factor
    double wanderDepth = 0.0;       // smoothed depth factor
};

} // namespace quillory
