#include "calc/amount_words.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

using WordTable = std::array<const char*, 10>;

constexpr WordTable kUnits = {"", "UN", "DOS", "TRES", "CUATRO", "CINCO", "SEIS", "SIETE", "OCHO", "NUEVE"};
constexpr WordTable kTeens = {"DIEZ",      "ONCE",       "DOCE",      "TRECE",    "CATORCE",
                              "QUINCE",    "DIECISEIS",  "DIECISIETE", "DIECIOCHO", "DIECINUEVE"};
constexpr WordTable kTens = {"", "", "VEINTE", "TREINTA", "CUARENTA", "CINCUENTA", "SESENTA", "SETENTA", "OCHENTA",
                             "NOVENTA"};
constexpr WordTable kHundreds = {"",           "CIENTO",      "DOSCIENTOS",  "TRESCIENTOS", "CUATROCIENTOS",
                                 "QUINIENTOS", "SEISCIENTOS", "SETECIENTOS", "OCHOCIENTOS", "NOVECIENTOS"};

constexpr const char* kZero = "CERO";
constexpr const char* kHundred = "CIEN";
constexpr const char* kThousand = "MIL";
constexpr const char* kMillion = "MILLON";
constexpr const char* kMillions = "MILLONES";
constexpr const char* kAnd = " Y ";
constexpr int64_t kMillionValue = 1000000;
constexpr int64_t kLimit = 1000000000000;  // the first amount not written out
constexpr size_t kMaxWholeDigits = 12;

// Two decimals, a point, no grouping, whatever the C locale of the process says.
std::string TwoDecimals(double value)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

// Joins two word groups with one space, leaving out an empty one.
std::string Join(const std::string& a, const std::string& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return a + " " + b;
}

// The whole pesos and the cents of an amount's absolute value, as "%.2f" rounds them.
// False when the whole pesos have more digits than the words reach.
bool SplitAmount(double amount, int64_t& whole, std::string& cents)
{
    if (!std::isfinite(amount))
        return false;
    const std::string text = TwoDecimals(std::fabs(amount));
    // The text of a huge amount is long, but never parsed as a number here.
    if (text.size() < 4 || text.size() > kMaxWholeDigits + 3)
        return false;
    cents = text.substr(text.size() - 2);
    whole = 0;
    for (size_t i = 0; i + 3 < text.size(); ++i)
        whole = whole * 10 + (text[i] - '0');
    return whole < kLimit;
}

}  // namespace

std::string CAmountWords::TwoDigitsInWords(int count, int d0, int d1) const
{
    if (d0 < 0 || d0 > 9 || d1 < 0 || d1 > 9)
        return std::string();
    if (count == 1)
        return kUnits[size_t(d0)];
    if (d1 == 1)
        return kTeens[size_t(d0)];
    std::string tens = kTens[size_t(d1)];
    const std::string units = kUnits[size_t(d0)];
    if (tens.empty() || units.empty())
        return tens + units;
    // The twenties join into one word: VEINTIUN, VEINTIDOS ...
    if (tens.back() == 'E') {
        tens.pop_back();
        return tens + "I" + units;
    }
    return tens + kAnd + units;
}

std::string CAmountWords::BelowThousand(int n) const
{
    const int hundreds = n / 100;
    const std::string lastTwo = TwoDigitsInWords(2, n % 10, (n / 10) % 10);
    // "CIEN" stands alone only when nothing follows the hundred.
    const std::string hundredsWord =
        hundreds == 1 && lastTwo.empty() ? std::string(kHundred) : std::string(kHundreds[size_t(hundreds)]);
    return Join(hundredsWord, lastTwo);
}

std::string CAmountWords::BelowMillion(int64_t n) const
{
    const int thousands = int(n / 1000);
    const std::string rest = BelowThousand(int(n % 1000));
    if (thousands == 0)
        return rest;
    return Join(BelowThousand(thousands) + " " + kThousand, rest);
}

std::string CAmountWords::NumberInWords(int64_t n) const
{
    if (n == 0)
        return kZero;
    if (n < 0 || n >= kLimit)
        return kOutOfRange;
    const int64_t millions = n / kMillionValue;
    const std::string rest = BelowMillion(n % kMillionValue);
    if (millions == 0)
        return rest;
    return Join(BelowMillion(millions) + " " + (millions == 1 ? kMillion : kMillions), rest);
}

bool CAmountWords::InRange(double amount)
{
    int64_t whole = 0;
    std::string cents;
    return SplitAmount(amount, whole, cents);
}

std::string CAmountWords::AmountInWords(double amount) const
{
    int64_t whole = 0;
    std::string cents;
    if (!SplitAmount(amount, whole, cents))
        return kOutOfRange;
    std::string words = NumberInWords(whole);
    // "UN MILLON DE PESOS": a count of millions with nothing after it takes "DE".
    if (whole >= kMillionValue && whole % kMillionValue == 0)
        words += " DE";
    // An amount that rounds to zero cents is no debt: no minus word in front.
    const bool negative = amount < 0 && (whole != 0 || cents != "00");
    return (negative ? std::string(kMinus) : std::string()) + words + (whole == 1 ? " PESO " : " PESOS ") + cents +
           "/100 M.N.";
}
