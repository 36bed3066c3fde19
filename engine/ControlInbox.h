#pragma once
// Settings handed from the control threads (host, editor, program changes) to the audio
// thread without a lock. The control side writes a slot and publishes it; the audio thread
// collects what is new at the start of a frame and never waits: a slot caught in the middle
// of a write is simply collected at the next frame.
//
// One writer at a time: the owner serialises the control side. One reader: the audio thread.

#include <atomic>
#include <cstdint>

namespace quillory {

// The continuous settings, which glide, and the stepped ones, which act at once.
enum class Setting : int32_t { depth = 0, speed = 1, mix = 2 };
enum class Choice : int32_t { taps = 0, waveform = 1 };
inline constexpr int32_t kSettingCount = 3;
inline constexpr int32_t kChoiceCount = 2;

// What the audio thread found in the inbox. Jumps come before the glides that followed them,
// so a glide that was started after a program change glides from the program's value.
struct ControlNews {
    bool jumped[kSettingCount] = {};
    double jumpValue[kSettingCount] = {};
    bool glideStarted[kSettingCount] = {};
    double glideTarget[kSettingCount] = {};
    bool chosen[kChoiceCount] = {};
    int32_t choice[kChoiceCount] = {};
    bool rateChanged = false;
    double sampleRate = 0.0;
};

class ControlInbox {
public:
    // Control side.
    void startGlide(Setting setting, double target) { write(glides[index(setting)], target); }
    void jump(Setting setting, double value) { write(jumps[index(setting)], value); }
    void choose(Choice which, int32_t choice) {
        write(choices[static_cast<int32_t>(which)], choice);
    }
    void setSampleRate(double rate) { write(sampleRate, rate); }

    // Audio side: a cheap test, made before every frame.
    bool hasNews() const { return published.load(std::memory_order_relaxed) != collected; }
    // Audio side: takes everything written since the last collection.
    ControlNews collect();

private:
    // A value and the serial number of the write that left it. The sequence is twice the
    // serial once the write is complete and odd while it is under way, so that a reader can
    // tell a value torn by a concurrent write. Serials grow across all slots, which orders a
    // jump against a glide of the same setting.
    template <class T> struct Slot {
        std::atomic<uint64_t> sequence{0};
        std::atomic<T> value{};
        uint64_t seen = 0; // audio side: the sequence last collected
    };
    enum class Read { unchanged, fresh, busy };

    static int32_t index(Setting setting) { return static_cast<int32_t>(setting); }

    template <class T> void write(Slot<T>& slot, T value) {
        const uint64_t serial = ++lastSerial;
        slot.sequence.store(2 * serial - 1, std::memory_order_relaxed);
        // Released after the odd sequence: a reader that sees the new value sees that too.
        slot.value.store(value, std::memory_order_release);
        slot.sequence.store(2 * serial, std::memory_order_release);
        published.store(serial, std::memory_order_release);
    }

    template <class T> static Read read(Slot<T>& slot, T& value) {
        const uint64_t before = slot.sequence.load(std::memory_order_acquire);
        if (before == slot.seen) {
            return Read::unchanged;
        }
        if ((before & 1) != 0) {
            return Read::busy;
        }
        value = slot.value.load(std::memory_order_acquire);
        if (slot.sequence.load(std::memory_order_relaxed) != before) {
            return Read::busy;
        }
        slot.seen = before;
        return Read::fresh;
    }

    Slot<double> glides[kSettingCount];
    Slot<double> jumps[kSettingCount];
    Slot<int32_t> choices[kChoiceCount];
    Slot<double> sampleRate;

    uint64_t lastSerial = 0; // control side
    std::atomic<uint64_t> published{0};
    uint64_t collected = 0; // audio side: the last serial fully collected
};

} // namespace quillory
