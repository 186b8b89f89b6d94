#pragma once
// Numbers read from and written as text by the table engine and the table window.
#include <cstdint>
#include <string>
#include <string_view>

// The leading decimal integer of a text (blanks and one sign allowed before the digits),
// 0 when there is none. Saturates instead of overflowing.
int64_t LeadingInteger(std::string_view text);

// The leading decimal number of a text (sign, digits, point, exponent), 0 when none.
double LeadingNumber(std::string_view text);

// A value rounded to two decimals: "123.4", "1234.56", "5" for an absolute value of 1 or
// more (no trailing zeros in the fraction); "0.50", "0.05", "-0.05" below 1.
std::string FormatTwoDecimals(float value);
// The same rule on a double: for the double fields whose value lies beyond the range of
// single precision, where the single-precision text would read "inf".
std::string FormatTwoDecimals(double value);

// A numeric text as pesos: "$ 12,345.67" for "12345.678" (cut, not rounded, after two
// decimals), "-$ 5.00" for "-5", "$ 0.00" for an empty text.
std::string FormatPesos(std::string_view text);
