#include "plugin/QuilloryChorusVst.h"

namespace quillory {

void QuilloryChorusVst::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];
    for (int32_t i = 0; i < sampleFrames; ++i) {
        // Both inputs are read before either output is written, so the host may process
        // in place.
        const double left = inLeft[i];
        const double right = inRight[i];
        engine.processFrame(left, right);
        outLeft[i] = static_cast<float>(wetGain * engine.outLeft + dryGain * left);
        outRight[i] = static_cast<float>(dryGain * right + wetGain * engine.outRight);
    }
}

void QuilloryChorusVst::applyMix(double value) {
    wetGain = value;
    dryGain = 1.0 - value;
}

} // namespace quillory
