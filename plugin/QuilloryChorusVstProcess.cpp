#include "engine/ChorusFrames.h"
#include "engine/EngineMappings.h"
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
// Frames go in short stretches, each in four passes: the glide steps of every frame; the
// engine settings those give, four frames at a time; the modulation and tap delays of every
// frame; the line reads and mix of every frame. Per frame the work and its order are those
// of the one-frame algorithm. Splitting it lets the processor overlap the frames of each
// pass, whose only links from frame to frame are the glide values and the tap phases.
template <int Taps, bool Wander>
int32_t QuilloryChorusVst::runFrames(float** inputs, float** outputs, int32_t start, int32_t end) {
    TapVectors taps = loadTapVectors(engine);
    int32_t i = start;
    bool changed = false;
    while (i < end && !changed) {
        // Glide pass: each running glide's value in every frame. Glides start only with a
        // control change, which ends the stretch, so those running now are all that can run
        // in it. The three glides advance side by side, each frame's steps independent of
        // one another.
        const uint32_t gliding = glidingParameters;
        int32_t count = 0;
        do {
            if (gliding != 0) {
                stretch.depth[count] = glideValue(kParamDepth);
                stretch.speed[count] = glideValue(kParamSpeed);
                stretch.mix[count] = glideValue(kParamMix);
            }
            ++count;
            changed = controlChanges.load(std::memory_order_relaxed) != seenControlChanges;
        } while (count < kStretchFrames && i + count < end && !changed);
        for (const int32_t index : {kParamDepth, kParamSpeed, kParamMix}) {
            if (!parameters[index]->isGliding()) {
                glidingParameters &= ~(1u << index);
            }
        }
        mapStretch(gliding, count, !Wander);

        const chorus_frames::StretchSettings settings = {stretch.phaseIncrement, stretch.modDepth,
                                                         stretch.centerDelay, stretch.stepSine,
                                                         stretch.stepCosine};
        chorus_frames::stretchDelays<Taps, Wander>(engine, taps, settings, stretch.delays, count);

        // Read and mix pass. Both inputs are read before either output is written, so the
        // host may process in place.
        int32_t writeIndex = engine.writeIndex;
        Double2 engineOut = {engine.outLeft, engine.outRight};
        for (int32_t n = 0; n < count; ++n, ++i) {
            const double left = inputs[0][i];
            const double right = inputs[1][i];
            engineOut = chorus_frames::readTapsAndStore<Taps>(engine, writeIndex, stretch.delays[n],
                                                              taps, left, right);
            const double wet = stretch.wetGain[n];
            const double dry = stretch.dryGain[n];
            outputs[0][i] = static_cast<float>(wet * engineOut[0] + dry * left);
            outputs[1][i] = static_cast<float>(dry * right + wet * engineOut[1]);
        }
        engine.writeIndex = writeIndex;
        engine.outLeft = engineOut[0];
        engine.outRight = engineOut[1];
        wetGain = stretch.wetGain[count - 1];
        dryGain = stretch.dryGain[count - 1];
    }
    storeTapVectors(taps, Taps, engine);
    return i - start;
}

// The engine settings of each frame of the stretch, and for Sine the sine and cosine of
// each frame's phase step. A parameter that glides in it is
// mapped from its value in every frame, four frames at a time; one that does not keeps the
// setting it last gave the engine (which need not be its mapping at the present sample
// rate: a new rate takes effect only when a parameter is next driven).
void QuilloryChorusVst::mapStretch(uint32_t gliding, int32_t count, bool withSteps) {
    const double rate = engineSampleRate.load(std::memory_order_relaxed);
    double steadyStepSine = 0.0;
    double steadyStepCosine = 0.0;
    if (withSteps && (gliding & (1u << kParamSpeed)) == 0) {
        steadyStepSine = stepSineFor(engine.phaseIncrement);
        steadyStepCosine = stepCosineFor(engine.phaseIncrement);
    }
    // Whole groups of four: the lanes past `count` repeat the last frame.
    const int32_t padded = (count + 3) & ~3;
    for (int32_t n = count; n < padded; ++n) {
        stretch.depth[n] = stretch.depth[count - 1];
        stretch.speed[n] = stretch.speed[count - 1];
        stretch.mix[n] = stretch.mix[count - 1];
    }
    for (int32_t n = 0; n < padded; n += 4) {
        if ((gliding & (1u << kParamDepth)) != 0) {
            const Double4 modDepth = modDepthFor(engine, loadDouble4(&stretch.depth[n]), rate);
            storeDouble4(&stretch.modDepth[n], modDepth);
            storeDouble4(&stretch.centerDelay[n], centerDelayFor(modDepth));
        } else {
            storeDouble4(&stretch.modDepth[n], broadcast(engine.modDepth));
            storeDouble4(&stretch.centerDelay[n], broadcast(engine.centerDelay));
        }
        if ((gliding & (1u << kParamSpeed)) != 0) {
            const Double4 increment =
                phaseIncrementFor(engine, loadDouble4(&stretch.speed[n]), rate);
            storeDouble4(&stretch.phaseIncrement[n], increment);
            if (withSteps) {
                storeDouble4(&stretch.stepSine[n], stepSineFor(increment));
                storeDouble4(&stretch.stepCosine[n], stepCosineFor(increment));
            }
        } else {
            storeDouble4(&stretch.phaseIncrement[n], broadcast(engine.phaseIncrement));
            if (withSteps) {
                storeDouble4(&stretch.stepSine[n], broadcast(steadyStepSine));
                storeDouble4(&stretch.stepCosine[n], broadcast(steadyStepCosine));
            }
        }
        if ((gliding & (1u << kParamMix)) != 0) {
            const Double4 mix = loadDouble4(&stretch.mix[n]);
            storeDouble4(&stretch.wetGain[n], mix);
            storeDouble4(&stretch.dryGain[n], 1.0 - mix);
        } else {
            storeDouble4(&stretch.wetGain[n], broadcast(wetGain));
            storeDouble4(&stretch.dryGain[n], broadcast(dryGain));
        }
    }
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
