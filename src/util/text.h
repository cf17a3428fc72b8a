// Text and number routines on 8-bit (ANSI) texts. Views in, strings out: no
// routine writes past a destination, whatever the input.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Decimal text to a 32-bit number. A leading '-' negates. Every other
// character counts as (code - '0') mod 256, wrapping modulo 2^32: "1a" is 59.
// Callers filter what users can type; this routine never rejects.
int32_t ParseDecimal(std::string_view text);

// "0", "-5", "-2147483648": no leading zeros, no grouping.
std::string FormatDecimal(int32_t value);

// "1 Year", "3 Months": the count in plain decimal, the unit, and an "s"
// for every count but 1. `unit` starts with its blank (" Year").
std::string CountedWord(int32_t count, std::string_view unit);

// Decimal digits of `value`, zero-padded on the left to at least `width`: "%02u".
std::string ZeroPadded(uint32_t value, std::size_t width);

// Bytes before the first zero byte (or the whole view when it has none).
std::size_t TextLength(std::string_view text);

std::string& AppendText(std::string& destination, std::string_view source);

// The first / middle / last characters of a text. Asking for more than the
// text holds gives what it has; a start past the end gives the empty text.
std::string LeftText(std::string_view source, std::size_t count);
std::string MidText(std::string_view source, std::size_t start, std::size_t count);
std::string RightText(std::string_view source, std::size_t count);

// C:\Tools\app.exe -> C:\Tools\ (a file name can be appended directly);
// a path without a backslash gives the empty text.
std::string PathDirectory(std::string_view path);
