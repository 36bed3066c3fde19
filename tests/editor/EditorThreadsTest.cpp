// The editor idling, dragging, opening and closing on one thread while the host automates
// on a second and audio runs on a third. Run under ThreadSanitizer, this proves that values
// set from other threads never reach the views directly and that nobody waits on the editor.

#include "EditorHarness.h"

#include <atomic>
#include <thread>

namespace quillory::test {
namespace {

class EditorThreads : public EditorHarness {};

TEST_F(EditorThreads, AutomationAndAudioRunWhileTheEditorOpensDragsAndCloses) {
    std::atomic<bool> stop{false};
    std::atomic<int> automations{0};
    std::thread automation([&] {
        for (int i = 0; !stop.load(); ++i) {
            effect->setParameter(i % QuilloryChorusVst::kNumParams, static_cast<float>(i % 7) / 6);
            automations.fetch_add(1);
        }
    });
    std::thread audio([&] {
        std::vector<float> left(256, 0.25f), right(256, -0.25f), outLeft(256), outRight(256);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        AEffect* record = effect->getAeffect();
        while (!stop.load()) {
            record->processReplacing(record, inputs, outputs, 256);
        }
    });

    for (int cycle = 0; cycle < 20; ++cycle) {
        ASSERT_TRUE(open());
        press({100 + cycle % 3 * 88, 120}); // Depth or Speed pad, or a miss between them
        for (int step = 0; step < 10; ++step) {
            services.now += 7;
            moveTo({100 + step * 5, 120});
            idle();
        }
        if (cycle % 2 == 0) {
            release();
            idle();
        }
        close(); // half of the drags are still held when the window goes
    }
    // The last drag ends once a window shows the button up again.
    ASSERT_TRUE(open());
    idle();
    EXPECT_EQ(effect->activeDrag(), nullptr);
    close();

    stop.store(true);
    automation.join();
    audio.join();
    EXPECT_GT(automations.load(), 0);
}

} // namespace
} // namespace quillory::test
