// The record, entry point and lifetime of the built plug-in, as a host sees them.

#include "shell/Opcodes.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quillory::testing {
namespace {

constexpr int32_t kQlry = 0x514C5259; // 'QLRY' packed most-significant-first

TEST(PluginRecord, FreshRecordDescribesAStereoEffectWithEditor) {
    TestHost host;
    AEffect* effect = host.open();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->numPrograms, 16);
    EXPECT_EQ(effect->numParams, 5);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, 0x11);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(effect->realQualities, 0);
    EXPECT_EQ(effect->offQualities, 0);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->uniqueID, kQlry);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->resvd1, 0);
    EXPECT_EQ(effect->resvd2, 0);
    EXPECT_NE(effect->object, nullptr);
    for (char byte : effect->future) {
        EXPECT_EQ(byte, 0);
    }
    EXPECT_NE(effect->dispatcher, nullptr);
    EXPECT_NE(effect->process, nullptr);
    EXPECT_NE(effect->processReplacing, nullptr);
    EXPECT_NE(effect->processDoubleReplacing, nullptr);
    EXPECT_NE(effect->setParameter, nullptr);
    EXPECT_NE(effect->getParameter, nullptr);
}

template <class T> T fieldAt(const AEffect* effect, size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(effect) + offset, sizeof(value));
    return value;
}

// Hosts read the record by offset; these are the offsets they use for 4- and 8-byte
// pointers. The fields are read as raw bytes, independently of the record's declaration.
TEST(PluginRecord, FieldsSitAtTheOffsetsHostsReadThemFrom) {
    TestHost host;
    AEffect* effect = host.open();
    ASSERT_NE(effect, nullptr);
    const bool wide = sizeof(void*) == 8;
    EXPECT_EQ(fieldAt<int32_t>(effect, 0), 0x56737450);
    EXPECT_EQ(fieldAt<int32_t>(effect, wide ? 40 : 20), 16);
    EXPECT_EQ(fieldAt<int32_t>(effect, wide ? 44 : 24), 5);
    EXPECT_EQ(fieldAt<int32_t>(effect, wide ? 48 : 28), 2);
    EXPECT_EQ(fieldAt<int32_t>(effect, wide ? 52 : 32), 2);
    EXPECT_EQ(fieldAt<int32_t>(effect, wide ? 56 : 36), 0x11);
    EXPECT_EQ(fieldAt<float>(effect, wide ? 92 : 60), 1.0f);
    EXPECT_EQ(fieldAt<void*>(effect, wide ? 96 : 64), effect->object);
    EXPECT_EQ(fieldAt<int32_t>(effect, wide ? 112 : 72), kQlry);
    EXPECT_EQ(fieldAt<int32_t>(effect, wide ? 116 : 76), 1);
    uintptr_t processReplacing = 0;
    std::memcpy(&processReplacing, &effect->processReplacing, sizeof(processReplacing));
    EXPECT_EQ(fieldAt<uintptr_t>(effect, wide ? 120 : 80), processReplacing);
    EXPECT_EQ(sizeof(AEffect), wide ? 192u : 144u);
}

TEST(PluginRecord, BothExportsCreateTheSameKindOfEffect) {
    TestHost host;
    ASSERT_NE(host.symbol("VSTPluginMain"), nullptr);
    ASSERT_NE(host.symbol("main"), nullptr);
    EXPECT_EQ(host.symbol("VSTPluginMain"), host.symbol("main"));
    AEffect* effect = host.open("main");
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->uniqueID, kQlry);
}

TEST(PluginRecord, OnlyTheEntryPointsAreExported) {
    TestHost host;
    EXPECT_EQ(host.symbol("createEffectInstance"), nullptr);
}

TEST(PluginRecord, HostAnsweringVersionZeroIsRefusedBeforeAnythingIsCreated) {
    TestHost host;
    host.setResponder([](const HostCall&) -> intptr_t { return 0; });
    EXPECT_EQ(host.open(), nullptr);
    const std::vector<HostCall> calls = host.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    EXPECT_EQ(calls[0].effect, nullptr);
}

TEST(PluginRecord, AnyNonZeroVersionIsAccepted) {
    TestHost host;
    host.setResponder(
        [](const HostCall& call) -> intptr_t { return call.opcode == audioMasterVersion ? 1 : 0; });
    EXPECT_NE(host.open(), nullptr);
}

TEST(PluginRecord, NullHostCallbackGetsNoEffect) {
    TestHost host;
    EXPECT_EQ(host.openWithoutCallback(), nullptr);
}

TEST(PluginRecord, CreationAsksForTheVersionThenUpdatesTheDisplayBeforeTheFinalRecord) {
    TestHost host;
    host.open();
    const std::vector<HostCall> calls = host.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    EXPECT_EQ(calls[1].opcode, audioMasterUpdateDisplay);
    EXPECT_EQ(calls[1].effect, host.effect());
    EXPECT_EQ(calls[1].index, 0);
    EXPECT_EQ(calls[1].value, 0);
    EXPECT_EQ(calls[1].ptr, nullptr);
    // Inputs, flags and identifier are written only after the display update.
    EXPECT_EQ(calls[1].numInputsAtCall, 1);
    EXPECT_EQ(calls[1].uniqueIdAtCall, 0x4E6F4566);
}

TEST(PluginRecord, CloseThroughTheRecordAnswersOne) {
    TestHost host;
    ASSERT_NE(host.open(), nullptr);
    EXPECT_EQ(host.close(), 1);
}

TEST(PluginRecord, TwoInstancesHaveTheirOwnRecordsAndObjects) {
    TestHost host;
    TestHost other(TestHost::defaultPluginPath());
    AEffect* first = host.open();
    AEffect* second = other.open();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(first->object, second->object);
    // Each instance's requests reach its own host.
    other.clearCalls();
    host.clearCalls();
    first->dispatcher(first, effMainsChanged, 0, 1, nullptr, 0.0f);
    EXPECT_EQ(host.callsWithOpcode(audioMasterWantMidi).size(), 1u);
    EXPECT_TRUE(other.calls().empty());
}

TEST(PluginRecord, ProcessAndDoubleProcessLeaveOutputsUntouched) {
    TestHost host;
    AEffect* effect = host.open();
    float input[4] = {1.0f, -1.0f, 0.5f, 0.25f};
    float outLeft[4] = {7.0f, 7.0f, 7.0f, 7.0f};
    float outRight[4] = {9.0f, 9.0f, 9.0f, 9.0f};
    float* inputs[2] = {input, input};
    float* outputs[2] = {outLeft, outRight};
    effect->process(effect, inputs, outputs, 4);
    double doubleInput[4] = {1.0, 1.0, 1.0, 1.0};
    double doubleOut[4] = {3.0, 3.0, 3.0, 3.0};
    double* doubleInputs[2] = {doubleInput, doubleInput};
    double* doubleOutputs[2] = {doubleOut, doubleOut};
    effect->processDoubleReplacing(effect, doubleInputs, doubleOutputs, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(outLeft[i], 7.0f);
        EXPECT_EQ(outRight[i], 9.0f);
        EXPECT_EQ(doubleOut[i], 3.0);
    }
}

} // namespace
} // namespace quillory::testing
