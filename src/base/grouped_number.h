#pragma once
// The unsigned number the program writes and reads in amounts: digits grouped by "," in
// threes or not grouped at all, an optional "." with decimals, an optional exponent.
#include <string_view>

inline bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The value of `text` when all of it is such a number and the value is finite.
bool ReadGroupedNumber(std::string_view text, double& value);
