#pragma once
// Small text helpers shared by the simulated unit's parts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Writes one line to stdout and flushes it, so that a test reading the pipe
// sees it at once.
void emitLine(const std::string &line);

// Printable form of line bytes for the log: bytes outside the printable
// ASCII range (and the backslash) become \xHH.
std::string escaped(std::string_view bytes);

std::string trimmed(std::string_view s);
std::string upper(std::string_view s);

// Upper-case hexadecimal, zero-padded to exactly `digits` digits (the low
// bits of the value).
std::string hex(uint32_t value, int digits);

// Whole text (blanks around allowed) as a signed decimal number.
std::optional<int64_t> parseDecimal(std::string_view s);
// Whole text (blanks around allowed) as 1 to maxDigits hexadecimal digits,
// either case.
std::optional<uint32_t> parseHex(std::string_view s, int maxDigits = 8);
