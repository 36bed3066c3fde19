#include "shell/ValueText.h"

#include <cmath>
#include <cstring>

namespace quillory {

namespace {

constexpr char kHuge[] = "Huge!";

// Characters float2string may spend on sign, integer digits, point and fraction digits.
constexpr int kFloatBudget = 8;

// Room for the longest text either formatter builds (eight characters) plus the terminator.
constexpr int kScratchSize = 16;

// Exact powers of ten, so the fraction scaling does not depend on the C library's pow().
constexpr double kPowersOfTen[kFloatBudget] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7};

// ln(10) rounded to float, the divisor that turns a natural logarithm into a decimal one.
constexpr double kLn10 = static_cast<double>(2.302585093f);

char digitOf(double amount) {
    return static_cast<char>('0' + static_cast<int>(std::fmod(amount, 10.0)));
}

// The budget leaves room for seven integer digits of a positive value and six of a negative one.
// Larger magnitudes would lose their leading digits and show a wrong number, so they are "Huge!"
// instead. These limits lie below the thresholds of 99999999 and -9999999 and include them.
bool tooLargeForBudget(double magnitude, bool negative) {
    return magnitude >= (negative ? 1e6 : 1e7);
}

// Writes the integer part of magnitude, most significant digit first, followed by the point.
// Returns the end of the written text; count grows by the characters spent.
char* writeIntegerPart(double magnitude, int& count, char* out) {
    char reversed[kFloatBudget];
    int digits = 0;
    double whole = std::floor(magnitude);
    reversed[digits++] = digitOf(whole);
    whole /= 10.0;
    count += 2; // the first digit and the point
    while (whole >= 1.0 && count < kFloatBudget) {
        reversed[digits++] = digitOf(whole);
        whole /= 10.0;
        ++count;
    }
    while (digits > 0) {
        *out++ = reversed[--digits];
    }
    *out++ = '.';
    return out;
}

// Fills the remaining budget with fraction digits, produced from the last one backwards so that
// each is truncated rather than rounded.
char* writeFraction(double magnitude, int count, char* out) {
    const int places = kFloatBudget - count;
    double amount = std::fmod(magnitude, 1.0) * kPowersOfTen[places];
    for (int position = places - 1; position >= 0; --position) {
        if (amount <= 0.0) {
            out[position] = '0';
        } else {
            out[position] = digitOf(amount);
            amount /= 10.0;
        }
    }
    return out + places;
}

// Builds the float text into out, which must hold kScratchSize bytes.
void formatFloat(double value, char* out) {
    if (std::isnan(value)) {
        copyString(out, "NaN", kScratchSize - 1);
        return;
    }
    const bool negative = value < 0.0;
    const double magnitude = negative ? -value : value;
    if (tooLargeForBudget(magnitude, negative)) {
        copyString(out, kHuge, kScratchSize - 1);
        return;
    }
    int count = 0;
    if (negative) {
        *out++ = '-';
        count = 1;
    }
    out = writeIntegerPart(magnitude, count, out);
    out = writeFraction(magnitude, count, out);
    *out = '\0';
}

// Builds the integer text into out, which must hold kScratchSize bytes. The division chain yields
// at most nine digits, so ten-digit negatives are "Huge!" like the positives from 100000000 on.
// Rejecting them first also keeps the negation below clear of the most negative int32.
void formatInt(int32_t value, char* out) {
    if (value >= 100000000 || value < -999999999) {
        copyString(out, kHuge, kScratchSize - 1);
        return;
    }
    int32_t magnitude = value;
    if (value < 0) {
        magnitude = -value;
        *out++ = '-';
    }
    bool started = false;
    for (int32_t divisor = 100000000; divisor >= 1; divisor /= 10) {
        const int32_t digit = magnitude / divisor;
        magnitude %= divisor;
        started = started || digit != 0 || divisor == 1;
        if (started) {
            *out++ = static_cast<char>('0' + digit);
        }
    }
    *out = '\0';
}

} // namespace

void copyString(char* text, const char* source, int32_t maxLen) {
    if (text == nullptr || maxLen < 0) {
        return;
    }
    int32_t length = 0;
    if (source != nullptr) {
        for (; length < maxLen && source[length] != '\0'; ++length) {
            text[length] = source[length];
        }
    }
    text[length] = '\0';
}

void copyField(char* field, const char* source, int32_t width) {
    if (field == nullptr || width < 0) {
        return;
    }
    std::memset(field, 0, static_cast<size_t>(width) + 1);
    copyString(field, source, width);
}

void appendString(char* text, const char* source, int32_t maxLen) {
    if (text == nullptr || maxLen < 0) {
        return;
    }
    int32_t length = 0;
    while (length < maxLen && text[length] != '\0') {
        ++length;
    }
    copyString(text + length, source, maxLen - length);
}

void int2string(int32_t value, char* text, int32_t maxLen) {
    char scratch[kScratchSize];
    formatInt(value, scratch);
    copyString(text, scratch, maxLen);
}

void float2string(float value, char* text, int32_t maxLen) {
    char scratch[kScratchSize];
    formatFloat(static_cast<double>(value), scratch);
    copyString(text, scratch, maxLen);
}

void dB2string(float value, char* text, int32_t maxLen) {
    if (value <= 0.0f) {
        copyString(text, "-oo", maxLen);
        return;
    }
    // The logarithm is the float quotient of two natural logarithms, each rounded to float, and the
    // product with 20 is rounded to float too; these roundings fix the last digit shown (a gain of
    // 0.5 reads "-6.02059"). Taking each step in double and rounding once keeps the result the
    // same on every floating-point unit: a product or quotient of floats rounds identically.
    const float naturalLog = static_cast<float>(std::log(static_cast<double>(value)));
    const float logarithm = static_cast<float>(static_cast<double>(naturalLog) / kLn10);
    const float decibels = static_cast<float>(20.0 * static_cast<double>(logarithm));
    float2string(decibels, text, maxLen);
}

void Hz2string(float samples, float sampleRate, char* text, int32_t maxLen) {
    float2string(samples == 0.0f ? 0.0f : sampleRate / samples, text, maxLen);
}

void ms2string(float samples, float sampleRate, char* text, int32_t maxLen) {
    const double milliseconds =
        static_cast<double>(samples) * 1000.0 / static_cast<double>(sampleRate);
    float2string(static_cast<float>(milliseconds), text, maxLen);
}

} // namespace quillory
