#pragma once
// The chorus effect as the host sees it: the engine held inline, its mix gains and sample
// rate, the identity it reports and the processing callback.

#include "engine/ChorusEngine.h"
#include "shell/AudioEffectX.h"

#include <cstdint>

namespace quillory {

class QuilloryChorusVst : public AudioEffectX {
public:
    static constexpr int32_t kNumPrograms = 16;
    static constexpr int32_t kNumParams = 5;
    static constexpr int32_t kNumInputs = 2;
    static constexpr int32_t kNumOutputs = 2;
    static constexpr int32_t kUniqueId = fourCharCode('Q', 'L', 'R', 'Y');

    explicit QuilloryChorusVst(audioMasterCallback host);
    ~QuilloryChorusVst() override;

    // Processing.
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    void setSampleRate(float rate) override;
    void applyMix(double value);

    // Identity.
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override { return 1; }
    int32_t canDo(char* text) override;
    int32_t getPlugCategory() override { return kPlugCategSynth; }
    int32_t getNumMidiInputChannels() override { return 1; }
    bool getOutputProperties(int32_t index, VstPinProperties* properties) override;

    // Replaces the time-seeded Wander draws with a repeatable sequence.
    void seedRandom(uint32_t seed) { engine.random.seed(seed); }

    ChorusEngine engine;
    double engineSampleRate = 44100.0;
    double wetGain = 0.5;
    double dryGain = 0.5;
};

} // namespace quillory
