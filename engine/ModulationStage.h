#pragma once
// Every tap's modulation, frame by frame, and from it the tap's delay. All taps run at once,
// one vector lane each.

#include "engine/ChorusProcessor.h"
#include "engine/FastSine.h"
#include "engine/TapLanes.h"

namespace quillory::stages {

// Lanes of taps not in use are computed too but never read; they are pinned to a zero
// modulation so that their arithmetic stays finite.
template <int Taps> QUILLORY_INLINE Double4 inUse(Double4 values) {
    if constexpr (Taps == 4) {
        return values;
    } else {
        const UInt4 lanes = {0, 1, 2, 3};
        const auto mask = static_cast<UInt4>(lanes < static_cast<uint64_t>(Taps));
        return std::bit_cast<Double4>(mask & std::bit_cast<UInt4>(values));
    }
}

// The phase is kept in 0..2π by one subtraction once it passes 2π (landing on 2π exactly
// does not wrap). A tap wraps once a cycle, so the test is a branch that is nearly always
// predicted, out of the chain of additions that carries the phase from frame to frame.
QUILLORY_INLINE Double4 wrapPhase(Double4 phase) {
    if (anyAbove(phase, kTwoPi)) [[unlikely]] {
        phase -= where(lanesAbove(phase, kTwoPi), kTwoPi);
    }
    return phase;
}

// A tap's delay in frames for its modulation value (−1..1).
template <int Taps>
QUILLORY_INLINE Double4 tapDelays(Double4 modulation, const StretchSettings& stretch, int32_t n) {
    return inUse<Taps>(modulation) * broadcast(stretch.modDepth[n]) +
           broadcast(stretch.centerDelay[n]);
}

// Sine: each tap advances its phase, then takes the sine.
template <int Taps> struct SineTaps {
    Double4 phase;

    explicit SineTaps(const TapLanes& taps) : phase(taps.phase) {}

    QUILLORY_INLINE Double4 nextDelays(ChorusEngine& /*engine*/, const StretchSettings& stretch,
                                       int32_t n) {
        phase = wrapPhase(phase + broadcast(stretch.phaseIncrement[n]));
        return tapDelays<Taps>(sin4(phase), stretch, n);
    }

    void storeTo(TapLanes& taps) const { taps.phase = phase; }
};

// A product that must be rounded before it is added, as frame-by-frame processing rounds it:
// where the vector unit has fused multiply-add, an empty assembly statement hides the product
// from the compiler, which could otherwise fuse it into the addition.
template <bool FusedMultiplyAdd> QUILLORY_INLINE Double4 roundedProduct(Double4 product) {
    if constexpr (FusedMultiplyAdd) {
        asm("" : "+x"(product));
    }
    return product;
}

// Wander: move the drift clock and the followers toward their targets, take the sine of the
// phase before this frame's advance, scaled by the depth follower, then advance each tap at
// its own rate. The taps in use always share one clock value (applyMode zeroes their clocks
// together and they step alike), so one number stands for all of them and they all draw on
// the same frame. The followers carry their rounding over tens of thousands of frames, so
// their products are rounded exactly as frame-by-frame processing rounds them.
template <int Taps, bool FusedMultiplyAdd> struct WanderTaps {
    Double4 phase;
    Double4 rate;
    Double4 depth;
    Double4 rateTarget;
    Double4 depthTarget;
    // The targets' shares of each follower step, the same in every frame until the next draw.
    Double4 rateFollow;
    Double4 depthFollow;
    double clock;

    explicit WanderTaps(const TapLanes& taps)
        : phase(taps.phase), rate(taps.wanderRate), depth(taps.wanderDepth),
          rateTarget(taps.wanderRateTarget), depthTarget(taps.wanderDepthTarget),
          rateFollow(rateTarget * kWanderFollow), depthFollow(depthTarget * kWanderFollow),
          clock(taps.wanderClock) {}

    QUILLORY_INLINE Double4 nextDelays(ChorusEngine& engine, const StretchSettings& stretch,
                                       int32_t n) {
        clock += kWanderClockStep;
        if (clock >= 1.0) {
            drawTargets(engine);
        }
        rate = rateFollow + roundedProduct<FusedMultiplyAdd>(rate * kWanderKeep);
        depth = depthFollow + roundedProduct<FusedMultiplyAdd>(depth * kWanderKeep);
        const Double4 modulation = sin4(phase) * depth;
        phase = wrapPhase(phase + broadcast(stretch.phaseIncrement[n]) * rate);
        return tapDelays<Taps>(modulation, stretch, n);
    }

    // New targets, drawn in tap order, rate before depth.
    void drawTargets(ChorusEngine& engine) {
        for (int k = 0; k < Taps; ++k) {
            ChorusTap& tap = engine.tapStates[k];
            tap.wanderClock = clock;
            engine.drawWanderTargets(k);
            rateTarget[k] = tap.wanderRateTarget;
            depthTarget[k] = tap.wanderDepthTarget;
        }
        rateFollow = rateTarget * kWanderFollow;
        depthFollow = depthTarget * kWanderFollow;
        clock = engine.tapStates[0].wanderClock;
    }

    void storeTo(TapLanes& taps) const {
        taps.phase = phase;
        taps.wanderRate = rate;
        taps.wanderDepth = depth;
        taps.wanderRateTarget = rateTarget;
        taps.wanderDepthTarget = depthTarget;
        taps.wanderClock = clock;
    }
};

// A mode outside the tap layouts runs no taps.
struct NoTaps {
    explicit NoTaps(const TapLanes& /*taps*/) {}
    QUILLORY_INLINE Double4 nextDelays(ChorusEngine& /*engine*/, const StretchSettings& /*stretch*/,
                                       int32_t /*n*/) {
        return Double4{};
    }
    void storeTo(TapLanes& /*taps*/) const {}
};

template <int Taps, bool Wander, bool FusedMultiplyAdd> struct ModulationFor {
    using Type = std::conditional_t<Wander, WanderTaps<Taps, FusedMultiplyAdd>, SineTaps<Taps>>;
};
template <bool FusedMultiplyAdd> struct ModulationFor<0, false, FusedMultiplyAdd> {
    using Type = NoTaps;
};
template <int Taps, bool Wander, bool FusedMultiplyAdd>
using Modulation = typename ModulationFor<Taps, Wander, FusedMultiplyAdd>::Type;

// Every tap's delay in every frame of the stretch. A pass of its own: its frames are linked
// only through the phases, so the processor overlaps many of them.
template <class Modulation>
QUILLORY_INLINE void modulate(Modulation& modulation, ChorusEngine& engine,
                              StretchSettings& stretch, int32_t count) {
    for (int32_t n = 0; n < count; ++n) {
        stretch.delays[n] = modulation.nextDelays(engine, stretch, n);
    }
}

} // namespace quillory::stages
