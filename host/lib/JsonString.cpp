// Plug-ins hand over texts in whatever encoding they like; valid UTF-8 is passed through,
// and any other byte is read as Latin-1 so that the output is always valid JSON.

#include "host/lib/JsonString.h"

#include <cstdint>
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

} // namespace

void writeJsonString(std::ostream& out, const std::string& text) {
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

} // namespace quillory::host
