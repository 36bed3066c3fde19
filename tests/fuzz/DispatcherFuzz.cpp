// Drives a fresh instance of the plug-in with the bytes given: random opcodes, indices,
// values and opts, each with pointers to valid buffers of random content (texts terminated,
// counts inside records clamped to the room they have), mixed with parameter traffic and
// audio blocks. Left out: effClose until the end, and effEditOpen, whose pointer is a
// window of the host's and not a buffer.

#include "shell/AEffect.h"
#include "shell/Opcodes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" quillory::AEffect* VSTPluginMain(quillory::audioMasterCallback host);

namespace {

using namespace quillory;

constexpr size_t kBuffer = 512;
constexpr int32_t kLastOpcode = effGetNumMidiOutputChannels;
constexpr int32_t kSetParameter = kLastOpcode + 1;
constexpr int32_t kGetParameter = kLastOpcode + 2;
constexpr int32_t kProcess = kLastOpcode + 3;
constexpr int32_t kOperations = kLastOpcode + 4;

intptr_t host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data(data), left(size) {}
    bool empty() const { return left == 0; }
    template <typename T> T take() {
        T value{};
        const size_t count = std::min(sizeof(T), left);
        std::memcpy(&value, data, count);
        data += count;
        left -= count;
        return value;
    }
    void fill(void* destination, size_t size) {
        const size_t count = std::min(size, left);
        std::memcpy(destination, data, count);
        data += count;
        left -= count;
    }

private:
    const uint8_t* data;
    size_t left;
};

// A buffer of random content; its last byte ends any text in it.
struct Buffer {
    alignas(16) unsigned char bytes[kBuffer];
    explicit Buffer(Bytes& input) {
        std::memset(bytes, 0, sizeof bytes);
        input.fill(bytes, input.take<uint8_t>());
        bytes[kBuffer - 1] = 0;
    }
};

void shapeRecords(int32_t opcode, Buffer& buffer, Buffer& second) {
    if (opcode == effSetSpeakerArrangement) {
        // Channel counts that fit the buffers.
        constexpr int32_t kRoom =
            static_cast<int32_t>((kBuffer - 8) / sizeof(VstSpeakerProperties));
        for (Buffer* arrangement : {&buffer, &second}) {
            auto* layout = reinterpret_cast<VstSpeakerArrangement*>(arrangement->bytes);
            layout->numChannels = std::clamp(layout->numChannels, 0, kRoom);
        }
    } else if (opcode == effProcessEvents) {
        // Up to four events, each pointing at a 32-byte record of random content in `second`.
        struct Events {
            int32_t numEvents;
            intptr_t reserved;
            void* events[4];
        };
        auto* events = reinterpret_cast<Events*>(buffer.bytes);
        events->numEvents = std::clamp(events->numEvents, 0, 4);
        for (int i = 0; i < 4; ++i) {
            events->events[i] = second.bytes + 32 * i;
        }
    }
}

void dispatchOne(AEffect* effect, int32_t opcode, Bytes& input) {
    const auto index = input.take<int32_t>();
    auto value = input.take<intptr_t>();
    const auto opt = input.take<float>();
    Buffer buffer(input);
    Buffer second(input);
    shapeRecords(opcode, buffer, second);
    if (opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement) {
        value = reinterpret_cast<intptr_t>(second.bytes);
    } else if (opcode == effSetChunk) {
        value = static_cast<intptr_t>(static_cast<size_t>(value) % kBuffer);
    }
    effect->dispatcher(effect, opcode, index, value, buffer.bytes, opt);
}

void processOne(AEffect* effect, Bytes& input) {
    const int32_t frames = 1 + input.take<uint8_t>();
    std::vector<std::vector<float>> channels(
        static_cast<size_t>(std::max(effect->numInputs, effect->numOutputs) * 2),
        std::vector<float>(static_cast<size_t>(frames)));
    std::vector<float*> inputs;
    std::vector<float*> outputs;
    for (size_t c = 0; c < channels.size(); ++c) {
        input.fill(channels[c].data(), channels[c].size() * sizeof(float));
        (c % 2 == 0 ? inputs : outputs).push_back(channels[c].data());
    }
    effect->processReplacing(effect, inputs.data(), outputs.data(), frames);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AEffect* effect = VSTPluginMain(host);
    if (effect == nullptr) {
        return 0;
    }
    Bytes input(data, size);
    while (!input.empty()) {
        const int32_t operation = input.take<uint8_t>() % kOperations;
        if (operation == effClose || operation == effEditOpen) {
            continue;
        }
        if (operation == kSetParameter) {
            const auto index = input.take<int32_t>();
            effect->setParameter(effect, index, input.take<float>());
        } else if (operation == kGetParameter) {
            effect->getParameter(effect, input.take<int32_t>());
        } else if (operation == kProcess) {
            processOne(effect, input);
        } else {
            dispatchOne(effect, operation, input);
        }
    }
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    return 0;
}
