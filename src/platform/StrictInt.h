#pragma once

#include <QString>
#include <optional>
#include <string_view>

// The one text-to-integer conversion of the program: leading blanks, an optional sign, then
// decimal digits or hexadecimal digits after "$", "x", "X", "0x" or "0X", nothing after them,
// the value within the 32-bit signed range.
std::optional<int> tryStrToInt(std::string_view text);
std::optional<int> tryStrToInt(const QString& text);

// Raises EConvertError "'%s' is not a valid integer value" on failure.
int StrToInt(const QString& text);
int StrToInt(std::string_view text);

// The strict conversion with 0 in place of a failure.
int StrToIntOrZero(const QString& text);
int StrToIntOrZero(std::string_view text);
