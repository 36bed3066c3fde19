// The dispatcher: every opcode with sane arguments, and the text answers within the lengths
// the interface documents (a canary after each limit must stay untouched).

#include "host/validate/Check.h"
#include "host/validate/HostRecords.h"
#include "host/validate/PluginUnderTest.h"
#include "shell/Opcodes.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace quillory::validate {
namespace {

// Documented lengths of the text answers, without the terminator.
constexpr size_t kEffectNameLength = 32;
constexpr size_t kVendorLength = 64;
constexpr size_t kProgramNameLength = 24;
constexpr size_t kPinLabelLength = 63;
constexpr size_t kShellNameLength = 63;
constexpr size_t kErrorTextLength = 255;

CheckResult stringLimits(const CheckContext& context) {
    auto plugin = createPlugin(context);
    readText(*plugin, effGetEffectName, 0, kEffectNameLength, "effGetEffectName");
    readText(*plugin, effGetVendorString, 0, kVendorLength, "effGetVendorString");
    readText(*plugin, effGetProductString, 0, kVendorLength, "effGetProductString");
    readText(*plugin, effGetProgramName, 0, kProgramNameLength, "effGetProgramName");
    if (plugin->effect()->numPrograms > 0) {
        readText(*plugin, effGetProgramNameIndexed, 0, kProgramNameLength,
                 "effGetProgramNameIndexed");
    }
    readText(*plugin, effGetErrorText, 0, kErrorTextLength, "effGetErrorText");
    readText(*plugin, effShellGetNextPlugin, 0, kShellNameLength, "effShellGetNextPlugin");

    const auto pins = [&](int32_t opcode, int32_t count, const char* side) {
        for (int32_t pin = 0; pin < count + 1; ++pin) { // one past the last, which must not write
            GuardedRecord<VstPinProperties> properties;
            const intptr_t answer = plugin->dispatch(opcode, pin, 0, properties.get());
            properties.requireIntact(std::string(side) + " pin properties");
            if (answer != 0) {
                require(strnlen(properties->label, sizeof properties->label) <= kPinLabelLength,
                        std::string(side) + " pin " + std::to_string(pin) +
                            ": label not terminated within 63 characters");
                require(strnlen(properties->shortLabel, sizeof properties->shortLabel) < 8 ||
                            properties->shortLabel[0] == '\0',
                        std::string(side) + " pin " + std::to_string(pin) +
                            ": short label not terminated within 7 characters");
            }
        }
    };
    pins(effGetInputProperties, plugin->effect()->numInputs, "input");
    pins(effGetOutputProperties, plugin->effect()->numOutputs, "output");

    for (const char* question : {"receiveVstEvents", "sendVstMidiEvent", "bypass", "offline",
                                 "x-quillory-unknown-capability", ""}) {
        std::string text = question;
        const intptr_t answer = plugin->dispatch(effCanDo, 0, 0, text.data());
        require(answer >= -1 && answer <= 1, std::string("effCanDo(\"") + question +
                                                 "\") answered " + std::to_string(answer) +
                                                 ", not -1, 0 or 1");
    }
    return passed();
}

struct OpcodeCall {
    int32_t opcode;
    std::function<intptr_t(host::HostedPlugin&)> send;
};

// What a careful host passes with each opcode. Editor opcodes belong to the editor checks,
// effClose to the end, effProcessVarIo to offline hosts with real buffers.
std::vector<OpcodeCall> saneCalls(const AEffect& record) {
    const auto plain = [](int32_t opcode, int32_t index = 0, intptr_t value = 0, float opt = 0) {
        return OpcodeCall{opcode, [=](host::HostedPlugin& plugin) {
                              return plugin.dispatch(opcode, index, value, nullptr, opt);
                          }};
    };
    const auto intoBuffer = [](int32_t opcode, int32_t index = 0, intptr_t value = 0) {
        return OpcodeCall{opcode, [=](host::HostedPlugin& plugin) {
                              GuardedRecord<LargeAnswer> answer;
                              const intptr_t result =
                                  plugin.dispatch(opcode, index, value, answer.get());
                              answer.requireIntact("opcode " + std::to_string(opcode));
                              return result;
                          }};
    };
    const int32_t lastProgram = std::max(record.numPrograms - 1, 0);
    std::vector<OpcodeCall> calls{
        plain(effSetProgram, 0, lastProgram),
        plain(effGetProgram),
        {effSetProgramName,
         [](host::HostedPlugin& plugin) {
             char name[] = "Validated";
             return plugin.dispatch(effSetProgramName, 0, 0, name);
         }},
        intoBuffer(effGetProgramName),
        intoBuffer(effGetParamLabel),
        intoBuffer(effGetParamDisplay),
        intoBuffer(effGetParamName),
        plain(effGetVu),
        plain(effSetSampleRate, 0, 0, 48000.0f),
        plain(effSetBlockSize, 0, 512),
        plain(effIdentify),
        {effGetChunk,
         [](host::HostedPlugin& plugin) {
             // Bank and program chunks; each, when given, is handed straight back.
             for (int32_t isProgram = 0; isProgram < 2; ++isProgram) {
                 void* data = nullptr;
                 const intptr_t size = plugin.dispatch(effGetChunk, isProgram, 0, &data);
                 require(size >= 0, "effGetChunk answered a negative size");
                 if (size > 0 && data != nullptr &&
                     (plugin.effect()->flags & effFlagsProgramChunks)) {
                     std::vector<unsigned char> copy(static_cast<const unsigned char*>(data),
                                                     static_cast<const unsigned char*>(data) +
                                                         size);
                     plugin.dispatch(effSetChunk, isProgram, size, copy.data());
                 }
             }
             return intptr_t{0};
         }},
        {effProcessEvents,
         [](host::HostedPlugin& plugin) {
             MidiEventList events;
             events.addNote(0, 60, 100);
             events.addNote(16, 60, 0);
             return plugin.dispatch(effProcessEvents, 0, 0, events.get());
         }},
        plain(effCanBeAutomated, 0),
        {effString2Parameter,
         [](host::HostedPlugin& plugin) {
             char text[] = "0.5";
             return plugin.dispatch(effString2Parameter, 0, 0, text);
         }},
        plain(effGetNumProgramCategories),
        intoBuffer(effGetProgramNameIndexed, lastProgram),
        plain(effCopyProgram, lastProgram),
        plain(effConnectInput, 0, 1),
        plain(effConnectOutput, 0, 1),
        intoBuffer(effGetInputProperties),
        intoBuffer(effGetOutputProperties),
        plain(effGetPlugCategory),
        plain(effGetCurrentPosition),
        plain(effGetDestinationBuffer),
        intoBuffer(effOfflineNotify, 0, 0),
        intoBuffer(effOfflinePrepare, 0, 0),
        intoBuffer(effOfflineRun, 0, 0),
        {effSetSpeakerArrangement,
         [](host::HostedPlugin& plugin) {
             SpeakerLayout inputs(plugin.effect()->numInputs);
             SpeakerLayout outputs(plugin.effect()->numOutputs);
             return plugin.dispatch(effSetSpeakerArrangement, 0,
                                    reinterpret_cast<intptr_t>(inputs.get()), outputs.get());
         }},
        plain(effSetBlockSizeAndSampleRate, 0, 512, 44100.0f),
        plain(effSetBypass, 0, 0),
        intoBuffer(effGetEffectName),
        intoBuffer(effGetErrorText),
        intoBuffer(effGetVendorString),
        intoBuffer(effGetProductString),
        plain(effGetVendorVersion),
        plain(effVendorSpecific),
        {effCanDo,
         [](host::HostedPlugin& plugin) {
             char text[] = "receiveVstTimeInfo";
             return plugin.dispatch(effCanDo, 0, 0, text);
         }},
        plain(effGetTailSize),
        plain(effIdle),
        plain(effGetIcon),
        plain(effSetViewPosition),
        intoBuffer(effGetParameterProperties),
        plain(effKeysRequired),
        plain(effGetVstVersion),
        intoBuffer(effGetMidiProgramName),
        intoBuffer(effGetCurrentMidiProgram),
        intoBuffer(effGetMidiProgramCategory),
        plain(effHasMidiProgramsChanged),
        intoBuffer(effGetMidiKeyName),
        plain(effBeginSetProgram),
        plain(effEndSetProgram),
        {effGetSpeakerArrangement,
         [](host::HostedPlugin& plugin) {
             void* inputs = nullptr;
             void* outputs = nullptr;
             return plugin.dispatch(effGetSpeakerArrangement, 0,
                                    reinterpret_cast<intptr_t>(&inputs), &outputs);
         }},
        intoBuffer(effShellGetNextPlugin),
        plain(effStartProcess),
        plain(effStopProcess),
        plain(effSetTotalSampleToProcess, 0, 256),
        plain(effSetPanLaw, 0, 0, 1.0f),
        {effBeginLoadBank,
         [](host::HostedPlugin& plugin) {
             PatchChunkInfo info(*plugin.effect(), plugin.effect()->numPrograms);
             return plugin.dispatch(effBeginLoadBank, 0, 0, &info);
         }},
        {effBeginLoadProgram,
         [](host::HostedPlugin& plugin) {
             PatchChunkInfo info(*plugin.effect(), 1);
             return plugin.dispatch(effBeginLoadProgram, 0, 0, &info);
         }},
        plain(effSetProcessPrecision, 0, 0),
        plain(effGetNumMidiInputChannels),
        plain(effGetNumMidiOutputChannels),
    };
    return calls;
}

void requireStillWorks(host::HostedPlugin& plugin, const CheckContext& context,
                       const std::string& after) {
    plugin.dispatch(effMainsChanged, 0, 0);
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    plugin.dispatch(effSetBlockSize, 0, 512);
    plugin.dispatch(effMainsChanged, 0, 1);
    const Channels input = testSignal(plugin.effect()->numInputs, 2048, context.seed);
    requireCleanOutput(processAudio(plugin, input, {}), after);
}

CheckResult allOpcodes(const CheckContext& context) {
    auto plugin = createPlugin(context);
    startPlugin(*plugin, 44100.0f, 512);
    const int passes = context.level >= 6 ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (const OpcodeCall& call : saneCalls(*plugin->effect())) {
            try {
                call.send(*plugin);
            } catch (const CheckFailure& failure) {
                throw CheckFailure("opcode " + std::to_string(call.opcode) + ": " + failure.what());
            }
        }
    }
    requireStillWorks(*plugin, context, "after every opcode");
    return passed();
}

