#pragma once
// What the probe plug-in (FakePlugin.cpp built with QUILLORY_FAKE_PROBE) records of the
// host's calls, read back by the tests through its exported quilloryFakeEvents.

#include <cstddef>
#include <cstdint>

namespace quillory::testing {

// Calls that are not dispatcher requests, recorded with these numbers as the opcode.
constexpr int32_t kFakeSetParameter = 1000; // index, opt = value
constexpr int32_t kFakeProcess = 1001;      // value = frames

struct FakeEvent {
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
};

// The probe has one input and four outputs: the input, the input negated, the sample rate
// and the block size the host answered when the probe was resumed, both divided by this.
constexpr float kFakeAnswerScale = 100000.0f;

// Quotes, a backslash, a tab, a control character, a Latin-1 e-acute and a UTF-8 one.
constexpr const char* kFakeEffectName = "Fake \"probe\" \\ \t\x01 caf\xE9 \xC3\xA9";

using FakeEventsFunction = const FakeEvent* (*)(size_t* count);

} // namespace quillory::testing
