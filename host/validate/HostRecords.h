#pragma once
// Records a host hands to the dispatcher, built the way a careful host builds them, and a
// guard that notices when the plug-in writes past the end of one.

#include "host/validate/Check.h"
#include "shell/AEffect.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace quillory::validate {

// A zeroed T followed by canary bytes.
template <typename T> class GuardedRecord {
public:
    GuardedRecord() : bytes(sizeof(T) + kCanaryBytes, kCanary) {
        std::fill_n(bytes.begin(), sizeof(T), 0);
    }
    T* get() { return reinterpret_cast<T*>(bytes.data()); }
    T* operator->() { return get(); }
    void requireIntact(const std::string& what) const {
        const bool intact = std::all_of(bytes.begin() + sizeof(T), bytes.end(),
                                        [](unsigned char byte) { return byte == kCanary; });
        require(intact, what + ": wrote past the " + std::to_string(sizeof(T)) +
                            "-byte record the host passed");
    }

private:
    static constexpr unsigned char kCanary = 0x5A;
    static constexpr size_t kCanaryBytes = 64;
    std::vector<unsigned char> bytes;
};

// Room for the largest record any query opcode fills in (parameter properties, MIDI program
// and key names, error texts) with plenty to spare.
struct LargeAnswer {
    alignas(8) unsigned char bytes[512];
};

// A VstEvents list of MIDI events, as passed with effProcessEvents.
class MidiEventList {
public:
    void addNote(int32_t deltaFrames, uint8_t note, uint8_t velocity) {
        MidiEvent event{};
        event.type = kMidiType;
        event.byteSize = sizeof(MidiEvent);
        event.deltaFrames = deltaFrames;
        event.midiData[0] = static_cast<char>(velocity > 0 ? 0x90 : 0x80);
        event.midiData[1] = static_cast<char>(note);
        event.midiData[2] = static_cast<char>(velocity);
        events.push_back(event);
    }
    // The list in the interface's layout: count, reserved word, then event pointers.
    void* get() {
        header.numEvents = static_cast<int32_t>(events.size());
        buffer.assign(sizeof(Header) + sizeof(void*) * std::max<size_t>(events.size(), 2), 0);
        std::memcpy(buffer.data(), &header, sizeof header);
        for (size_t i = 0; i < events.size(); ++i) {
            void* address = &events[i];
            std::memcpy(buffer.data() + sizeof(Header) + i * sizeof(void*), &address,
                        sizeof address);
        }
        return buffer.data();
    }

private:
    static constexpr int32_t kMidiType = 1;
    struct MidiEvent {
        int32_t type;
        int32_t byteSize;
        int32_t deltaFrames;
        int32_t flags;
        int32_t noteLength;
        int32_t noteOffset;
        char midiData[4];
        char detune;
        char noteOffVelocity;
        char reserved1;
        char reserved2;
    };
    static_assert(sizeof(MidiEvent) == 32);
    struct Header {
        int32_t numEvents;
        intptr_t reserved;
    };
    Header header{};
    std::vector<MidiEvent> events;
    std::vector<unsigned char> buffer;
};

// A speaker arrangement for `channels` channels: stereo for two, user-defined otherwise.
class SpeakerLayout {
public:
    explicit SpeakerLayout(int32_t channels)
        : bytes(speakerArrangementBytes(std::max(channels, 0)) + sizeof(VstSpeakerProperties)) {
        auto* layout = reinterpret_cast<VstSpeakerArrangement*>(bytes.data());
        constexpr int32_t kStereo = 1;
        constexpr int32_t kUserDefined = -2;
        layout->type = channels == 2 ? kStereo : kUserDefined;
        layout->numChannels = std::max(channels, 0);
    }
    VstSpeakerArrangement* get() { return reinterpret_cast<VstSpeakerArrangement*>(bytes.data()); }

private:
    std::vector<unsigned char> bytes;
};

// What a host says of a bank or program it is about to load.
struct PatchChunkInfo {
    PatchChunkInfo(const AEffect& record, int32_t elements)
        : pluginUniqueID(record.uniqueID), pluginVersion(record.version), numElements(elements) {}
    int32_t version = 1;
    int32_t pluginUniqueID;
    int32_t pluginVersion;
    int32_t numElements;
    char future[48] = {};
};

} // namespace quillory::validate
