#pragma once
// The chorus effect as the host sees it: the chorus processor (engine, glides, mix and sample
// rate) held inline, the five parameters, the sixteen programs, the editor, the identity it
// reports and the processing callback.
//
// Threads. The host may set, read and name parameters and programs on one thread while audio
// runs on another and the editor works on a third. Every change of a parameter or program
// takes `controlMutex`; processing never does. Settings reach the audio thread through the
// processor's control inbox, which it checks before every frame.

#include "editor/ChorusEditorContext.h"
#include "editor/Dropdown.h"
#include "editor/Pad.h"
#include "engine/ChorusProcessor.h"
#include "params/ChorusProgram.h"
#include "params/ParameterOwner.h"
#include "params/ParameterX.h"
#include "shell/AudioEffectX.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace quillory {

class QuilloryChorusVst : public AudioEffectX, public ParameterOwner, public ChorusEditorContext {
public:
    static constexpr int32_t kNumParams = 5;
    static constexpr int32_t kNumInputs = 2;
    static constexpr int32_t kNumOutputs = 2;
    static constexpr int32_t kUniqueId = fourCharCode('Q', 'L', 'R', 'Y');

    explicit QuilloryChorusVst(audioMasterCallback host);
    ~QuilloryChorusVst() override;

    // Processing.
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    void setSampleRate(float rate) override;

    // Parameters.
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void getParameterName(int32_t index, char* text) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void setParameterAutomated(int32_t index, float value) override;

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

    // What the parameters need of the effect.
    std::mutex& controlLock() override { return controlMutex; }
    ChorusProgram& currentProgramRecord() override { return *currentProgram; }
    void glideTo(int32_t index, double value) override;
    void jumpTo(int32_t index, double value) override;
    void choose(int32_t index, int32_t choice) override;

    // What the editor needs of the effect.
    ParameterX* parameter(int32_t index) override;
    Pad* padList() override { return pads[0].get(); }
    Dropdown* dropdownList() override { return dropdowns[0].get(); }
    PadDisplay* activeDrag() override { return draggedDisplay; }
    void setActiveDrag(PadDisplay* display) override { draggedDisplay = display; }

    // Replaces the time-seeded Wander draws with a repeatable sequence. Call it before
    // processing starts: the generator belongs to the audio thread.
    void seedRandom(uint32_t seed) { chorus.engine.random.seed(seed); }

    ChorusProcessor chorus;

    std::mutex controlMutex;
    std::unique_ptr<ParameterX> parameters[kNumParams];
    ParameterX* parameterList = nullptr; // head of the list, in index order
    std::unique_ptr<ChorusProgram[]> programs;
    std::unique_ptr<ChorusProgram[]> factoryPrograms;
    ChorusProgram* currentProgram = nullptr;

    // The editor's control models: Depth, Speed and Mix pads, taps and waveform dropdowns.
    static constexpr int32_t kNumPads = 3;
    static constexpr int32_t kNumDropdowns = 2;
    std::unique_ptr<Pad> pads[kNumPads];
    std::unique_ptr<Dropdown> dropdowns[kNumDropdowns];

private:
    void buildParameters();
    void buildEditorModels();
    void loadBank();
    // Sets all five parameters from `program` at once, without glides. Control lock held.
    void applyProgram(const ChorusProgram& program);
    ParameterX* findParameter(int32_t index) const;

    PadDisplay* draggedDisplay = nullptr; // user-interface thread only
};

} // namespace quillory
