// A host automating everything on one thread while audio runs on another and a third
// thread reads names and texts, as hosts do. Run under ThreadSanitizer this must report
// nothing; in any build the audio must stay finite and every text well formed.

#include "shell/Opcodes.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

namespace quillory::testing {
namespace {

TEST(PluginThreads, AutomationProgramChangesAndQueriesRaceWithAudio) {
    TestHost host;
    AEffect* effect = host.open();
    ASSERT_NE(effect, nullptr);
    std::atomic<bool> stop{false};
    std::atomic<bool> audioFinite{true};

    std::thread audio([&] {
        std::vector<float> left(256, 0.5f);
        std::vector<float> right(256, -0.5f);
        std::vector<float> outLeft(256);
        std::vector<float> outRight(256);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        while (!stop.load()) {
            effect->processReplacing(effect, inputs, outputs, 256);
            for (float sample : outLeft) {
                if (!std::isfinite(sample)) {
                    audioFinite = false;
                }
            }
        }
    });
    std::thread reader([&] {
        char text[64];
        while (!stop.load()) {
            for (int32_t index = 0; index < 5; ++index) {
                effect->getParameter(effect, index);
                effect->dispatcher(effect, effGetParamDisplay, index, 0, text, 0.0f);
                EXPECT_LT(strnlen(text, sizeof(text)), 43u);
            }
            effect->dispatcher(effect, effGetProgramNameIndexed, 3, 0, text, 0.0f);
            effect->dispatcher(effect, effGetProgramName, 0, 0, text, 0.0f);
            effect->dispatcher(effect, effGetProgram, 0, 0, nullptr, 0.0f);
        }
    });

    // The automation thread is this one.
    char name[] = "Automated";
    for (int round = 0; round < 400; ++round) {
        for (int32_t index = 0; index < 5; ++index) {
            effect->setParameter(effect, index, static_cast<float>((round * 7 + index) % 11) / 10);
        }
        if (round % 10 == 0) {
            effect->dispatcher(effect, effSetProgram, 0, round % 16, nullptr, 0.0f);
            effect->dispatcher(effect, effSetProgramName, 0, 0, name, 0.0f);
        }
        if (round % 50 == 0) {
            effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr,
                               round % 100 ? 48000.f : 44100.f);
        }
        std::this_thread::yield();
    }
    stop = true;
    audio.join();
    reader.join();
    EXPECT_TRUE(audioFinite.load());
}

} // namespace
} // namespace quillory::testing
