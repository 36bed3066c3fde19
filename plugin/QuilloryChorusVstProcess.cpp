#include "engine/ChorusFrames.h"
#include "plugin/QuilloryChorusVst.h"

namespace quillory {

// Each frame: take over control changes made since the last frame, advance the glides,
// run the taps, mix. Frames are processed in runs that end where a control change arrives,
// so that everything that cannot change within a run (tap count, waveform) is decided once
// per run rather than once per frame.
void QuilloryChorusVst::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    int32_t done = 0;
    while (done < sampleFrames) {
        receiveControlChanges();
        done += processRun(inputs, outputs, done, sampleFrames);
    }
}

void QuilloryChorusVst::applyMix(double value) {
    wetGain = value;
    dryGain = 1.0 - value;
}

void QuilloryChorusVst::receiveControlChanges() {
    const uint32_t changes = controlChanges.load(std::memory_order_acquire);
    if (changes == seenControlChanges) {
        return;
    }
    seenControlChanges = changes;
    for (ParameterX* parameter = parameterList; parameter != nullptr; parameter = parameter->next) {
        parameter->receiveChange();
        const uint32_t bit = 1u << parameter->index;
        glidingParameters =
            parameter->isGliding() ? (glidingParameters | bit) : (glidingParameters & ~bit);
    }
}

void QuilloryChorusVst::glideParameters() {
    for (ParameterX* parameter = parameterList; parameter != nullptr; parameter = parameter->next) {
        if (parameter->isGliding() && !parameter->glideStep()) {
            glidingParameters &= ~(1u << parameter->index);
        }
    }
}

int32_t QuilloryChorusVst::processRun(float** inputs, float** outputs, int32_t start, int32_t end) {
    switch (engine.mode) {
    case 0:
        return runFrames<2, false>(inputs, outputs, start, end);
    case 1:
        return runFrames<3, false>(inputs, outputs, start, end);
    case 2:
        return runFrames<4, false>(inputs, outputs, start, end);
    case 8:
        return runFrames<2, true>(inputs, outputs, start, end);
    case 9:
        return runFrames<3, true>(inputs, outputs, start, end);
    case 10:
        return runFrames<4, true>(inputs, outputs, start, end);
    default:
        return runPassThrough(inputs, outputs, start, end);
    }
}

// Processes frames from `start` until `end` or until a control change arrives, whichever
// comes first, and answers how many it processed (at least one).
//
// Frames go in short stretches, each in three passes: the glide steps and the engine
// settings they give for every frame; the modulation and tap delays of every frame; the
// line reads and mix of every frame. Per frame the work and its order are those of the
// one-frame algorithm. Splitting it lets the processor overlap the frames of each pass,
// whose only links from frame to frame are the glide values and the tap phases.
template <int Taps, bool Wander>
int32_t QuilloryChorusVst::runFrames(float** inputs, float** outputs, int32_t start, int32_t end) {
    constexpr int32_t kStretch = 32;
    FrameSettings settings[kStretch];
    Double4 delays[kStretch];
    TapVectors taps = loadTapVectors(engine);
    int32_t i = start;
    bool changed = false;
    while (i < end && !changed) {
        // Glide pass.
        int32_t count = 0;
        do {
            if (glidingParameters != 0) {
                glideParameters();
            }
            settings[count] = {engine.phaseIncrement, engine.modDepth, engine.centerDelay, wetGain,
                               dryGain};
            ++count;
            changed = controlChanges.load(std::memory_order_relaxed) != seenControlChanges;
        } while (count < kStretch && i + count < end && !changed);

        // Modulation pass.
        for (int32_t n = 0; n < count; ++n) {
            engine.phaseIncrement = settings[n].phaseIncrement;
            engine.modDepth = settings[n].modDepth;
            engine.centerDelay = settings[n].centerDelay;
            const Double4 modulation = Wander ? chorus_frames::wanderModulation<Taps>(engine, taps)
                                              : chorus_frames::sineModulation(engine, taps);
            delays[n] = chorus_frames::tapDelays<Taps>(engine, modulation);
        }

        // Read and mix pass. Both inputs are read before either output is written, so the
        // host may process in place.
        for (int32_t n = 0; n < count; ++n, ++i) {
            const double left = inputs[0][i];
            const double right = inputs[1][i];
            chorus_frames::readTapsAndStore<Taps>(engine, delays[n], taps, left, right);
            const double wet = settings[n].wetGain;
            const double dry = settings[n].dryGain;
            outputs[0][i] = static_cast<float>(wet * engine.outLeft + dry * left);
            outputs[1][i] = static_cast<float>(dry * right + wet * engine.outRight);
        }
    }
    storeTapVectors(taps, Taps, engine);
    return i - start;
}

// A mode outside the tap table runs no taps: the engine's frame passes the input through.
int32_t QuilloryChorusVst::runPassThrough(float** inputs, float** outputs, int32_t start,
                                          int32_t end) {
    int32_t i = start;
    do {
        if (glidingParameters != 0) {
            glideParameters();
        }
        const double left = inputs[0][i];
        const double right = inputs[1][i];
        engine.processFrame(left, right);
        outputs[0][i] = static_cast<float>(wetGain * engine.outLeft + dryGain * left);
        outputs[1][i] = static_cast<float>(dryGain * right + wetGain * engine.outRight);
        ++i;
    } while (i < end && controlChanges.load(std::memory_order_relaxed) == seenControlChanges);
    return i - start;
}

} // namespace quillory
