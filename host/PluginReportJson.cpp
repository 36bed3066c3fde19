// The report as one JSON object. Plug-ins hand over texts in whatever encoding they like;
// valid UTF-8 is passed through, and any other byte is read as Latin-1 so that the output
// is always valid JSON.

#include "host/PluginReport.h"

#include <cmath>
#include <cstdio>

namespace quillory::host {
namespace {

// Length of the valid UTF-8 sequence starting at text[i], or 0 when there is none.
size_t utf8SequenceLength(const std::string& text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    uint32_t minimum = 0;
    uint32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint >= minimum && codePoint <= 0x10FFFF && !surrogate ? length : 0;
}

void writeCodeUnit(std::ostream& out, unsigned value) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", value);
    out << escaped;
}

void writeString(std::ostream& out, const std::string& text) {
    out << '"';
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '"' || byte == '\\') {
            out << '\\' << static_cast<char>(byte);
        } else if (byte == '\n') {
            out << "\\n";
        } else if (byte == '\t') {
            out << "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            writeCodeUnit(out, byte);
        } else if (byte >= 0x80) {
            if (const size_t length = utf8SequenceLength(text, i)) {
                out.write(text.data() + i, static_cast<std::streamsize>(length));
                i += length;
                continue;
            }
            writeCodeUnit(out, byte);
        } else {
            out << static_cast<char>(byte);
        }
        ++i;
    }
    out << '"';
}

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
    writeString(out, report.pluginPath);
    field("effectName");
    writeString(out, report.effectName);
    field("vendor");
    writeString(out, report.vendor);
    field("product");
    writeString(out, report.product);
    field("vendorVersion");
    out << report.vendorVersion;
    field("vstVersion");
    out << report.vstVersion;
    field("uniqueId");
    out << "{\"text\": ";
    writeString(out, fourCharacters(report.uniqueId));
    out << ", \"number\": " << report.uniqueId << '}';
    field("category");
    out << "{\"number\": " << report.category << ", \"name\": ";
    writeString(out, categoryName(report.category));
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
        writeString(out, names[i]);
    }
    out << "]}";
    field("initialDelay");
    out << report.initialDelay;
    field("tailSize");
    out << report.tailSize;
    field("canDo");
    writeArray(out, report.canDo, [&out](const PluginReport::Answer& answer) {
        out << "{\"question\": ";
        writeString(out, answer.question);
        out << ", \"answer\": " << answer.answer << ", \"meaning\": ";
        writeString(out, answerName(answer.answer));
        out << '}';
    });
    field("parameters");
    writeArray(out, report.parameters, [&out](const PluginReport::Parameter& parameter) {
        out << "{\"index\": " << parameter.index << ", \"name\": ";
        writeString(out, parameter.name);
        out << ", \"label\": ";
        writeString(out, parameter.label);
        out << ", \"value\": ";
        writeNumber(out, parameter.value);
        out << ", \"display\": ";
        writeString(out, parameter.display);
        out << '}';
    });
    field("programs");
    writeArray(out, report.programs, [&out](const PluginReport::Program& program) {
        out << "{\"index\": " << program.index << ", \"name\": ";
        writeString(out, program.name);
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
