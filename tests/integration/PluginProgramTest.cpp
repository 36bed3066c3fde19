// The sixteen built-in programs as a host sees them: names, switching, the texts each
// program shows, edits kept per program, and renaming.

#include "shell/Opcodes.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace quillory::testing {
namespace {

struct ProgramTexts {
    const char* name;
    const char* texts[5]; // depth, speed, taps, waveform, mix
};

const ProgramTexts kBank[16] = {
    {"For Piano", {"2.1ms", "0.55Hz", "2", "Wander", "56.9% 43.1%"}},
    {"For Reed", {"0.7ms", "1.93Hz", "2", "Wander", "36.6% 63.4%"}},
    {"For Vibes", {"0.5ms", "2.37Hz", "3", "Sine", "4.7% 95.3%"}},
    {"For Flute", {"54ms", "0.07Hz", "3", "Wander", "0.0% 100.0%"}},
    {"For Organ", {"2.0ms", "1.16Hz", "4", "Sine", "0.0% 100.0%"}},
    {"For Synth Lead", {"0.7ms", "3.63Hz", "3", "Sine", "0.0% 100.0%"}},
    {"For Guitar", {"9.3ms", "0.06Hz", "3", "Wander", "0.0% 100.0%"}},
    {"For Synth Pad", {"139ms", "0.02Hz", "4", "Sine", "32.2% 67.8%"}},
    {"For Bass", {"15ms", "0.15Hz", "2", "Wander", "29.4% 70.6%"}},
    {"For Strings", {"2.6ms", "0.91Hz", "4", "Wander", "27.3% 72.7%"}},
    {"For Vox", {"4.3ms", "0.60Hz", "3", "Sine", "15.3% 84.7%"}},
    {"For Percussive", {"3.5ms", "1.59Hz", "3", "Sine", "0.0% 100.0%"}},
    {"For Brass", {"1.2ms", "0.34Hz", "3", "Wander", "23.9% 76.1%"}},
    {"Detune Delay", {"208ms", "0.26Hz", "4", "Wander", "0.0% 100.0%"}},
    {"Helicopter", {"6.1ms", "20.0Hz", "4", "Wander", "0.0% 100.0%"}},
    {"4 Track", {"75ms", "0.13Hz", "4", "Sine", "45.5% 54.5%"}},
};

class PluginPrograms : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(host.open(), nullptr); }

    std::string text(int32_t opcode, int32_t index = 0) {
        char buffer[64];
        std::memset(buffer, 'x', sizeof(buffer));
        host.dispatch(opcode, index, 0, buffer);
        return std::string(buffer, strnlen(buffer, sizeof(buffer)));
    }
    std::string indexedName(int32_t index) {
        char buffer[64] = {};
        return host.dispatch(effGetProgramNameIndexed, index, 0, buffer) != 0 ? buffer : "<none>";
    }
    void select(intptr_t program) { host.dispatch(effSetProgram, 0, program); }

    TestHost host;
};

TEST_F(PluginPrograms, EveryProgramShowsItsNameAndTexts) {
    for (int32_t program = 0; program < 16; ++program) {
        EXPECT_EQ(indexedName(program), kBank[program].name);
        select(program);
        EXPECT_EQ(host.dispatch(effGetProgram), program);
        EXPECT_EQ(text(effGetProgramName), kBank[program].name);
        for (int32_t index = 0; index < 5; ++index) {
            EXPECT_EQ(text(effGetParamDisplay, index), kBank[program].texts[index])
                << kBank[program].name << ", parameter " << index;
        }
    }
}

TEST_F(PluginPrograms, ProgramNumbersOutsideTheBankAreIgnored) {
    select(14);
    for (intptr_t program : {16, -1, 100}) {
        select(program);
        EXPECT_EQ(host.dispatch(effGetProgram), 14);
    }
    EXPECT_EQ(text(effGetParamDisplay, 1), "20.0Hz");
    EXPECT_EQ(indexedName(16), "<none>");
    EXPECT_EQ(indexedName(-1), "<none>");
    EXPECT_EQ(indexedName(15), "4 Track");
}

TEST_F(PluginPrograms, EachProgramKeepsItsEdits) {
    select(3);
    host.effect()->setParameter(host.effect(), 0, 0.9f);
    host.effect()->setParameter(host.effect(), 2, 0.0f);
    select(5);
    EXPECT_EQ(text(effGetParamDisplay, 0), "0.7ms");
    EXPECT_EQ(text(effGetParamDisplay, 2), "3");
    select(3);
    EXPECT_EQ(text(effGetParamDisplay, 0), "213ms");
    EXPECT_EQ(text(effGetParamDisplay, 2), "2");
    EXPECT_EQ(host.effect()->getParameter(host.effect(), 0), 0.9f);
}

TEST_F(PluginPrograms, ChangesAndRenamesAskTheHostToUpdateItsDisplay) {
    host.clearCalls();
    select(2);
    char name[] = "Mine";
    host.dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(host.callsWithOpcode(audioMasterUpdateDisplay).size(), 2u);
    EXPECT_TRUE(host.callsWithOpcode(audioMasterAutomate).empty());
}

TEST_F(PluginPrograms, NamesAreCutToTwentyFourCharacters) {
    char longName[] = "abcdefghijklmnopqrstuvwxyz0123";
    host.dispatch(effSetProgramName, 0, 0, longName);
    char buffer[40];
    std::memset(buffer, 'x', sizeof(buffer));
    host.dispatch(effGetProgramName, 0, 0, buffer);
    EXPECT_STREQ(buffer, "abcdefghijklmnopqrstuvwx");
    EXPECT_EQ(buffer[25], 'x'); // exactly 25 bytes written

    char shortName[] = "Hi";
    host.dispatch(effSetProgramName, 0, 0, shortName);
    std::memset(buffer, 'x', sizeof(buffer));
    host.dispatch(effGetProgramName, 0, 0, buffer);
    EXPECT_STREQ(buffer, "Hi");
    for (int i = 2; i <= 24; ++i) {
        EXPECT_EQ(buffer[i], 0) << i;
    }
    EXPECT_EQ(indexedName(0), "Hi");
    EXPECT_EQ(indexedName(1), "For Reed");

    host.dispatch(effSetProgramName, 0, 0, nullptr);
    EXPECT_EQ(indexedName(0), "Hi");
}

// A program change takes effect at once and ends a running glide: the mix jumps to the
// program's value instead of gliding on toward the host's setting.
TEST_F(PluginPrograms, ProgramChangeEndsAGlideAtOnce) {
    select(4); // four Sine taps, mix 1
    host.effect()->setParameter(host.effect(), 4, 0.0f);
    std::vector<float> input(500, 0.25f);
    std::vector<float> silence(500, 0.25f);
    std::vector<float> outLeft;
    std::vector<float> outRight;
    host.processStereo(input, silence, outLeft, outRight);
    select(7); // mix 0.678003
    std::vector<float> gliding;
    std::vector<float> glidingRight;
    host.processStereo(input, silence, gliding, glidingRight);

    TestHost reference;
    ASSERT_NE(reference.open(), nullptr);
    reference.dispatch(effSetProgram, 0, 4);
    reference.processStereo(input, silence, outLeft, outRight);
    reference.dispatch(effSetProgram, 0, 7);
    std::vector<float> settled;
    std::vector<float> settledRight;
    reference.processStereo(input, silence, settled, settledRight);
    EXPECT_EQ(gliding, settled);
}

} // namespace
} // namespace quillory::testing
