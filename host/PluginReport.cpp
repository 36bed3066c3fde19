#include "host/PluginReport.h"

#include "shell/Opcodes.h"

#include <cstring>
#include <iomanip>
#include <string>

namespace quillory::host {
namespace {

// Buffers are generous: a plug-in may write past the lengths the interface names.
constexpr size_t kTextBuffer = 256;

std::string textFrom(HostedPlugin& plugin, int32_t opcode, int32_t index = 0) {
    char text[kTextBuffer] = {};
    plugin.dispatch(opcode, index, 0, text);
    text[kTextBuffer - 1] = '\0';
    return text;
}

std::string fourCharacters(int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

std::string decodeFlags(int32_t flags) {
    static const struct {
        int32_t bit;
        const char* name;
    } kNames[] = {{effFlagsHasEditor, "editor"},
                  {effFlagsHasClip, "clip"},
                  {effFlagsHasVu, "vu"},
                  {effFlagsCanMono, "mono"},
                  {effFlagsCanReplacing, "replacing"},
                  {effFlagsProgramChunks, "chunks"},
                  {effFlagsIsSynth, "synth"},
                  {effFlagsNoSoundInStop, "no-tail"},
                  {effFlagsExtIsAsync, "async"},
                  {effFlagsExtHasBuffer, "external-buffer"},
                  {effFlagsCanDoubleReplacing, "double-replacing"}};
    std::string text;
    for (const auto& entry : kNames) {
        if ((flags & entry.bit) != 0) {
            text += text.empty() ? "" : ", ";
            text += entry.name;
        }
    }
    return text;
}

void printCapabilities(HostedPlugin& plugin, std::ostream& out) {
    static const char* const kQuestions[] = {
        "sendVstEvents",      "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent",
        "receiveVstTimeInfo", "offline",          "midiProgramNames", "bypass"};
    out << "can do:\n";
    for (const char* question : kQuestions) {
        std::string copy = question;
        const intptr_t answer = plugin.dispatch(effCanDo, 0, 0, copy.data());
        out << "  " << std::left << std::setw(22) << question
            << (answer > 0   ? "yes"
                : answer < 0 ? "no"
                             : "don't know")
            << '\n';
    }
}

void printParameters(HostedPlugin& plugin, std::ostream& out) {
    AEffect* effect = plugin.effect();
    out << "parameters: " << effect->numParams << '\n';
    for (int32_t index = 0; index < effect->numParams; ++index) {
        out << "  " << std::right << std::setw(3) << index << "  " << std::left << std::setw(16)
            << textFrom(plugin, effGetParamName, index) << std::setw(10)
            << std::to_string(effect->getParameter(effect, index)) << "  "
            << textFrom(plugin, effGetParamDisplay, index) << ' '
            << textFrom(plugin, effGetParamLabel, index) << '\n';
    }
}

void printPrograms(HostedPlugin& plugin, std::ostream& out) {
    AEffect* effect = plugin.effect();
    out << "programs: " << effect->numPrograms << '\n';
    for (int32_t index = 0; index < effect->numPrograms; ++index) {
        char name[kTextBuffer] = {};
        plugin.dispatch(effGetProgramNameIndexed, index, 0, name);
        name[kTextBuffer - 1] = '\0';
        out << "  " << std::right << std::setw(3) << index << "  " << name << '\n';
    }
}

void printEditor(HostedPlugin& plugin, std::ostream& out) {
    if ((plugin.effect()->flags & effFlagsHasEditor) == 0) {
        out << "editor: none\n";
        return;
    }
    ERect* rect = nullptr;
    if (plugin.dispatch(effEditGetRect, 0, 0, &rect) != 0 && rect != nullptr) {
        out << "editor: " << rect->right - rect->left << " x " << rect->bottom - rect->top
            << " pixels\n";
    } else {
        out << "editor: yes, size unknown\n";
    }
}

} // namespace

void printPluginReport(HostedPlugin& plugin, std::ostream& out) {
    AEffect* effect = plugin.effect();
    out << "effect name:    " << textFrom(plugin, effGetEffectName) << '\n'
        << "vendor:         " << textFrom(plugin, effGetVendorString) << '\n'
        << "product:        " << textFrom(plugin, effGetProductString) << '\n'
        << "vendor version: " << plugin.dispatch(effGetVendorVersion) << '\n'
        << "VST version:    " << plugin.dispatch(effGetVstVersion) << '\n'
        << "unique id:      '" << fourCharacters(effect->uniqueID) << "' (" << effect->uniqueID
        << ")\n"
        << "category:       " << plugin.dispatch(effGetPlugCategory) << '\n'
        << "inputs:         " << effect->numInputs << '\n'
        << "outputs:        " << effect->numOutputs << '\n'
        << "flags:          0x" << std::hex << effect->flags << std::dec << " ("
        << decodeFlags(effect->flags) << ")\n"
        << "initial delay:  " << effect->initialDelay << '\n'
        << "tail size:      " << plugin.dispatch(effGetTailSize) << '\n';
    printCapabilities(plugin, out);
    printParameters(plugin, out);
    printPrograms(plugin, out);
    printEditor(plugin, out);
}

} // namespace quillory::host
