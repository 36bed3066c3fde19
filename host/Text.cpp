#include "host/Text.h"

namespace quillory::host {
namespace {

bool isAsciiAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string slug(const std::string& text) {
    std::string result;
    for (char c : lowerCase(text)) {
        if (isAsciiAlphanumeric(c)) {
            result += c;
        } else if (!result.empty() && result.back() != '-') {
            result += '-';
        }
    }
    if (!result.empty() && result.back() == '-') {
        result.pop_back();
    }
    return result;
}

} // namespace quillory::host
