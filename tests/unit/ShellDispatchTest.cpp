#include "ShellTestSupport.h"
#include "shell/Opcodes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <map>
#include <sstream>
#include <tuple>

namespace quillory::test {
namespace {

intptr_t dispatch(AudioEffect& effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f) {
    AEffect* record = effect.getAeffect();
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

TEST(ShellDispatch, EveryOpcodeGivesTheBaseAnswerAndAsksNothingOfTheHost) {
    const std::map<int32_t, intptr_t> nonZero = {{effIdentify, 0x4E764566},
                                                 {effCanBeAutomated, 1},
                                                 {effGetVstVersion, 2400},
                                                 {effGetCurrentMidiProgram, -1},
                                                 {effSetTotalSampleToProcess, 256}};
    std::vector<int32_t> opcodes = {80, 1000, -1, std::numeric_limits<int32_t>::min()};
    for (int32_t opcode = 0; opcode <= 79; ++opcode) {
        opcodes.push_back(opcode);
    }
    for (const int32_t opcode : opcodes) {
        RecordingHost host;
        TestEffect effect(RecordingHost::callback);
        alignas(16) char buffer[512] = {};
        // The arrangement request stores through `value`, so it gets no number there.
        const intptr_t value = opcode == effGetSpeakerArrangement ? 0 : 256;
        const intptr_t expected = nonZero.count(opcode) != 0 ? nonZero.at(opcode) : 0;
        // Sent to the object: effClose through the record would delete the effect.
        EXPECT_EQ(effect.dispatcher(opcode, 7, value, buffer, 2.5f), expected) << opcode;
        EXPECT_TRUE(host.calls.empty()) << opcode;
    }
}

// Counts calls of every operation whose opcode the extended level leaves unrouted.
class UnroutedSpy : public TestEffect {
public:
    using TestEffect::TestEffect;
    int32_t getNumCategories() override { return ++touched; }
    bool copyProgram(int32_t) override { return ++touched; }
    void inputConnected(int32_t, bool) override { ++touched; }
    void outputConnected(int32_t, bool) override { ++touched; }
    int32_t reportCurrentPosition() override { return ++touched; }
    float* reportDestinationBuffer() override { return ++touched, &sample; }
    void setBlockSizeAndSampleRate(int32_t, float) override { ++touched; }
    bool getErrorText(char*) override { return ++touched; }
    int32_t fxIdle() override { return ++touched; }
    void* getIcon() override { return ++touched, &sample; }
    bool setViewPosition(int32_t, int32_t) override { return ++touched; }
    bool keysRequired() override { return ++touched; }
    int32_t touched = 0;
    float sample = 0.0f;
};

TEST(ShellDispatch, UnroutedExtendedOpcodesAnswerZeroWithoutCallingTheirOperations) {
    TestEffect plain(nullptr);
    EXPECT_EQ(plain.getNumCategories(), 1);
    EXPECT_EQ(dispatch(plain, effGetNumProgramCategories), 0);
    UnroutedSpy effect(nullptr);
    char text[64] = {};
    for (const int32_t opcode : {28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57}) {
        EXPECT_EQ(dispatch(effect, opcode, 1, 1, text, 44100.0f), 0) << opcode;
    }
    EXPECT_EQ(effect.touched, 0);
}

// Logs each routed call with its operands; the pointers show as "text", "other" or "?".
class RoutingSpy : public TestEffect {
public:
    RoutingSpy(char* textMarker, char* otherMarker)
        : TestEffect(nullptr), text(textMarker), other(otherMarker) {}
    int32_t getChunk(void** data, bool preset) override {
        return note(40, "chunk", p(data), preset);
    }
    int32_t setChunk(void* data, int32_t size, bool preset) override {
        return note(41, "setChunk", p(data), size, preset);
    }
    bool getProgramNameIndexed(int32_t category, int32_t index, char* name) override {
        return note(true, "indexed", category, index, p(name));
    }
    bool offlineNotify(VstAudioFile* files, int32_t count, bool start) override {
        return note(true, "notify", p(files), count, start);
    }
    bool setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) override {
        return note(true, "speakers", p(in), p(out));
    }
    intptr_t vendorSpecific(int32_t a, intptr_t b, void* ptr, float f) override {
        return note(77, "vendor", a, b, p(ptr), f);
    }
    std::string log;

private:
    std::string p(const void* ptr) const {
        return ptr == text ? "text" : ptr == other ? "other" : "?";
    }
    template <class R, class... A> R note(R answer, const char* name, A... args) {
        std::ostringstream out;
        out << name;
        ((out << ' ' << args), ...);
        log = out.str();
        return answer;
    }
    const char* text;
    const char* other;
};

TEST(ShellDispatch, RoutedOpcodesPassTheirOperandsToTheRightParameters) {
    char text[8] = {};
    char other[8] = {};
    const auto otherValue = reinterpret_cast<intptr_t>(other);
    const struct {
        int32_t opcode, index;
        intptr_t value;
        float opt;
        const char* log;
        intptr_t answer;
    } cases[] = {
        // clang-format off
        {effGetChunk, 1, 0, 0.0f, "chunk text 1", 40},
        {effSetChunk, 2, 33, 0.0f, "setChunk text 33 1", 41},
        {effGetProgramNameIndexed, 2, 3, 0.0f, "indexed 3 2 text", 1},
        {effOfflineNotify, 0, 4, 0.0f, "notify text 4 0", 1},
        {effSetSpeakerArrangement, 0, otherValue, 0.0f, "speakers other text", 1},
        {effVendorSpecific, 4, 9, 1.5f, "vendor 4 9 text 1.5", 77},
        // clang-format on
    };
    for (const auto& c : cases) {
        RoutingSpy effect(text, other);
        EXPECT_EQ(dispatch(effect, c.opcode, c.index, c.value, text, c.opt), c.answer) << c.log;
        EXPECT_EQ(effect.log, c.log);
    }
}

TEST(ShellDispatch, SetProgramTakesOnlyValuesBelowTheProgramCountNegativesIncluded) {
    TestEffect effect(nullptr, 4);
    const std::pair<intptr_t, intptr_t> steps[] = {{1, 1}, {3, 3}, {4, 3}, {100, 3}, {-2, -2}};
    for (const auto& [value, program] : steps) {
        EXPECT_EQ(dispatch(effect, effSetProgram, 0, value), 0);
        EXPECT_EQ(dispatch(effect, effGetProgram), program) << value;
    }
}

TEST(ShellDispatch, ChunkLabelAndArrangementRequestsGiveNeutralAnswers) {
    TestEffect effect(nullptr);
    int marker = 0;
    for (const int32_t index : {0, 1}) {
        void* slot = &marker;
        EXPECT_EQ(dispatch(effect, effGetChunk, index, 0, &slot), 0);
        EXPECT_EQ(slot, &marker);
        // Reading through this address would crash.
        EXPECT_EQ(dispatch(effect, effSetChunk, index, 64, reinterpret_cast<void*>(8)), 0);
    }
    for (const int32_t index : {0, 3, 1000, -1}) {
        char label[16] = "unchanged";
        EXPECT_EQ(dispatch(effect, effGetParamLabel, index, 0, label), 0);
        EXPECT_STREQ(label, "") << index;
    }
    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* input = &dummy;
    VstSpeakerArrangement* output = &dummy;
    const auto inputAddress = reinterpret_cast<intptr_t>(&input);
    EXPECT_EQ(dispatch(effect, effGetSpeakerArrangement, 0, inputAddress, &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

class CapabilityEffect : public TestEffect {
public:
    CapabilityEffect(const char* capability, int32_t capabilityAnswer)
        : TestEffect(RecordingHost::callback), text(capability), answer(capabilityAnswer) {}
    int32_t canDo(char* asked) override { return text == asked ? answer : 0; }

private:
    std::string text;
    int32_t answer;
};

TEST(ShellDispatch, ResumeAsksForMidiOnlyForSynthsOrEffectsThatTakeMidiEvents) {
    const struct {
        bool synth;
        const char* capability;
        int32_t answer;
        intptr_t value;
        bool wantsMidi;
    } cases[] = {
        {false, "", 0, 1, false},
        {true, "", 0, 1, true},
        {true, "", 0, -1, true},
        {false, "receiveVstMidiEvent", 1, 1, true},
        {false, "receiveVstMidiEvent", 2, 1, false},
        {false, "receiveVstMidiEvent", -1, 1, false},
        {false, "receiveVstEvents", 1, 1, false},
        {true, "receiveVstMidiEvent", 1, 0, false},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        CapabilityEffect effect(c.capability, c.answer);
        effect.isSynth(c.synth);
        EXPECT_EQ(dispatch(effect, effMainsChanged, 0, c.value), 0);
        ASSERT_EQ(host.calls.size(), c.wantsMidi ? 1u : 0u)
            << c.synth << ' ' << c.capability << ' ' << c.answer << ' ' << c.value;
        if (c.wantsMidi) {
            EXPECT_EQ(describe(host.calls[0]), describe({audioMasterWantMidi, 0, 1}));
            EXPECT_EQ(host.calls[0].effect, effect.getAeffect());
        }
    }
}

class ForwardingSpy : public TestEffect {
public:
    explicit ForwardingSpy(std::string* events) : TestEffect(nullptr), log(events) {}
    ~ForwardingSpy() override { *log += "destroyed"; }
    void close() override { *log += "close "; }
    void setParameter(int32_t index, float value) override {
        *log += "set " + std::to_string(index) + " " + std::to_string(value) + " ";
    }
    float getParameter(int32_t index) override { return 0.25f * static_cast<float>(index); }
    void process(float** in, float** out, int32_t frames) override {
        *log += "process " + std::to_string(frames) + (in != out ? " io " : " ");
    }
    void processDoubleReplacing(double**, double**, int32_t frames) override {
        *log += "double " + std::to_string(frames) + " ";
    }
    std::string* log;
};

TEST(ShellDispatch, RecordCallbacksForwardToTheEffectAndCloseDeletesIt) {
    std::string log;
    auto* effect = new ForwardingSpy(&log);
    AEffect* record = effect->getAeffect();
    float left[4] = {};
    float* inputs[1] = {left};
    float* outputs[1] = {left};
    double* doubles[1] = {nullptr};
    record->setParameter(record, 2, 0.5f);
    EXPECT_EQ(record->getParameter(record, 3), 0.75f);
    record->process(record, inputs, outputs, 17);
    record->processReplacing(record, inputs, outputs, 19);
    EXPECT_EQ(effect->replacedFrames, 19);
    record->processDoubleReplacing(record, doubles, doubles, 23);
    EXPECT_EQ(record->dispatcher(record, effGetVstVersion, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(log, "set 2 0.500000 process 17 io double 23 close destroyed");
}

TEST(ShellDispatch, ConstructionFillsTheRecordWithTheBaseValues) {
    TestEffect effect(nullptr, 6, 9);
    const AEffect& r = *effect.getAeffect();
    EXPECT_EQ(std::tuple(r.magic, r.numPrograms, r.numParams, r.numInputs, r.numOutputs, r.flags),
              std::tuple(0x56737450, 6, 9, 1, 2, 16));
    EXPECT_EQ(std::tuple(r.resvd1, r.resvd2, r.initialDelay, r.realQualities, r.offQualities),
              std::tuple(0, 0, 0, 0, 0));
    EXPECT_EQ(std::tuple(r.ioRatio, r.object, r.user, r.uniqueID, r.version),
              std::tuple(1.0f, static_cast<void*>(static_cast<AudioEffect*>(&effect)), nullptr,
                         0x4E6F4566, 1));
    EXPECT_TRUE(r.dispatcher && r.process && r.processReplacing && r.processDoubleReplacing &&
                r.setParameter && r.getParameter);
    EXPECT_EQ(std::string(r.future, sizeof r.future), std::string(sizeof r.future, '\0'));
    EXPECT_EQ(std::tuple(effect.getSampleRate(), effect.getBlockSize(), effect.getProgram()),
              std::tuple(44100.0f, 1024, 0));
    EXPECT_EQ(effect.getEditor(), nullptr);
}

TEST(ShellDispatch, RecordSettersChangeOnlyTheirOwnBitOrField) {
    using Setter = void (AudioEffectX::*)(bool);
    const std::pair<Setter, int32_t> flagCases[] = {
        {&AudioEffectX::canProcessReplacing, 16},
        {&AudioEffectX::canDoubleReplacing, 4096},
        {&AudioEffectX::programsAreChunks, 32},
        {&AudioEffectX::hasVu, 4},
        {&AudioEffectX::hasClip, 2},
        {&AudioEffectX::canMono, 8},
        {&AudioEffectX::isSynth, 256},
        {&AudioEffectX::noTail, 512},
        {&AudioEffectX::wantAsyncOperation, 1024},
        {&AudioEffectX::hasExternalBuffer, 2048},
    };
    for (const auto& [set, bit] : flagCases) {
        TestEffect effect(nullptr);
        (effect.*set)(true);
        EXPECT_EQ(effect.getAeffect()->flags, 16 | bit) << bit;
        (effect.*set)(false);
        EXPECT_EQ(effect.getAeffect()->flags, 16 & ~bit) << bit;
    }
    TestEffect effect(nullptr);
    effect.setUniqueID(0x51525354);
    effect.setInitialDelay(128);
    const AEffect& r = *effect.getAeffect();
    EXPECT_EQ(std::tuple(r.uniqueID, r.initialDelay), std::tuple(0x51525354, 128));
    effect.setBlockSizeAndSampleRate(512, 96000.0f);
    EXPECT_EQ(std::tuple(effect.getBlockSize(), effect.getSampleRate()), std::tuple(512, 96000.0f));
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    dispatch(effect, effSetBlockSize, 0, 256);
    EXPECT_EQ(std::tuple(effect.getBlockSize(), effect.getSampleRate()), std::tuple(256, 48000.0f));
}

class OpeningEditor : public TestGuiEditor {
public:
    using TestGuiEditor::TestGuiEditor;
    bool open(void* parent) override { return AEffGUIEditor::open(parent), openAnswer; }
    bool openAnswer = true;
};

TEST(ShellDispatch, EditorOpcodesReachTheEditor) {
    FakeFrame frame;
    TestEffect effect(nullptr);
    auto* editor = new OpeningEditor(&effect, &frame);
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect, editor->rectAddress());
    int parent = 0;
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &parent), 1);
    EXPECT_TRUE(editor->isOpen());
    editor->openAnswer = false;
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &parent), 0);
    EXPECT_EQ(dispatch(effect, effEditIdle), 0);
    EXPECT_EQ(frame.idleCount, 1);
    EXPECT_EQ(dispatch(effect, effEditClose), 0);
    EXPECT_FALSE(editor->isOpen());
}

TEST(ShellDispatch, KeyOpcodesBuildTheKeyCodeAndAnswerWhetherTheFrameHandledIt) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        int32_t opcode, character;
        intptr_t value;
        float opt;
        int32_t frameAnswer;
        intptr_t answer;
        const char* kind;
        int virt, modifier;
    } cases[] = {
        // clang-format off
        {effEditKeyDown, 'a', 0x141, 2.9f, 1, 1, "down", 0x41, 2},
        {effEditKeyUp, 'a', 0x141, 2.9f, 1, 1, "up", 0x41, 2},
        {effEditKeyDown, 0x263A, -1, 0.0f, -1, 0, "down", 0xFF, 0},
        {effEditKeyUp, -7, 0x200, 300.7f, 2, 0, "up", 0, 44},
        {effEditKeyDown, 0, 9, -2.9f, 1, 1, "down", 9, 0xFE},
        {effEditKeyDown, 0, 9, 8388863.0f, 1, 1, "down", 9, 0xFF},
        {effEditKeyDown, 0, 9, nan, 1, 1, "down", 9, 0},
        {effEditKeyDown, 0, 9, inf, 1, 1, "down", 9, 0},
        {effEditKeyUp, 0, 9, 1e30f, 1, 1, "up", 9, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        FakeFrame frame;
        TestEffect effect(nullptr);
        new TestGuiEditor(&effect, &frame);
        frame.keyAnswer = c.frameAnswer;
        const intptr_t answer = dispatch(effect, c.opcode, c.character, c.value, nullptr, c.opt);
        EXPECT_EQ(std::tuple(answer, frame.keyKind, frame.lastKey.character),
                  std::tuple(c.answer, c.kind, c.character));
        EXPECT_EQ(std::tuple(int{frame.lastKey.virt}, int{frame.lastKey.modifier}),
                  std::tuple(c.virt, c.modifier))
            << c.value << ' ' << c.opt;
    }
}

TEST(ShellDispatch, KnobModeIsSharedByEveryEditorAndNeedsAnEditor) {
    FakeFrame frame;
    TestEffect first(nullptr);
    TestEffect second(nullptr);
    TestEffect withoutEditor(nullptr);
    new TestGuiEditor(&first, &frame);
    new TestGuiEditor(&second, &frame);
    for (const intptr_t mode : {2, -1, 1, 0}) {
        EXPECT_EQ(dispatch(mode == 1 ? second : first, effSetEditKnobMode, 0, mode), 1) << mode;
        EXPECT_EQ(AEffGUIEditor::getKnobMode(), mode);
        EXPECT_EQ(dispatch(withoutEditor, effSetEditKnobMode, 0, 5), 0);
        EXPECT_EQ(AEffGUIEditor::getKnobMode(), mode);
    }
}

} // namespace
} // namespace quillory::test
