// Changes made by editor controls: they reach the host as automation, land in the current
// program, and may race with host automation and audio without a data race.

#include "plugin/QuilloryChorusVst.h"
#include "shell/Opcodes.h"
#include "tests/unit/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quillory {
namespace {

class ParameterEditor : public ::testing::Test {
protected:
    void SetUp() override {
        effect = std::make_unique<QuilloryChorusVst>(&test::RecordingHost::callback);
    }

    std::vector<test::HostCall> automations() const {
        std::vector<test::HostCall> found;
        for (const test::HostCall& call : recorder.calls) {
            if (call.opcode == audioMasterAutomate) {
                found.push_back(call);
            }
        }
        return found;
    }

    std::string display(int32_t index) {
        char text[64] = {};
        effect->getParameterDisplay(index, text);
        return text;
    }

    // What an editor control does: silence the host echo while it writes.
    void editContinuous(int32_t index, double value) {
        ParameterX& parameter = *effect->parameters[index];
        parameter.hostEnabled = false;
        parameter.setFromEditor(value);
        parameter.hostEnabled = true;
    }

    test::RecordingHost recorder;
    std::unique_ptr<QuilloryChorusVst> effect;
};

TEST_F(ParameterEditor, ContinuousEditsAreReportedAndKeptInTheProgram) {
    editContinuous(4, 0.25);
    EXPECT_EQ(effect->getParameter(4), 0.25f);
    EXPECT_EQ(display(4), "75.0% 25.0%");
    ASSERT_EQ(automations().size(), 1u);
    EXPECT_EQ(automations()[0].index, 4);
    EXPECT_EQ(automations()[0].opt, 0.25f);

    effect->setProgram(1);
    effect->setProgram(0);
    EXPECT_EQ(display(4), "75.0% 25.0%");
}

TEST_F(ParameterEditor, SteppedEditsReportTheirNormalisedChoice) {
    ParameterX& taps = *effect->parameters[2];
    taps.hostEnabled = false;
    taps.setChoiceFromEditor(2);
    taps.hostEnabled = true;
    EXPECT_EQ(display(2), "4");
    EXPECT_EQ(effect->getParameter(2), 1.0f);
    ASSERT_EQ(automations().size(), 1u);
    EXPECT_EQ(automations()[0].index, 2);
    EXPECT_EQ(automations()[0].opt, 1.0f);
}

TEST_F(ParameterEditor, HostValuesAreIgnoredWhileAControlIsWriting) {
    effect->parameters[0]->hostEnabled = false;
    effect->setParameter(0, 0.9f);
    EXPECT_EQ(effect->getParameter(0), 0.357036f);
    effect->parameters[0]->hostEnabled = true;
    effect->setParameter(0, 0.9f);
    EXPECT_EQ(effect->getParameter(0), 0.9f);
}

TEST_F(ParameterEditor, EditorHostAndAudioThreadsShareTheParameters) {
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> in(128, 0.25f);
        std::vector<float> out(128);
        float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {out.data(), out.data()};
        while (!stop.load()) {
            effect->processReplacing(inputs, outputs, 128);
        }
    });
    std::thread host([&] {
        for (int round = 0; round < 300; ++round) {
            effect->setParameter(round % 5, static_cast<float>(round % 7) / 6.0f);
            if (round % 30 == 0) {
                effect->setProgram(round % 16);
            }
        }
    });
    for (int round = 0; round < 300; ++round) {
        effect->parameters[round % 2]->setFromEditor(static_cast<double>(round % 9) / 8.0);
        effect->parameters[2 + round % 2]->setChoiceFromEditor(round % 2);
        display(round % 5);
    }
    host.join();
    stop = true;
    audio.join();
    EXPECT_EQ(automations().size(), 600u);
}

} // namespace
} // namespace quillory
