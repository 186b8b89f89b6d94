#include "calc/amount_text.h"

#include <charconv>
#include <cmath>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Digits grouped by "," in threes (or not grouped), a point and decimals, an exponent;
// the plain form for from_chars is appended to `plain`.
bool ReadMagnitude(std::string_view text, std::string& plain)
{
    size_t i = 0;
    size_t group = 0;  // digits since the last separator
    bool grouped = false;
    bool digits = false;
    for (; i < text.size() && (IsDigit(text[i]) || text[i] == ','); ++i) {
        if (text[i] == ',') {
            // A separator follows one to three digits, or exactly three after another one.
            if (group == 0 || group > 3 || (grouped && group != 3))
                return false;
            grouped = true;
            group = 0;
            continue;
        }
        plain += text[i];
        ++group;
        digits = true;
    }
    if (grouped && group != 3)
        return false;
    if (i < text.size() && text[i] == '.') {
        plain += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            plain += text[i];
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            plain += text[i++];
        if (i == text.size() || !IsDigit(text[i]))
            return false;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            plain += text[i];
    }
    return i == text.size();
}

}  // namespace

bool ReadAmount(std::string_view text, double& value)
{
    text = Trimmed(text);
    bool negative = false;
    bool sign = false;
    bool currency = false;
    // A sign and a currency sign, in either order: "-$5", "$-5", "$ 5".
    for (int step = 0; step < 2 && !text.empty(); ++step) {
        if (!sign && (text.front() == '-' || text.front() == '+')) {
            negative = text.front() == '-';
            sign = true;
            text.remove_prefix(1);
        } else if (!currency && text.front() == '$') {
            currency = true;
            text.remove_prefix(1);
            while (!text.empty() && IsBlank(text.front()))
                text.remove_prefix(1);
        }
    }
    if (text.empty() || !(IsDigit(text.front()) || text.front() == '.'))
        return false;
    std::string plain;
    if (!ReadMagnitude(text, plain))
        return false;
    double parsed = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(parsed))
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

bool IsBlankAmount(std::string_view text)
{
    return Trimmed(text).empty();
}

std::string NotAnAmountMessage(const std::string& text, const std::string& fieldName)
{
    return "«" + std::string(Trimmed(text)) + "» no es una cantidad: escriba en «" + fieldName +
           "» solo el número, por ejemplo 1,234.50.";
}
