#include "calc/amount_words.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

using WordTable = std::array<const char*, 10>;

constexpr WordTable kUnits = {"", "UN", "DOS", "TRES", "CUATRO", "CINCO", "SEIS", "SIETE", "OCHO", "NUEVE"};
constexpr WordTable kTeens = {"DIEZ",      "ONCE",       "DOCE",      "TRECE",    "CATORCE",
                              "QUINCE",    "DIECISEIS",  "DIECISIETE", "DIECIOCHO", "DICINUEVE"};
constexpr WordTable kTens = {"", "", "VEINTE", "TREINTA", "CUARENTA", "CINCUENTA", "SESENTA", "SETENTA", "OCHENTA",
                             "NOVENTA"};
// Each hundreds word carries its own trailing space.
constexpr WordTable kHundreds = {"",            "CIENTO ",     "DOSCIENTOS ",   "TRESCIENTOS ", "CUATROCIENTOS ",
                                 "QUINIENTOS ", "SEISCIENTOS ", "SETECIENTOS ", "OCHOCIENTOS ", "NOVECIENTOS "};

constexpr const char* kZero = "Cero";
constexpr const char* kHundred = "CIEN";
constexpr const char* kThousand = " MIL ";
constexpr const char* kAnd = " Y ";
constexpr int kMaxDigits = 6;

// Two decimals, a point, no grouping, whatever the C locale of the process says.
std::string TwoDecimals(double value)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
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

std::string CAmountWords::NumberInWords(int64_t n) const
{
    if (n == 0)
        return kZero;
    if (n < 0)
        return kOutOfRange;
    int digit[kMaxDigits] = {};
    int count = 0;
    for (int64_t rest = n; rest > 0; rest /= 10) {
        if (count == kMaxDigits)
            return kOutOfRange;
        digit[count++] = int(rest % 10);
    }
    const std::string lastTwo = TwoDigitsInWords(2, digit[0], digit[1]);
    // "CIEN" stands alone only when nothing follows the hundred.
    const auto hundredsOf = [](int hundreds, const std::string& following) {
        return hundreds == 1 && following.empty() ? std::string(kHundred) : std::string(kHundreds[size_t(hundreds)]);
    };
    switch (count) {
    case 1:
    case 2:
        return TwoDigitsInWords(count, digit[0], digit[1]);
    case 3:
        return hundredsOf(digit[2], lastTwo) + " " + lastTwo;
    default: {
        std::string thousands;
        if (count == 4) {
            thousands = kUnits[size_t(digit[3])];
        } else {
            const std::string thousandsTwo = TwoDigitsInWords(2, digit[3], digit[4]);
            thousands = count == 5 ? thousandsTwo : hundredsOf(digit[5], thousandsTwo) + thousandsTwo;
        }
        return thousands + kThousand + hundredsOf(digit[2], lastTwo) + lastTwo;
    }
    }
}

std::string CAmountWords::AmountInWords(double amount) const
{
    if (!std::isfinite(amount))
        return kOutOfRange;
    const std::string text = TwoDecimals(std::fabs(amount));
    // Anything that does not fit the six whole digits the words reach is out of range
    // (the text of a huge amount is long, but never parsed as a number here).
    if (text.size() < 4 || text.size() > size_t(kMaxDigits) + 3)
        return kOutOfRange;
    const std::string cents = text.substr(text.size() - 2);
    int64_t whole = 0;
    for (size_t i = 0; i + 3 < text.size(); ++i)
        whole = whole * 10 + (text[i] - '0');
    const std::string words = NumberInWords(whole);
    if (words == kOutOfRange)
        return words;
    // An amount that rounds to zero cents is no debt: no minus word in front.
    const bool negative = amount < 0 && text != "0.00";
    return (negative ? std::string(kMinus) : std::string()) + words + " PESOS " + cents + "/100 M.N.";
}
