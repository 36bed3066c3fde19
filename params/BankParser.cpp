#include "params/BankParser.h"

#include "shell/ValueText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace quillory {
namespace {

constexpr int32_t kLineBufferSize = 104; // room for 103 characters and the end of string

struct ParseState {
    ChorusProgram* programs;
    int32_t programCount;
    int32_t nextProgram = 0;
    ChorusProgram* cursor = nullptr; // record the keyword lines fill; none before a NAME
};

// Finds where a number starts the way scanf does: blanks skipped, one optional sign.
// from_chars takes a '-' itself but no '+', and nothing may follow the sign but the number.
const char* numberStart(const char* text) {
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    if (*text == '+') {
        ++text;
        if (*text == '-') {
            return nullptr;
        }
    }
    return text;
}

// Reads a number at the start of `text` into `field`; text after the number is ignored.
// A value that does not scan, or scans to something the field cannot hold, changes nothing.
// from_chars is used because it ignores the C locale, whose decimal point may not be '.'.
template <typename T> void scanInto(const char* text, T& field) {
    const char* start = numberStart(text);
    if (start == nullptr) {
        return;
    }
    T value{};
    const auto [end, error] = std::from_chars(start, start + std::strlen(start), value);
    if (error != std::errc{} || end == start) {
        return;
    }
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value)) {
            return;
        }
    }
    field = value;
}

void startProgram(ParseState& state, const char* name) {
    if (state.nextProgram >= state.programCount) {
        state.cursor = nullptr; // the records are full: drop this program's lines
        return;
    }
    state.cursor = &state.programs[state.nextProgram++];
    if (*name != '\0') {
        copyString(state.cursor->name, name, kProgramNameLength);
    }
}

// Copies at most 103 characters of `source` into `line` and ends it at its first newline.
void copyLine(const char* source, char (&line)[kLineBufferSize]) {
    int32_t length = 0;
    while (length < kLineBufferSize - 1 && source[length] != '\0') {
        line[length] = source[length] == '\n' ? '\0' : source[length];
        ++length;
    }
    line[length] = '\0';
}

void parseLine(ParseState& state, const char* source) {
    char line[kLineBufferSize];
    copyLine(source, line);
    // Ending the keyword at a space makes "NAME" match only when the fifth character is a
    // space or the end of the line; a bare keyword gets the empty value.
    const char* value = line + std::strlen(line);
    if (value - line > 4 && line[4] == ' ') {
        line[4] = '\0';
        value = line + 5;
    }
    if (std::strcmp(line, "NAME") == 0) {
        startProgram(state, value);
        return;
    }
    ChorusProgram* program = state.cursor;
    if (program == nullptr) {
        return;
    }
    if (std::strcmp(line, "CHDP") == 0) {
        scanInto(value, program->depth);
    } else if (std::strcmp(line, "CHSP") == 0) {
        scanInto(value, program->speed);
    } else if (std::strcmp(line, "CHTP") == 0) {
        scanInto(value, program->taps);
    } else if (std::strcmp(line, "CHWV") == 0) {
        scanInto(value, program->waveform);
    } else if (std::strcmp(line, "PCMX") == 0) {
        scanInto(value, program->mix);
    }
}

} // namespace

void parseBank(const char* const* lines, ChorusProgram* programs, int32_t programCount) {
    ParseState state{programs, programCount};
    for (; *lines != nullptr && **lines != '\0'; ++lines) {
        parseLine(state, *lines);
    }
}

} // namespace quillory
