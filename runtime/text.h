// The shared value types of the program.
//
//   Text      a NUL-terminated string in the GBK code page (936); every Text
//             has exactly one owner (std::string gives that for free:
//             assigning releases the old value).
//   Bytes     a counted byte sequence; an empty Bytes has length 0.
//   WideText  UTF-16LE held in Bytes, ended by two zero bytes that its length
//             counts; an empty WideText has no terminator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Text = std::string;
using Bytes = std::vector<uint8_t>;
using WideText = Bytes;

// The run time's text-to-integer rule: skip leading white space, take an
// optional sign, read decimal digits up to the first non-digit; an empty or
// non-numeric text gives 0. Saturates instead of overflowing.
int64_t textToInt64(const char* text);
inline int64_t textToInt64(const Text& text) { return textToInt64(text.c_str()); }

// Plain ASCII decimal digits, a leading "-" for negative values.
Text decimalText(int64_t value);

// Writes the decimal text of value into buf (at least 21 bytes), NUL-ended;
// returns the length. For hot paths that must not allocate.
int formatDecimal(int64_t value, char* buf);
