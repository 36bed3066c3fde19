#include "ShellTestSupport.h"
#include "shell/Opcodes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace quillory::test {
namespace {

int gTarget = 0;
char gText[64] = {};
void* const kPtr = &gTarget;
auto* const kTask = reinterpret_cast<VstOfflineTask*>(&gTarget);
auto* const kFiles = reinterpret_cast<VstAudioFile*>(&gTarget);
auto* const kWindow = reinterpret_cast<VstWindow*>(&gTarget);
auto* const kSelect = reinterpret_cast<VstFileSelect*>(&gTarget);

intptr_t number(const void* pointer) {
    return reinterpret_cast<intptr_t>(pointer);
}

struct ServiceCase {
    std::function<intptr_t(TestEffect&)> call;
    HostCall sent;       // the record is checked separately
    intptr_t hostAnswer; // what the host answers in the first run
    intptr_t answered;   // the service's answer to that
    intptr_t declined;   // its answer when the host answers 0 and when there is no host
};

TEST(HostServices, EachServiceSendsItsRequestAndReadsTheAnswer) {
    using E = TestEffect&;
    const ServiceCase cases[] = {
        // clang-format off
        {[](E e) { return e.getMasterVersion(); }, {1}, 2400, 2400, 1},
        {[](E e) { return e.getCurrentUniqueId(); }, {2}, 7, 7, 0},
        {[](E e) { return (e.masterIdle(), 0); }, {3}, 7, 0, 0},
        {[](E e) { return e.isInputConnected(3); }, {4, 3, 0}, 7, 0, 1},
        {[](E e) { return e.isOutputConnected(2); }, {4, 2, 1}, 7, 0, 1},
        {[](E e) { return (e.wantEvents(5), 0); }, {6, 0, 5}, 7, 0, 0},
        {[](E e) { return number(e.getTimeInfo(9)); }, {7, 0, 9}, 7, 7, 0},
        {[](E e) { return e.tempoAt(1234); }, {10, 0, 1234}, 7, 7, 0},
        {[](E e) { return e.getNumAutomatableParameters(); }, {11}, 7, 7, 0},
        {[](E e) { return e.getParameterQuantization(); }, {12}, 7, 7, 0},
        {[](E e) { return e.ioChanged(); }, {13}, 7, 1, 0},
        {[](E e) { return e.needIdle(); }, {14}, 7, 1, 0},
        {[](E e) { return e.sizeWindow(640, 480); }, {15, 640, 480}, 7, 1, 0},
        {[](E e) { return intptr_t(e.updateSampleRate()); }, {16}, 48000, 48000, 44100},
        {[](E e) { return e.updateBlockSize(); }, {17}, 512, 512, 1024},
        {[](E e) { return e.getInputLatency(); }, {18}, 7, 7, 0},
        {[](E e) { return e.getOutputLatency(); }, {19}, 7, 7, 0},
        {[](E e) { return number(e.getPreviousPlug(3)); }, {20}, 7, 7, 0},
        {[](E e) { return number(e.getNextPlug(4)); }, {21}, 7, 7, 0},
        {[](E e) { return e.willProcessReplacing(); }, {22}, 7, 7, 0},
        {[](E e) { return e.getCurrentProcessLevel(); }, {23}, 7, 7, 0},
        {[](E e) { return e.getAutomationState(); }, {24}, 7, 7, 0},
        {[](E e) { return e.offlineStart(kFiles, 5, 2); }, {25, 2, 5, kPtr}, 7, 1, 0},
        {[](E e) { return e.offlineRead(kTask, 6, true); }, {26, 1, 6, kPtr}, 7, 1, 0},
        {[](E e) { return e.offlineRead(kTask, 6, false); }, {26, 0, 6, kPtr}, 7, 1, 0},
        {[](E e) { return e.offlineWrite(kTask, 8); }, {27, 0, 8, kPtr}, 7, 1, 0},
        {[](E e) { return e.offlineGetCurrentPass(); }, {28}, 7, 1, 0},
        {[](E e) { return e.offlineGetCurrentMetaPass(); }, {29}, 7, 1, 0},
        {[](E e) { return (e.setOutputSamplerate(22050.5f), 0); }, {30, 0, 0, {}, 22050.5f}, 7, 0, 0},
        {[](E e) { return number(e.getOutputSpeakerArrangement()); }, {31}, 7, 7, 0},
        {[](E e) { return e.getHostVendorString(gText); }, {32, 0, 0, gText}, 7, 1, 0},
        {[](E e) { return e.getHostProductString(gText); }, {33, 0, 0, gText}, 7, 1, 0},
        {[](E e) { return e.getHostVendorVersion(); }, {34}, 7, 7, 0},
        {[](E e) { return e.hostVendorSpecific(11, 22, kPtr, 3.5f); }, {35, 11, 22, kPtr, 3.5f}, 7, 7, 0},
        {[](E e) { return e.canHostDo(gText); }, {37, 0, 0, gText}, 7, 1, 0},
        {[](E e) { return e.canHostDo(gText); }, {37, 0, 0, gText}, -1, 1, 0},
        {[](E e) { return e.getHostLanguage(); }, {38}, 7, 7, 0},
        {[](E e) { return number(e.openWindow(kWindow)); }, {39, 0, 0, kPtr}, 7, 7, 0},
        {[](E e) { return e.closeWindow(kWindow); }, {40, 0, 0, kPtr}, 7, 1, 0},
        {[](E e) { return number(e.getDirectory()); }, {41}, 7, 7, 0},
        {[](E e) { return e.updateDisplay(); }, {42}, 7, 1, 0},
        {[](E e) { return e.beginEdit(9); }, {43, 9}, 7, 1, 0},
        {[](E e) { return e.endEdit(-4); }, {44, -4}, 7, 1, 0},
        {[](E e) { return e.openFileSelector(kSelect); }, {45, 0, 0, kPtr}, 7, 1, 0},
        {[](E e) { return e.closeFileSelector(kSelect); }, {46, 0, 0, kPtr}, 7, 1, 0},
        {[](E e) { return e.getChunkFile(kPtr); }, {48, 0, 0, kPtr}, 7, 1, 0},
        {[](E e) { return number(e.getInputSpeakerArrangement()); }, {49}, 7, 7, 0},
        // clang-format on
    };
    for (const ServiceCase& c : cases) {
        const std::string label = describe(c.sent);
        for (const intptr_t reply : {c.hostAnswer, intptr_t{0}}) {
            RecordingHost host;
            host.reply = reply;
            TestEffect effect(RecordingHost::callback);
            EXPECT_EQ(c.call(effect), reply != 0 ? c.answered : c.declined) << label << reply;
            ASSERT_EQ(host.calls.size(), 1u) << label;
            EXPECT_EQ(describe(host.calls[0]), label);
            EXPECT_EQ(host.calls[0].effect, effect.getAeffect()) << label;
        }
        TestEffect alone(nullptr);
        EXPECT_EQ(c.call(alone), c.declined) << label << " without host";
    }
}

class AutomatedEffect : public TestEffect {
public:
    using TestEffect::TestEffect;
    void setParameter(int32_t index, float value) override {
        set = {index, value, host != nullptr ? host->calls.size() : 0};
    }
    RecordingHost* host = nullptr;
    std::tuple<int32_t, float, size_t> set; // index, value, requests sent before
};

TEST(HostServices, AutomatedParameterIsSetBeforeTheHostIsTold) {
    RecordingHost host;
    AutomatedEffect effect(RecordingHost::callback);
    effect.host = &host;
    effect.setParameterAutomated(2, 0.75f);
    EXPECT_EQ(effect.set, std::tuple(2, 0.75f, size_t{0}));
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(describe(host.calls[0]), describe({audioMasterAutomate, 2, 0, nullptr, 0.75f}));
    AutomatedEffect alone(nullptr);
    alone.setParameterAutomated(4, 0.25f);
    EXPECT_EQ(alone.set, std::tuple(4, 0.25f, size_t{0}));
}

TEST(HostServices, SampleRateAndBlockSizeChangeOnlyOnPositiveHostAnswers) {
    RecordingHost host;
    TestEffect effect(RecordingHost::callback);
    for (const int32_t reply : {48000, 0, -1, 96000}) {
        const int32_t expected = reply > 0 ? reply : 48000;
        host.reply = reply;
        EXPECT_EQ(effect.updateSampleRate(), expected);
        EXPECT_EQ(effect.updateBlockSize(), expected);
        EXPECT_EQ(std::tuple(effect.getSampleRate(), effect.getBlockSize()),
                  std::tuple(static_cast<float>(expected), expected));
    }
}

TEST(HostServices, NullSelectorOrPathSendsNothingAndAnswersFalse) {
    RecordingHost host;
    host.reply = 1;
    TestEffect effect(RecordingHost::callback);
    EXPECT_FALSE(effect.openFileSelector(nullptr));
    EXPECT_FALSE(effect.closeFileSelector(nullptr));
    EXPECT_FALSE(effect.getChunkFile(nullptr));
    EXPECT_TRUE(host.calls.empty());
}

VstSpeakerProperties filledSpeaker(char letter, int32_t type) {
    VstSpeakerProperties speaker{0.5f, -0.25f, 2.0f, 3.0f, {}, type, {}};
    std::memset(speaker.name, letter, sizeof speaker.name); // no terminator
    for (size_t i = 0; i < sizeof speaker.future; ++i) {
        speaker.future[i] = static_cast<char>(i + 1);
    }
    return speaker;
}

void expectCopied(const VstSpeakerProperties& to, const VstSpeakerProperties& from) {
    EXPECT_EQ(std::string(to.name), std::string(from.name, 63));
    EXPECT_EQ(std::tuple(to.type, to.azimuth, to.elevation, to.radius, to.reserved),
              std::tuple(from.type, from.azimuth, from.elevation, from.radius, from.reserved));
    EXPECT_EQ(std::memcmp(to.future, from.future, sizeof to.future), 0);
}

TEST(HostServices, ArrangementsAreAllocatedZeroFilledCopiedAndReleased) {
    TestEffect effect(nullptr);
    VstSpeakerArrangement* from = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&from, 1));
    from->type = 9;
    ASSERT_TRUE(effect.allocateArrangement(&from, 2)); // replaces the first one
    EXPECT_EQ(std::tuple(from->type, from->numChannels), std::tuple(0, 2));
    const auto* bytes = reinterpret_cast<const unsigned char*>(from->speakers);
    const size_t size = 2 * sizeof(VstSpeakerProperties);
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + size), std::vector<unsigned char>(size));

    from->type = 5;
    from->speakers[0] = filledSpeaker('a', 1);
    from->speakers[1] = filledSpeaker('b', 2);
    VstSpeakerArrangement* to = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&to, 1));
    EXPECT_FALSE(effect.matchArrangement(&to, nullptr));
    ASSERT_TRUE(effect.matchArrangement(&to, from));
    EXPECT_EQ(std::tuple(to->type, to->numChannels), std::tuple(5, 2));
    expectCopied(to->speakers[0], from->speakers[0]);
    expectCopied(to->speakers[1], from->speakers[1]);

    for (VstSpeakerArrangement** arrangement : {&from, &to, &to}) {
        EXPECT_TRUE(effect.deallocateArrangement(arrangement));
        EXPECT_EQ(*arrangement, nullptr);
    }
    EXPECT_TRUE(effect.deallocateArrangement(nullptr));
}

