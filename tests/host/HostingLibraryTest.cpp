// The hosting library with the recording probe loaded in this process: the order in which a
// session drives a plug-in, how it cuts audio into blocks, the host's answers to plug-in
// requests, and how records that are not effects are refused.

#include "host/lib/PluginSession.h"
#include "shell/Opcodes.h"
#include "tests/host/FakePlugin.h"
#include "tests/host/HostTestSupport.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace quillory::testing {
namespace {

std::vector<FakeEvent> eventsOf(const TestHost& host) {
    const auto events = reinterpret_cast<FakeEventsFunction>(host.symbol("quilloryFakeEvents"));
    size_t count = 0;
    const FakeEvent* first = events(&count);
    return {first, first + count};
}

TEST(PluginSession, DrivesThePluginInHostOrderAndCutsAudioIntoBlocks) {
    TestHost host(fakePlugin("probe"));
    ASSERT_NE(host.open(), nullptr);
    host::SessionSettings settings;
    settings.sampleRate = 48000.0f;
    settings.blockSize = 384;
    settings.program = 1;
    settings.parameters = {{2, 0.25f}, {0, 0.75f}};
    {
        host::PluginSession session(host, settings);
        std::vector<float> out[4];
        std::vector<float*> outputs;
        for (auto& channel : out) {
            channel.resize(1000);
            outputs.push_back(channel.data());
        }
        session.process({}, outputs, 1000);
        session.process({}, outputs, 384);
    }
    const std::vector<FakeEvent> events = eventsOf(host);
    const struct {
        int32_t opcode;
        int32_t index;
        intptr_t value;
        float opt;
    } kExpected[] = {{effOpen, 0, 0, 0.0f},
                     {effSetSampleRate, 0, 0, 48000.0f},
                     {effSetBlockSize, 0, 384, 0.0f},
                     {effSetProgram, 0, 1, 0.0f},
                     {kFakeSetParameter, 2, 0, 0.25f},
                     {kFakeSetParameter, 0, 0, 0.75f},
                     {effMainsChanged, 0, 1, 0.0f},
                     {kFakeProcess, 0, 384, 0.0f},
                     {kFakeProcess, 0, 384, 0.0f},
                     {kFakeProcess, 0, 232, 0.0f},
                     {kFakeProcess, 0, 384, 0.0f},
                     {effMainsChanged, 0, 0, 0.0f},
                     {effClose, 0, 0, 0.0f}};
    ASSERT_EQ(events.size(), std::size(kExpected));
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].opcode, kExpected[i].opcode) << "call " << i;
        EXPECT_EQ(events[i].index, kExpected[i].index) << "call " << i;
        EXPECT_EQ(events[i].value, kExpected[i].value) << "call " << i;
        EXPECT_EQ(events[i].opt, kExpected[i].opt) << "call " << i;
    }
    EXPECT_EQ(host.effect(), nullptr) << "the session closed the plug-in";
}

// The probe passes effVendorSpecific requests on to the host, index as the host opcode.
intptr_t askHost(TestHost& host, int32_t opcode, void* ptr = nullptr) {
    return host.dispatch(effVendorSpecific, opcode, 0, ptr);
}

TEST(HostedPlugin, AnswersPluginRequestsLikeAPlainOfflineHost) {
    TestHost host(fakePlugin("probe"));
    ASSERT_NE(host.open(), nullptr);
    host.setHostSampleRate(96000.0f);
    host.setHostBlockSize(256);
    EXPECT_EQ(askHost(host, audioMasterVersion), 2400);
    EXPECT_EQ(askHost(host, audioMasterGetSampleRate), 96000);
    EXPECT_EQ(askHost(host, audioMasterGetBlockSize), 256);
    char text[64];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(askHost(host, audioMasterGetVendorString, text), 1);
    EXPECT_STREQ(text, "Quillory");
    EXPECT_EQ(askHost(host, audioMasterGetProductString, text), 1);
    EXPECT_STREQ(text, "Quillory host");
    char question[] = "sendVstEvents";
    EXPECT_EQ(askHost(host, audioMasterCanDo, question), 0);
    EXPECT_EQ(askHost(host, audioMasterGetTime), 0);
    EXPECT_EQ(askHost(host, audioMasterGetCurrentProcessLevel), 0);
    EXPECT_EQ(askHost(host, audioMasterIOChanged), 0);
}

TEST(HostedPlugin, RefusesLibrariesThatDoNotMakeEffects) {
    EXPECT_THROW(TestHost("/no/such/library.so"), std::runtime_error);
    TestHost noEntry(fakePlugin("no_entry"));
    EXPECT_THROW(noEntry.open(), std::runtime_error);
    TestHost nullEffect(fakePlugin("null_effect"));
    EXPECT_EQ(nullEffect.open(), nullptr);
    TestHost notAnEffect(fakePlugin("not_an_effect"));
    EXPECT_THROW(notAnEffect.open(), std::runtime_error);
    EXPECT_EQ(notAnEffect.effect(), nullptr) << "a record without the magic must not be kept";
}

} // namespace
} // namespace quillory::testing
