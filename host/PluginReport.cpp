#include "host/PluginReport.h"

#include "shell/Opcodes.h"

#include <iomanip>
#include <iterator>
#include <string>

namespace quillory::host {
namespace {

// The capability questions hosts commonly ask.
const char* const kQuestions[] = {"sendVstEvents",
                                  "sendVstMidiEvent",
                                  "receiveVstEvents",
                                  "receiveVstMidiEvent",
                                  "receiveVstTimeInfo",
                                  "offline",
                                  "midiProgramNames",
                                  "bypass",
                                  "noRealTime",
                                  "plugAsChannelInsert",
                                  "plugAsSend",
                                  "1in1out",
                                  "1in2out",
                                  "2in1out",
                                  "2in2out"};

PluginReport::Editor editorOf(HostedPlugin& plugin) {
    PluginReport::Editor editor;
    editor.present = (plugin.effect()->flags & effFlagsHasEditor) != 0;
    ERect* rect = nullptr;
    if (editor.present && plugin.dispatch(effEditGetRect, 0, 0, &rect) != 0 && rect != nullptr) {
        editor.width = rect->right - rect->left;
        editor.height = rect->bottom - rect->top;
    }
    return editor;
}

} // namespace

std::string fourCharacters(int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

std::vector<std::string> flagNames(int32_t flags) {
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
    std::vector<std::string> names;
    for (const auto& entry : kNames) {
        if ((flags & entry.bit) != 0) {
            names.emplace_back(entry.name);
        }
    }
    return names;
}

std::string categoryName(intptr_t category) {
    static const char* const kNames[] = {"unknown",     "effect",      "synth",       "analysis",
                                         "mastering",   "spacializer", "room effect", "surround",
                                         "restoration", "offline",     "shell",       "generator"};
    if (category < 0 || category >= static_cast<intptr_t>(std::size(kNames))) {
        return "other";
    }
    return kNames[category];
}

std::string answerName(intptr_t answer) {
    return answer > 0 ? "yes" : answer < 0 ? "no" : "don't know";
}

PluginReport gatherPluginReport(HostedPlugin& plugin, const std::string& pluginPath) {
    AEffect* effect = plugin.effect();
    PluginReport report;
    report.pluginPath = pluginPath;
    report.effectName = plugin.dispatchText(effGetEffectName);
    report.vendor = plugin.dispatchText(effGetVendorString);
    report.product = plugin.dispatchText(effGetProductString);
    report.vendorVersion = plugin.dispatch(effGetVendorVersion);
    report.vstVersion = plugin.dispatch(effGetVstVersion);
    report.uniqueId = effect->uniqueID;
    report.category = plugin.dispatch(effGetPlugCategory);
    report.inputs = effect->numInputs;
    report.outputs = effect->numOutputs;
    report.flags = effect->flags;
    report.initialDelay = effect->initialDelay;
    report.tailSize = plugin.dispatch(effGetTailSize);
    for (const char* question : kQuestions) {
        std::string copy = question; // the dispatcher takes a writable text
        report.canDo.push_back({question, plugin.dispatch(effCanDo, 0, 0, copy.data())});
    }
    for (int32_t index = 0; index < effect->numParams; ++index) {
        report.parameters.push_back({index, plugin.dispatchText(effGetParamName, index),
                                     plugin.dispatchText(effGetParamLabel, index),
                                     effect->getParameter(effect, index),
                                     plugin.dispatchText(effGetParamDisplay, index)});
    }
    for (int32_t index = 0; index < effect->numPrograms; ++index) {
        report.programs.push_back({index, plugin.dispatchText(effGetProgramNameIndexed, index)});
    }
    report.editor = editorOf(plugin);
    return report;
}

void printPluginReport(const PluginReport& report, std::ostream& out) {
    std::string flags;
    for (const std::string& name : flagNames(report.flags)) {
        flags += (flags.empty() ? "" : ", ") + name;
    }
    out << "plug-in:        " << report.pluginPath << '\n'
        << "effect name:    " << report.effectName << '\n'
        << "vendor:         " << report.vendor << '\n'
        << "product:        " << report.product << '\n'
        << "vendor version: " << report.vendorVersion << '\n'
        << "VST version:    " << report.vstVersion << '\n'
        << "unique id:      '" << fourCharacters(report.uniqueId) << "' (" << report.uniqueId
        << ")\n"
        << "category:       " << report.category << " (" << categoryName(report.category) << ")\n"
        << "inputs:         " << report.inputs << '\n'
        << "outputs:        " << report.outputs << '\n'
        << "flags:          0x" << std::hex << report.flags << std::dec << " (" << flags << ")\n"
        << "initial delay:  " << report.initialDelay << '\n'
        << "tail size:      " << report.tailSize << '\n'
        << "can do:\n";
    for (const auto& [question, answer] : report.canDo) {
        out << "  " << std::left << std::setw(22) << question << answerName(answer) << '\n';
    }
    out << "parameters: " << report.parameters.size() << '\n';
    for (const auto& parameter : report.parameters) {
        out << "  " << std::right << std::setw(3) << parameter.index << "  " << std::left
            << std::setw(16) << parameter.name << std::setw(10) << std::to_string(parameter.value)
            << "  " << parameter.display << (parameter.label.empty() ? "" : " " + parameter.label)
            << '\n';
    }
    out << "programs: " << report.programs.size() << '\n';
    for (const auto& program : report.programs) {
        out << "  " << std::right << std::setw(3) << program.index << "  " << program.name << '\n';
    }
    out << "editor:         ";
    if (!report.editor.present) {
        out << "none\n";
    } else if (report.editor.width) {
        out << *report.editor.width << " x " << *report.editor.height << " pixels\n";
    } else {
        out << "yes, size unknown\n";
    }
}

} // namespace quillory::host
