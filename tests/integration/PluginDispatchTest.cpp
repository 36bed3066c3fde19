// Requests a host sends through the dispatcher of the built plug-in, and what it answers.

#include "shell/Opcodes.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace quillory::testing {
namespace {

class PluginDispatch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(host.open(), nullptr); }

    std::string textOf(int32_t opcode, int32_t index = 0) {
        char text[256];
        std::memset(text, 'x', sizeof(text));
        host.dispatch(opcode, index, 0, text);
        return std::string(text, strnlen(text, sizeof(text)));
    }

    intptr_t canDo(const char* capability) {
        std::string copy = capability;
        return host.dispatch(effCanDo, 0, 0, copy.data());
    }

    TestHost host;
};

TEST_F(PluginDispatch, FixedAnswers) {
    struct Row {
        int32_t opcode;
        intptr_t expected;
    };
    const Row rows[] = {
        {effGetVstVersion, 2400},
        {effGetPlugCategory, 2},
        {effGetVendorVersion, 1},
        {effGetTailSize, 0},
        {effGetNumMidiInputChannels, 1},
        {effGetNumMidiOutputChannels, 0},
        {effGetCurrentMidiProgram, -1},
        {effIdentify, 0x4E764566},
        {effGetNumProgramCategories, 0},
        {effSetBypass, 0},
        {effGetParameterProperties, 0},
        {effProcessEvents, 0},
        {effStartProcess, 0},
        {effStopProcess, 0},
        {effSetProcessPrecision, 0},
        {effHasMidiProgramsChanged, 0},
        {effCopyProgram, 0},
        {effKeysRequired, 0},
        {effGetInputProperties, 0},
        {effGetVu, 0},
        {effShellGetNextPlugin, 0},
        {effBeginSetProgram, 0},
        {80, 0},
        {-1, 0},
        {100000, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(host.dispatch(row.opcode), row.expected) << "opcode " << row.opcode;
    }
}

TEST_F(PluginDispatch, EveryParameterCanBeAutomatedEvenBeyondTheFive) {
    for (int32_t index : {0, 4, 5, 1000}) {
        EXPECT_EQ(host.dispatch(effCanBeAutomated, index), 1);
    }
}

TEST_F(PluginDispatch, TotalSamplesToProcessAreEchoed) {
    EXPECT_EQ(host.dispatch(effSetTotalSampleToProcess, 0, 256), 256);
}

TEST_F(PluginDispatch, ChunksAreNotOffered) {
    void* chunk = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(host.dispatch(effGetChunk, 0, 0, &chunk), 0);
    EXPECT_EQ(host.dispatch(effGetChunk, 1, 0, &chunk), 0);
    EXPECT_EQ(chunk, reinterpret_cast<void*>(0x1234));
    EXPECT_EQ(host.dispatch(effSetChunk, 0, 16, nullptr), 0);
    EXPECT_EQ(host.effect()->flags & effFlagsProgramChunks, 0);
}

TEST_F(PluginDispatch, ProgramNumberAtOrBeyondTheCountIsIgnored) {
    const intptr_t before = host.dispatch(effGetProgram);
    host.dispatch(effSetProgram, 0, 16);
    // Far below the 32-bit range on 64-bit hosts, yet 3 in its low 32 bits.
    host.dispatch(effSetProgram, 0, std::numeric_limits<intptr_t>::min() + 3);
    EXPECT_EQ(host.dispatch(effGetProgram), before);
}

TEST_F(PluginDispatch, ParameterLabelsAreEmpty) {
    for (int32_t index : {0, 4, 5, -1}) {
        EXPECT_EQ(textOf(effGetParamLabel, index), "") << index;
    }
}

TEST_F(PluginDispatch, SpeakerArrangementQueryClearsBothPointers) {
    auto* junk = reinterpret_cast<VstSpeakerArrangement*>(0x10);
    VstSpeakerArrangement* input = junk;
    VstSpeakerArrangement* output = junk;
    EXPECT_EQ(
        host.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST_F(PluginDispatch, ResumeAsksForMidiAndSuspendAsksNothing) {
    host.clearCalls();
    host.dispatch(effMainsChanged, 0, 0);
    EXPECT_TRUE(host.calls().empty());
    host.dispatch(effMainsChanged, 0, 1);
    const auto wants = host.callsWithOpcode(audioMasterWantMidi);
    ASSERT_EQ(wants.size(), 1u);
    EXPECT_EQ(wants[0].value, 1);
    EXPECT_EQ(host.calls().size(), 1u);
}

TEST_F(PluginDispatch, EditorRectangleIsTheSkinSize) {
    ERect* rect = nullptr;
    EXPECT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 410);
    EXPECT_EQ(rect->right, 242);
}

TEST_F(PluginDispatch, KnobModeIsAcceptedByTheEditor) {
    EXPECT_EQ(host.dispatch(effSetEditKnobMode, 0, 2), 1);
}

TEST_F(PluginDispatch, KeysWithoutAWindowAreNotHandled) {
    EXPECT_EQ(host.dispatch(effEditKeyDown, 'a', 0, nullptr, 2.9f), 0);
    EXPECT_EQ(host.dispatch(effEditKeyUp, 'a', 0, nullptr, std::nanf("")), 0);
}

TEST_F(PluginDispatch, IdentityStringsArePaddedToTheirFields) {
    char name[40];
    std::memset(name, 'x', sizeof(name));
    EXPECT_EQ(host.dispatch(effGetEffectName, 0, 0, name), 1);
    EXPECT_STREQ(name, "Quillory Chorus");
    for (int i = 15; i <= 32; ++i) {
        EXPECT_EQ(name[i], 0) << i;
    }
    EXPECT_EQ(name[33], 'x');

    char vendor[70];
    std::memset(vendor, 'x', sizeof(vendor));
    EXPECT_EQ(host.dispatch(effGetVendorString, 0, 0, vendor), 1);
    EXPECT_STREQ(vendor, "Quillory Synth");
    EXPECT_EQ(vendor[64], 0);
    EXPECT_EQ(vendor[65], 'x');

    char product[70];
    std::memset(product, 'x', sizeof(product));
    EXPECT_EQ(host.dispatch(effGetProductString, 0, 0, product), 1);
    EXPECT_STREQ(product, "Quillory Chorus V1.00");
    EXPECT_EQ(product[64], 0);
    EXPECT_EQ(product[65], 'x');
}

TEST_F(PluginDispatch, CapabilitiesMatchExactly) {
    EXPECT_EQ(canDo("receiveVstEvents"), 1);
    EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(canDo("midiProgramNames"), 1);
    for (const char* other : {"receiveVstEvent", "ReceiveVstEvents", "sendVstEvents", "",
                              "receiveVstEventsX", "bypass"}) {
        EXPECT_EQ(canDo(other), -1) << other;
    }
    EXPECT_EQ(host.dispatch(effCanDo, 0, 0, nullptr), -1);
}

TEST_F(PluginDispatch, OutputPinsAreLabelledAndStereo) {
    for (int32_t index : {0, 1}) {
        VstPinProperties pin;
        std::memset(&pin, 0x5A, sizeof(pin));
        EXPECT_EQ(host.dispatch(effGetOutputProperties, index, 0, &pin), 1);
        EXPECT_STREQ(pin.label, index == 0 ? "Vstx 1" : "Vstx 2");
        EXPECT_EQ(pin.flags, 3);
        // Fields the plug-in does not fill keep what the host put there.
        EXPECT_EQ(pin.arrangementType, 0x5A5A5A5A);
        EXPECT_EQ(pin.shortLabel[0], 0x5A);
        EXPECT_EQ(pin.label[63], 0);
    }
}

TEST_F(PluginDispatch, OutputPinsOutsideZeroAndOneAreRefusedUntouched) {
    for (int32_t index : {2, 3, -1, std::numeric_limits<int32_t>::min()}) {
        VstPinProperties pin;
        std::memset(&pin, 0x5A, sizeof(pin));
        EXPECT_EQ(host.dispatch(effGetOutputProperties, index, 0, &pin), 0) << index;
        EXPECT_EQ(pin.label[0], 0x5A);
        EXPECT_EQ(pin.flags, 0x5A5A5A5A);
    }
}

TEST_F(PluginDispatch, InputPinsOfferNoProperties) {
    VstPinProperties pin{};
    EXPECT_EQ(host.dispatch(effGetInputProperties, 0, 0, &pin), 0);
}

TEST_F(PluginDispatch, HousekeepingRequestsAnswerZero) {
    EXPECT_EQ(host.dispatch(effOpen), 0);
    EXPECT_EQ(host.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(host.dispatch(effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(host.dispatch(effEditIdle), 0);
    EXPECT_EQ(host.dispatch(effEditClose), 0);
}

} // namespace
} // namespace quillory::testing