// Opcodes past the last one the interface defines must be answered (with 0) and ignored.
CheckResult unknownOpcodes(const CheckContext& context) {
    auto plugin = createPlugin(context);
    startPlugin(*plugin, 44100.0f, 512);
    constexpr int32_t kFirstUnknown = effGetNumMidiOutputChannels + 1;
    constexpr int32_t kLastTried = 127;
    for (int32_t opcode = kFirstUnknown; opcode <= kLastTried; ++opcode) {
        GuardedRecord<LargeAnswer> answer;
        plugin->dispatch(opcode, 0, 0, answer.get(), 0.0f);
        answer.requireIntact("unknown opcode " + std::to_string(opcode));
    }
    requireStillWorks(*plugin, context, "after unknown opcodes");
    return passed();
}

} // namespace

void addDispatchChecks(std::vector<Check>& checks) {
    checks.insert(checks.end(),
                  {{"dispatch.string-limits", "dispatch", 1, 20, stringLimits,
                    "names, vendor, product, program, pin, shell and error texts within their "
                    "limits; canDo answers -1, 0 or 1"},
                   {"dispatch.all-opcodes", "dispatch", 2, 30, allOpcodes,
                    "every opcode but the editor's with sane arguments, then audio still "
                    "works"},
                   {"dispatch.unknown-opcodes", "dispatch", 7, 30, unknownOpcodes,
                    "opcodes 80 to 127 are ignored"}});
}

} // namespace quillory::validate
