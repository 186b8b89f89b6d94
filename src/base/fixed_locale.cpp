#include "base/fixed_locale.h"

#include "base/grouped_number.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A number in the locale's form: optional sign (when allowed), then the grouped number.
bool Number(std::string_view text, bool allowSign, double& value)
{
    bool negative = false;
    if (allowSign && !text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    double magnitude = 0;
    if (!ReadGroupedNumber(text, magnitude))
        return false;
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

std::string FixedLocale::CurrencyText(double amount) const
{
    if (!std::isfinite(amount))
        amount = 0;
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.2f", std::fabs(amount));
    const std::string_view text(digits);
    const size_t point = text.find('.');
    std::string grouped;
    for (size_t i = 0; i < point; ++i) {
        if (i > 0 && (point - i) % 3 == 0)
            grouped += ',';
        grouped += text[i];
    }
    grouped += text.substr(point);
    // An amount that rounds to zero carries no sign.
    const bool negative = amount < 0 && grouped != "0.00";
    return (negative ? "$-" : "$") + grouped;
}

bool FixedLocale::ParseCurrency(const std::string& utf8, double& amount) const
{
    const std::string_view text = Trimmed(utf8);
    double value = 0;
    // The negative form first: its prefix contains the positive one.
    for (const auto& [prefix, sign] : {std::pair{std::string_view("$-"), -1.0}, std::pair{std::string_view("$"), 1.0}}) {
        if (text.substr(0, prefix.size()) != prefix)
            continue;
        const std::string_view body = text.substr(prefix.size());
        if (!body.empty() && IsAsciiDigit(body.front()) && Number(body, false, value)) {
            amount = sign * value;
            return true;
        }
    }
    if (!Number(text, true, value))
        return false;
    amount = value;
    return true;
}