TEST(HostServices, CopySpeakerCopiesEveryFieldLimitsTheNameAndRefusesNull) {
    TestEffect effect(nullptr);
    VstSpeakerProperties from = filledSpeaker('n', 4);
    VstSpeakerProperties to{};
    EXPECT_FALSE(effect.copySpeaker(nullptr, &from));
    EXPECT_FALSE(effect.copySpeaker(&to, nullptr));
    EXPECT_EQ(to.type, 0);
    ASSERT_TRUE(effect.copySpeaker(&to, &from));
    expectCopied(to, from);
    std::strcpy(from.name, "Left");
    ASSERT_TRUE(effect.copySpeaker(&to, &from));
    EXPECT_STREQ(to.name, "Left");
}

class RateOverride : public TestEffect {
public:
    using TestEffect::TestEffect;
    float getSampleRate() override { return 88200.0f; }
};

TEST(HostServices, ValueTextUsesTheEffectsSampleRate) {
    TestEffect effect(nullptr);
    RateOverride overridden(nullptr);
    const std::pair<std::function<void(char*)>, const char*> cases[] = {
        // clang-format off
        {[&](char* t) { effect.Hz2string(441.0f, t, 16); }, "100.0000"},
        {[&](char* t) { effect.Hz2string(0.0f, t, 16); }, "0.000000"},
        {[&](char* t) { effect.ms2string(441.0f, t, 16); }, "10.00000"},
        {[&](char* t) { overridden.Hz2string(441.0f, t, 16); }, "200.0000"},
        {[&](char* t) { effect.dB2string(0.5f, t, 16); }, "-6.02059"},
        {[&](char* t) { effect.float2string(-1.5f, t, 16); }, "-1.50000"},
        {[&](char* t) { effect.int2string(12345, t, 2); }, "12"},
        {[&](char* t) { effect.setSampleRate(22050.0f), effect.ms2string(441.0f, t, 16); }, "20.00000"},
        // clang-format on
    };
    for (const auto& [format, expected] : cases) {
        char text[32];
        std::memset(text, 'X', sizeof text);
        format(text);
        EXPECT_STREQ(text, expected);
    }
}

} // namespace
} // namespace quillory::test
