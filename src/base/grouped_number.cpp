#include "base/grouped_number.h"

#include <charconv>
#include <cmath>
#include <string>

bool ReadGroupedNumber(std::string_view text, double& value)
{
    // The digits without their separators, for from_chars.
    std::string plain;
    size_t i = 0;
    size_t group = 0;  // digits since the last separator
    bool grouped = false;
    bool digits = false;
    for (; i < text.size() && (IsAsciiDigit(text[i]) || text[i] == ','); ++i) {
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
        for (++i; i < text.size() && IsAsciiDigit(text[i]); ++i) {
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
        if (i == text.size() || !IsAsciiDigit(text[i]))
            return false;
        for (; i < text.size() && IsAsciiDigit(text[i]); ++i)
            plain += text[i];
    }
    if (i != text.size())
        return false;
    double parsed = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}
