#pragma once
// An amount written as the program shows it and as clerks type it: "1500", " 1500 ",
// "1,500.00", "$1,500.00", "$ 1,500.00", "-$5", "$-5". Every calculation that reads a
// value (calculated fields, table cells, batch rows, the command line) reads it here, so
// a text is an amount everywhere or nowhere.
#include <string>
#include <string_view>

// Reads `text` whole: blanks around it, an optional sign and an optional "$" (in either
// order, a blank allowed after the "$"), digits with or without thousands grouped by ","
// in threes, an optional point with decimals, an optional exponent. False for anything
// else (an empty text, "abc", "12,50", "1.2.3", a value too large for a double), and
// `value` is then left as it was.
bool ReadAmount(std::string_view text, double& value);

// True when the text holds nothing but blanks: an empty field, which counts as 0.
bool IsBlankAmount(std::string_view text);

// The clerk's message for a text that a calculation must read and that is no amount:
// «abc» no es una cantidad: escriba en «PRECIO» solo el número, por ejemplo 1,234.50.
std::string NotAnAmountMessage(const std::string& text, const std::string& fieldName);
