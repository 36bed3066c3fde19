#include "shell/ValueText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <utility>

namespace quillory {
namespace {

constexpr int32_t kWide = 64;

using Formatter = std::function<void(char*, int32_t)>;

std::string format(const Formatter& formatter, int32_t maxLen = kWide) {
    char buffer[kWide + 1];
    std::memset(buffer, 'X', sizeof buffer);
    formatter(buffer, maxLen);
    return buffer;
}

TEST(ValueText, IntegersKeepInnerZerosAndSignAndRejectTooManyDigits) {
    const std::pair<int32_t, const char*> cases[] = {
        {0, "0"},
        {-42, "-42"},
        {1000, "1000"},
        {99999999, "99999999"},
        {100000000, "Huge!"},
        {std::numeric_limits<int32_t>::max(), "Huge!"},
        {-999999999, "-999999999"},
        {-1000000000, "Huge!"},
        {std::numeric_limits<int32_t>::min(), "Huge!"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(format([v = value](char* t, int32_t n) { int2string(v, t, n); }), expected)
            << value;
    }
}

TEST(ValueText, FloatsTruncateToEightCharacters) {
    const std::pair<float, const char*> cases[] = {
        {0.7f, "0.699999"},       {0.5f, "0.500000"},       {1234.5f, "1234.500"},
        {-1.5f, "-1.50000"},      {0.0f, "0.000000"},       {-0.0f, "0.000000"},
        {10.0f, "10.00000"},      {-0.25f, "-0.25000"},     {0.001f, "0.001000"},
        {1234567.0f, "1234567."}, {-123456.0f, "-123456."}, {9999999.0f, "9999999."},
        {-999999.0f, "-999999."},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(format([v = value](char* t, int32_t n) { float2string(v, t, n); }), expected)
            << value;
    }
}

TEST(ValueText, FloatsThatWouldLoseLeadingDigitsAreHuge) {
    const float cases[] = {10000000.0f, 99999999.0f, 1e9f,     -1000000.0f,
                           -9999999.0f, -1e9f,       INFINITY, -INFINITY};
    for (const float value : cases) {
        EXPECT_EQ(format([value](char* t, int32_t n) { float2string(value, t, n); }), "Huge!")
            << value;
    }
    EXPECT_EQ(format([](char* t, int32_t n) { float2string(NAN, t, n); }), "NaN");
}

TEST(ValueText, UnitConversions) {
    auto dB = [](float v) { return format([v](char* t, int32_t n) { dB2string(v, t, n); }); };
    EXPECT_EQ(dB(0.5f), "-6.02059");
    EXPECT_EQ(dB(0.0f), "-oo");
    EXPECT_EQ(dB(-1.0f), "-oo");
    EXPECT_EQ(dB(1.0f), "0.000000");
    EXPECT_EQ(dB(0.001f), "-60.0000");
    EXPECT_EQ(dB(1e9f), "180.0000");

    auto hz = [](float s, float r) {
        return format([=](char* t, int32_t n) { Hz2string(s, r, t, n); });
    };
    EXPECT_EQ(hz(0.0f, 44100.0f), "0.000000");
    EXPECT_EQ(hz(3.0f, 44100.0f), "14700.00");

    auto ms = [](float s, float r) {
        return format([=](char* t, int32_t n) { ms2string(s, r, t, n); });
    };
    EXPECT_EQ(ms(22050.0f, 44100.0f), "500.0000");
    EXPECT_EQ(ms(1.0f, 44100.0f), "0.022675");
}

// Every formatter must stop at maxLen, terminate, and leave the byte after the terminator alone.
TEST(ValueText, OutputIsCutAtMaxLenAndNothingBeyondIsWritten) {
    const Formatter formatters[] = {
        [](char* t, int32_t n) { int2string(-12345, t, n); },
        [](char* t, int32_t n) { float2string(-1.5f, t, n); },
        [](char* t, int32_t n) { dB2string(0.0f, t, n); },
        [](char* t, int32_t n) { Hz2string(3.0f, 44100.0f, t, n); },
        [](char* t, int32_t n) { ms2string(22050.0f, 44100.0f, t, n); },
        [](char* t, int32_t n) { copyString(t, "abcdef", n); },
    };
    for (const Formatter& formatter : formatters) {
        const std::string full = format(formatter);
        for (int32_t maxLen = 0; maxLen <= 10; ++maxLen) {
            char buffer[16];
            std::memset(buffer, 'X', sizeof buffer);
            formatter(buffer, maxLen);
            const std::string expected = full.substr(0, static_cast<size_t>(maxLen));
            EXPECT_EQ(std::string(buffer), expected) << full << " cut at " << maxLen;
            for (size_t beyond = static_cast<size_t>(maxLen) + 1; beyond < sizeof buffer;
                 ++beyond) {
                EXPECT_EQ(buffer[beyond], 'X') << full << " cut at " << maxLen;
            }
        }
        char untouched[4] = "XXX";
        formatter(untouched, -1);
        EXPECT_STREQ(untouched, "XXX");
        formatter(nullptr, 8);
    }
    EXPECT_EQ(format([](char* t, int32_t n) { int2string(12345, t, n); }, 2), "12");
}

TEST(ValueText, AppendKeepsTheWholeTextWithinMaxLen) {
    char text[12] = "Vstx ";
    appendString(text, "12", 10);
    EXPECT_STREQ(text, "Vstx 12");
    appendString(text, "34567", 10);
    EXPECT_STREQ(text, "Vstx 12345");
    appendString(text, nullptr, 10);
    EXPECT_STREQ(text, "Vstx 12345");

    // A text without a terminator inside the limit is cut at the limit, not read past it.
    char unterminated[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'X', 'X'};
    appendString(unterminated, "z", 4);
    EXPECT_STREQ(unterminated, "abcd");
    EXPECT_EQ(unterminated[5], 'f');

    char empty[4] = "XXX";
    copyString(empty, nullptr, 3);
    EXPECT_STREQ(empty, "");
}

} // namespace
} // namespace quillory
