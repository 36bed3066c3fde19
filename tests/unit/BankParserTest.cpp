#include "params/BankParser.h"
#include "params/BankText.h"
#include "params/ChorusProgram.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace quillory {
namespace {

// Sixteen records plus one past the end that the parser must never touch.
using Records = std::array<ChorusProgram, kNumPrograms + 1>;

Records parseLines(std::initializer_list<const char*> text) {
    std::vector<const char*> lines(text);
    lines.push_back("");
    Records records{};
    parseBank(lines.data(), records.data(), kNumPrograms);
    return records;
}

void expectDefaults(const ChorusProgram& p) {
    EXPECT_STREQ(p.name, "");
    EXPECT_EQ(p.depth, 0.5);
    EXPECT_EQ(p.speed, 0.5);
    EXPECT_EQ(p.taps, 1);
    EXPECT_EQ(p.waveform, 0);
    EXPECT_EQ(p.mix, 0.5);
}

TEST(BankParser, BuiltInBankFillsSixteenPrograms) {
    Records records{};
    parseBank(kBankText, records.data(), kNumPrograms + 1);
    const char* const names[kNumPrograms] = {
        "For Piano",  "For Reed",      "For Vibes",  "For Flute",   "For Organ", "For Synth Lead",
        "For Guitar", "For Synth Pad", "For Bass",   "For Strings", "For Vox",   "For Percussive",
        "For Brass",  "Detune Delay",  "Helicopter", "4 Track"};
    for (int32_t i = 0; i < kNumPrograms; ++i) {
        EXPECT_STREQ(records[i].name, names[i]) << i;
    }
    expectDefaults(records[kNumPrograms]); // no seventeenth program
    const auto& piano = records[0];
    EXPECT_DOUBLE_EQ(piano.depth, 0.357036);
    EXPECT_DOUBLE_EQ(piano.speed, 0.478872);
    EXPECT_EQ(piano.taps, 0);
    EXPECT_EQ(piano.waveform, 1);
    EXPECT_DOUBLE_EQ(piano.mix, 0.430669);
    EXPECT_EQ(records[7].speed, 0.0);
    EXPECT_EQ(records[7].taps, 2);
    const auto& track = records[15];
    EXPECT_DOUBLE_EQ(track.depth, 0.777225);
    EXPECT_DOUBLE_EQ(track.speed, 0.267337);
    EXPECT_EQ(track.taps, 2);
    EXPECT_EQ(track.waveform, 0);
    EXPECT_DOUBLE_EQ(track.mix, 0.544678);
}

TEST(BankParser, KeywordLinesSetTheProgramOfTheLastName) {
    const auto r =
        parseLines({"CHDP 0.1", "NAME A", "PCMX 0.75", "CHWV 1", "NAME B", "CHTP 2", "CHTP\t0",
                    "NAME\tC", "NAMEC", "chtp 0", "XXXX 0", "NAM", "CHSP 0.25"});
    EXPECT_STREQ(r[0].name, "A");
    EXPECT_EQ(r[0].depth, 0.5); // the CHDP before any NAME went nowhere
    EXPECT_EQ(r[0].mix, 0.75);
    EXPECT_EQ(r[0].waveform, 1);
    EXPECT_EQ(r[0].taps, 1); // fields a program lacks keep their defaults
    EXPECT_EQ(r[0].speed, 0.5);
    EXPECT_STREQ(r[1].name, "B");
    EXPECT_EQ(r[1].taps, 2);
    EXPECT_EQ(r[1].speed, 0.25);
}

TEST(BankParser, ExtraProgramsAreDroppedWithoutWritingPastTheRecords) {
    std::vector<std::string> text;
    for (int i = 0; i < 20; ++i) {
        text.push_back("NAME P" + std::to_string(i));
        text.push_back("CHDP 0." + std::to_string(i));
    }
    std::vector<const char*> lines;
    for (const auto& line : text) {
        lines.push_back(line.c_str());
    }
    lines.push_back("");
    Records r{};
    parseBank(lines.data(), r.data(), kNumPrograms);
    EXPECT_STREQ(r[15].name, "P15");
    EXPECT_EQ(r[15].depth, 0.15);
    expectDefaults(r[kNumPrograms]);
}

TEST(BankParser, NamesAreCutAndEmptyNamesStillStartAProgram) {
    Records r{};
    std::strcpy(r[1].name, "kept");
    std::strcpy(r[2].name, "kept too");
    const char* const lines[] = {
        "NAME 123456789012345678901234567890", "NAME", "CHTP 0", "NAME ", "CHTP 2", ""};
    parseBank(lines, r.data(), kNumPrograms);
    EXPECT_STREQ(r[0].name, "123456789012345678901234");
    EXPECT_STREQ(r[1].name, "kept");
    EXPECT_EQ(r[1].taps, 0);
    EXPECT_STREQ(r[2].name, "kept too");
    EXPECT_EQ(r[2].taps, 2);
}

TEST(BankParser, ValuesThatDoNotScanLeaveFieldsUnchanged) {
    const auto r = parseLines({"NAME X", "CHDP", "CHDP ", "CHDP abc", "CHDP --1", "CHDP +-1",
                               "CHSP 1e999", "CHSP nan", "CHTP 99999999999", "CHWV -", "PCMX ."});
    EXPECT_EQ(r[0].depth, 0.5);
    EXPECT_EQ(r[0].speed, 0.5);
    EXPECT_EQ(r[0].taps, 1);
    EXPECT_EQ(r[0].waveform, 0);
    EXPECT_EQ(r[0].mix, 0.5);
}

TEST(BankParser, ValuesScanLikeScanfWithoutClamping) {
    const auto r = parseLines(
        {"NAME X", "CHDP \t 0.25abc", "CHSP +.75", "CHTP -7", "CHWV 12x", "PCMX -2147483648"});
    EXPECT_EQ(r[0].depth, 0.25);
    EXPECT_EQ(r[0].speed, 0.75);
    EXPECT_EQ(r[0].taps, -7);
    EXPECT_EQ(r[0].waveform, 12);
    EXPECT_EQ(r[0].mix, -2147483648.0);
}

TEST(BankParser, LinesEndAtNewlineAndAfter103Characters) {
    const std::string longLine = std::string(103, 'x') + "CHDP 0.25";
    const std::string digitAt103 = "CHWV" + std::string(98, ' ') + "1"; // 103 characters
    const std::string digitAt104 = "PCMX" + std::string(99, ' ') + "1"; // 104 characters
    const auto r = parseLines({"NAME X\nNAME Y", "CHSP 0.75\nCHTP 2", longLine.c_str(),
                               digitAt103.c_str(), digitAt104.c_str()});
    EXPECT_STREQ(r[0].name, "X");
    EXPECT_STREQ(r[1].name, "");
    EXPECT_EQ(r[0].speed, 0.75);
    EXPECT_EQ(r[0].taps, 1);
    EXPECT_EQ(r[0].depth, 0.5);
    EXPECT_EQ(r[0].waveform, 1);
    EXPECT_EQ(r[0].mix, 0.5);
}

} // namespace
} // namespace quillory
