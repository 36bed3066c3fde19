#include "engine/ControlInbox.h"

namespace quillory {

ControlNews ControlInbox::collect() {
    ControlNews news;
    const uint64_t latest = published.load(std::memory_order_acquire);
    bool complete = true;
    for (int32_t s = 0; s < kSettingCount; ++s) {
        const Read jump = read(jumps[s], news.jumpValue[s]);
        const Read glide = read(glides[s], news.glideTarget[s]);
        news.jumped[s] = jump == Read::fresh;
        // A glide that an already collected jump came after is over before it began.
        news.glideStarted[s] = glide == Read::fresh && glides[s].seen > jumps[s].seen;
        complete = complete && jump != Read::busy && glide != Read::busy;
    }
    for (int32_t c = 0; c < kChoiceCount; ++c) {
        const Read choice = read(choices[c], news.choice[c]);
        news.chosen[c] = choice == Read::fresh;
        complete = complete && choice != Read::busy;
    }
    const Read rate = read(sampleRate, news.sampleRate);
    news.rateChanged = rate == Read::fresh;
    complete = complete && rate != Read::busy;
    // Something caught mid-write is collected at the next frame.
    if (complete) {
        collected = latest;
    }
    return news;
}

} // namespace quillory
