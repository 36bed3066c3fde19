// Bounded number-to-text formatting and string copying for the plug-in shell.
//
// Every function writes at most maxLen characters plus a terminating zero, so the destination
// needs maxLen + 1 bytes. With maxLen == 0 only text[0] is set to zero; with a negative maxLen or
// a null text nothing is written at all.
#pragma once

#include <cstdint>

namespace quillory {

// Whole number; "Huge!" from 100000000 up and below -999999999.
void int2string(int32_t value, char* text, int32_t maxLen);

// Eight characters of sign, digits and point, digits truncated (0.7f gives "0.699999").
// "Huge!" for magnitudes the eight characters cannot show in full, "NaN" for not-a-number.
void float2string(float value, char* text, int32_t maxLen);

// Decibels of a linear gain; "-oo" for gains of zero or below.
void dB2string(float value, char* text, int32_t maxLen);

// Frequency of a period given in samples; a period of 0 shows as 0.
void Hz2string(float samples, float sampleRate, char* text, int32_t maxLen);

// Milliseconds of a duration given in samples.
void ms2string(float samples, float sampleRate, char* text, int32_t maxLen);

// Copies at most maxLen characters of source (null counts as empty) and terminates the copy.
// Unlike a fixed-width field copy it does not pad the rest of the buffer.
void copyString(char* text, const char* source, int32_t maxLen);

// Fills a fixed-width field of a host record: the copy of source as above, then zero bytes up
// to position width, which is zero too, so the field must hold width + 1 bytes.
void copyField(char* field, const char* source, int32_t width);

// Appends source so that the whole text is at most maxLen characters, terminated. A text that
// already holds maxLen characters or more without a terminator is cut at maxLen.
void appendString(char* text, const char* source, int32_t maxLen);

} // namespace quillory
