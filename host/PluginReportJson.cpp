// The report as one JSON object.

#include "host/PluginReport.h"
#include "host/lib/JsonString.h"

#include <cmath>
#include <cstdio>

namespace quillory::host {
namespace {

// JSON has no infinities or not-a-numbers; a plug-in may still report them.
void writeNumber(std::ostream& out, double value) {
    if (!std::isfinite(value)) {
        out << "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    out << text;
}

template <typename Item, typename Write>
void writeArray(std::ostream& out, const std::vector<Item>& items, Write write) {
    out << '[';
    for (size_t i = 0; i < items.size(); ++i) {
        out << (i == 0 ? "\n    " : ",\n    ");
        write(items[i]);
    }
    out << (items.empty() ? "]" : "\n  ]");
}

} // namespace

void printPluginReportJson(const PluginReport& report, std::ostream& out) {
    const auto field = [&out](const char* name) { out << ",\n  \"" << name << "\": "; };
    out << "{\n  \"plugin\": ";
    writeJsonString(out, report.pluginPath);
    field("effectName");
    writeJsonString(out, report.effectName);
    field("vendor");
    writeJsonString(out, report.vendor);
    field("product");
    writeJsonString(out, report.product);
    field("vendorVersion");
    out << report.vendorVersion;
    field("vstVersion");
    out << report.vstVersion;
    field("uniqueId");
    out << "{\"text\": ";
    writeJsonString(out, fourCharacters(report.uniqueId));
    out << ", \"number\": " << report.uniqueId << '}';
    field("category");
    out << "{\"number\": " << report.category << ", \"name\": ";
    writeJsonString(out, categoryName(report.category));
    out << '}';
    field("inputs");
    out << report.inputs;
    field("outputs");
    out << report.outputs;
    field("flags");
    out << "{\"value\": " << report.flags << ", \"names\": [";
    const std::vector<std::string> names = flagNames(report.flags);
    for (size_t i = 0; i < names.size(); ++i) {
        out << (i == 0 ? "" : ", ");
        writeJsonString(out, names[i]);
    }
    out << "]}";
    field("initialDelay");
    out << report.initialDelay;
    field("tailSize");
    out << report.tailSize;
    field("canDo");
    writeArray(out, report.canDo, [&out](const PluginReport::Answer& answer) {
        out << "{\"question\": ";
        writeJsonString(out, answer.question);
        out << ", \"answer\": " << answer.answer << ", \"meaning\": ";
        writeJsonString(out, answerName(answer.answer));
        out << '}';
    });
    field("parameters");
    writeArray(out, report.parameters, [&out](const PluginReport::Parameter& parameter) {
        out << "{\"index\": " << parameter.index << ", \"name\": ";
        writeJsonString(out, parameter.name);
        out << ", \"label\": ";
        writeJsonString(out, parameter.label);
        out << ", \"value\": ";
        writeNumber(out, parameter.value);
        out << ", \"display\": ";
        writeJsonString(out, parameter.display);
        out << '}';
    });
    field("programs");
    writeArray(out, report.programs, [&out](const PluginReport::Program& program) {
        out << "{\"index\": " << program.index << ", \"name\": ";
        writeJsonString(out, program.name);
        out << '}';
    });
    field("editor");
    out << "{\"present\": " << (report.editor.present ? "true" : "false");
    if (report.editor.width) {
        out << ", \"width\": " << *report.editor.width << ", \"height\": " << *report.editor.height;
    }
    out << "}\n}\n";
}

} // namespace quillory::host
