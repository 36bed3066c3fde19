// A parameter on its own, with a stand-in for the effect that owns it: what it hands the
// engine, what it keeps in the current program, what it reports to the host and when, and
// which changes it shows on an attached editor control.

#include "params/ParameterX.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace quillory {
namespace {

class FakeOwner : public ParameterOwner {
public:
    std::mutex& controlLock() override { return lock; }
    ChorusProgram& currentProgramRecord() override { return program; }
    void glideTo(int32_t index, double value) override { note("glide", index, value); }
    void jumpTo(int32_t index, double value) override { note("jump", index, value); }
    void choose(int32_t index, int32_t choice) override { note("choose", index, choice); }
    void setParameterAutomated(int32_t index, float value) override {
        // A host may call straight back into the plug-in: the lock must be free by now.
        const bool lockFree = lock.try_lock();
        if (lockFree) {
            lock.unlock();
        }
        automated.push_back(std::to_string(index) + "=" + std::to_string(value) +
                            (lockFree ? "" : " while locked"));
    }

    void note(const char* what, int32_t index, double value) {
        handed.push_back(std::string(what) + " " + std::to_string(index) + " " +
                         std::to_string(value));
    }

    std::mutex lock;
    ChorusProgram program;
    std::vector<std::string> handed;
    std::vector<std::string> automated;
};

class CountingControl : public ParameterControl {
public:
    void refresh(const ParameterX& parameter) override {
        ++refreshes;
        lastTarget = parameter.target.load();
    }
    int refreshes = 0;
    double lastTarget = -1.0;
};

std::string display(const ParameterX& parameter) {
    char text[kDisplayTextLength + 1];
    parameter.copyDisplayText(text);
    return text;
}

TEST(ParameterX, HostSettingsGlideChoicesActAtOnceAndProgramChangesJump) {
    FakeOwner owner;
    ParameterX depth("Chorus Depth", "Chrs Dpth", kParamDepth, &owner, nullptr);
    ParameterX taps("Chorus Numb Taps", "Chrs Taps", kParamTaps, 2, &owner, &depth);
    CountingControl pad;
    depth.attachPad(pad);
    EXPECT_EQ(depth.next, &taps);
    EXPECT_EQ(depth.controlKind, kControlPad);

    depth.setFromHost(0.5);
    taps.setFromHost(0.5);
    EXPECT_EQ(owner.handed, (std::vector<std::string>{"glide 0 0.500000", "choose 2 1.000000"}));
    EXPECT_EQ(owner.program.depth, 0.5);
    EXPECT_EQ(owner.program.taps, 1);
    EXPECT_EQ(display(depth), "7.1ms");
    EXPECT_EQ(display(taps), "3");
    EXPECT_EQ(taps.normalisedValue(), 0.5f);
    EXPECT_EQ(pad.refreshes, 1);

    depth.jumpTo(1.0);
    EXPECT_EQ(owner.handed.back(), "jump 0 1.000000");
    EXPECT_EQ(owner.program.depth, 0.5) << "a program's own values are not written back";
    EXPECT_EQ(display(depth), "500ms");
    EXPECT_EQ(pad.refreshes, 2);
    EXPECT_EQ(pad.lastTarget, 1.0);
    EXPECT_TRUE(owner.automated.empty()) << "host and program changes are not echoed";
}

TEST(ParameterX, EditorWritesAreClampedReportedOutsideTheLockAndNotEchoedToTheirControl) {
    FakeOwner owner;
    ParameterX mix("Pan / Chorus Mix", "Pan/chr Mix", kParamMix, &owner, nullptr);
    ParameterX waveform("Chorus Waveform", "Chrs Waveform", kParamWaveform, 1, &owner, nullptr);
    CountingControl pad;
    CountingControl dropdown;
    mix.attachPad(pad);
    waveform.attachDropdown(dropdown);

    mix.setFromEditor(1.7);
    waveform.setChoiceFromEditor(1);
    EXPECT_EQ(owner.automated, (std::vector<std::string>{"4=1.000000", "3=1.000000"}));
    EXPECT_EQ(owner.handed, (std::vector<std::string>{"glide 4 1.000000", "choose 3 1.000000"}));
    EXPECT_EQ(owner.program.mix, 1.0);
    EXPECT_EQ(owner.program.waveform, 1);
    EXPECT_EQ(display(mix), "0.0% 100.0%");
    EXPECT_EQ(display(waveform), "Wander");
    EXPECT_EQ(pad.refreshes + dropdown.refreshes, 0);
}

} // namespace
} // namespace quillory
