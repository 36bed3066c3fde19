#pragma once
// The chorus effect as the host sees it: the engine held inline, its mix gains and sample
// rate, the five parameters, the sixteen programs, the identity it reports and the
// processing callback.
//
// Threads. The host may set, read and name parameters and programs on one thread while
// audio runs on another and the editor works on a third. Everything but processing takes
// `controlMutex`; processing never does. Changes reach the audio thread through the
// parameters' hand-off slots, announced by `controlChanges`, which the audio thread checks
// at the start of every frame. Engine fields are written by the audio thread alone (and by
// the constructor, before any audio thread exists).

#include "engine/ChorusEngine.h"
#include "engine/TapVectors.h"
#include "engine/VectorTypes.h"
#include "params/ChorusProgram.h"
#include "params/ParameterX.h"
#include "shell/AudioEffectX.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

namespace quillory {

class QuilloryChorusVst : public AudioEffectX {
public:
    static constexpr int32_t kNumParams = 5;
    static constexpr int32_t kNumInputs = 2;
    static constexpr int32_t kNumOutputs = 2;
    static constexpr int32_t kUniqueId = fourCharCode('Q', 'L', 'R', 'Y');
    static constexpr float kLowestSampleRate = 1000.0f;

    explicit QuilloryChorusVst(audioMasterCallback host);
    ~QuilloryChorusVst() override;

    // Processing.
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    void setSampleRate(float rate) override;
    void applyMix(double value);

    // Parameters.
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void getParameterName(int32_t index, char* text) override;
    void getParameterDisplay(int32_t index, char* text) override;

    // Programs.
    void setProgram(int32_t program) override;
    int32_t getProgram() override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;

    // Identity.
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override { return 1; }
    int32_t canDo(char* text) override;
    int32_t getPlugCategory() override { return kPlugCategSynth; }
    int32_t getNumMidiInputChannels() override { return 1; }
    bool getOutputProperties(int32_t index, VstPinProperties* properties) override;

    // Replaces the time-seeded Wander draws with a repeatable sequence. Call it before
    // processing starts: the generator belongs to the audio thread.
    void seedRandom(uint32_t seed) { engine.random.seed(seed); }

    // Tells the audio thread that a parameter has handed off a change.
    void noteControlChange() { controlChanges.fetch_add(1, std::memory_order_release); }

    ChorusEngine engine;
    std::atomic<double> engineSampleRate{44100.0};
    double wetGain = 0.5;
    double dryGain = 0.5;

    std::mutex controlMutex;
    std::unique_ptr<ParameterX> parameters[kNumParams];
    ParameterX* parameterList = nullptr; // head of the list, in index order
    std::unique_ptr<ChorusProgram[]> programs;
    std::unique_ptr<ChorusProgram[]> factoryPrograms;
    ChorusProgram* currentProgram = nullptr;

private:
    void buildParameters();
    void loadBank();
    // Sets all five parameters from `program` at once, without glides. Control lock held.
    void applyProgram(const ChorusProgram& program);
    ParameterX* findParameter(int32_t index) const;
    void sendUpdateDisplay();

    // Audio side.
    void receiveControlChanges();
    void glideParameters();
    int32_t processRun(float** inputs, float** outputs, int32_t start, int32_t end);
    template <int Taps, bool Wander>
    int32_t runFrames(float** inputs, float** outputs, int32_t start, int32_t end);
    int32_t runPassThrough(float** inputs, float** outputs, int32_t start, int32_t end);

    // Audio side: frames are processed in stretches of at most this many; per frame the
    // parameter values, the engine settings they give, and the tap delays.
    static constexpr int32_t kStretchFrames = 64;
    struct Stretch {
        alignas(32) double depth[kStretchFrames];
        alignas(32) double speed[kStretchFrames];
        alignas(32) double mix[kStretchFrames];
        alignas(32) double modDepth[kStretchFrames];
        alignas(32) double centerDelay[kStretchFrames];
        alignas(32) double phaseIncrement[kStretchFrames];
        alignas(32) double wetGain[kStretchFrames];
        alignas(32) double dryGain[kStretchFrames];
        alignas(32) double stepSine[kStretchFrames];
        alignas(32) double stepCosine[kStretchFrames];
        Double4 delays[kStretchFrames];
    };
    // One frame of the parameter's glide, if it runs; answers its value.
    double glideValue(int32_t index) {
        ParameterX& parameter = *parameters[index];
        if (parameter.isGliding()) {
            parameter.advanceGlide();
        }
        return parameter.current;
    }
    void mapStretch(uint32_t gliding, int32_t count, bool withSteps);
    Stretch stretch{};

    std::atomic<uint32_t> controlChanges{0};
    uint32_t seenControlChanges = 0; // audio side
    uint32_t glidingParameters = 0;  // audio side: bit per parameter with a glide running
};

} // namespace quillory
