#include "tables/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

size_t SkipBlanks(std::string_view text, size_t i)
{
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\f' || text[i] == '\v'))
        ++i;
    return i;
}

}  // namespace

int64_t LeadingInteger(std::string_view text)
{
    size_t i = SkipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr int64_t limit = std::numeric_limits<int64_t>::max() / 10 - 1;
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (value < limit)
            value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

double LeadingNumber(std::string_view text)
{
    const size_t start = SkipBlanks(text, 0);
    size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    size_t digits = i - digitsStart;
    if (i < text.size() && text[i] == '.') {
        const size_t afterPoint = ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        digits += i - afterPoint;
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when digits follow it ("3e" is 3).
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    // from_chars takes no leading "+"; the sign is applied here instead.
    size_t from = start;
    bool negative = false;
    if (text[from] == '+' || text[from] == '-')
        negative = text[from++] == '-';
    double value = 0.0;
    const auto result = std::from_chars(text.data() + from, text.data() + i, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large gives infinity, too small gives 0, as the C library's reading does.
        // The decimal magnitude decides: significant integer digits plus the exponent.
        const std::string_view number = text.substr(from, i - from);
        const size_t ePos = number.find_first_of("eE");
        const std::string_view mantissa = number.substr(0, ePos);
        const int64_t exponent = ePos == std::string_view::npos ? 0 : LeadingInteger(number.substr(ePos + 1));
        const size_t firstNonZero = mantissa.find_first_not_of("0.");
        const size_t dot = std::min(mantissa.find('.'), mantissa.size());
        const int64_t magnitude = firstNonZero == std::string_view::npos
                                      ? std::numeric_limits<int64_t>::min() / 2
                                      : (firstNonZero < dot ? int64_t(dot - firstNonZero) : -int64_t(firstNonZero - dot)) + exponent;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::string FormatTwoDecimals(float value)
{
    return FormatTwoDecimals(double(value));
}

std::string FormatTwoDecimals(double value)
{
    // "%.2f" rounds once at the second decimal; the text is then shortened. Rounding
    // once and trimming keeps every result at two decimals at most, also for negative
    // values and for values that round up to the next power of ten (0.995, 99.995).
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text(buffer);
    if (!std::isfinite(value))
        return text;
    const size_t point = text.find('.');
    if (point == std::string::npos)
        return text;
    const std::string_view integer = std::string_view(text).substr(0, point);
    const bool belowOne = integer == "0" || integer == "-0";
    if (belowOne)
        return text;
    size_t end = text.size();
    while (end > point + 1 && text[end - 1] == '0')
        --end;
    if (end == point + 1)
        end = point;
    text.resize(end);
    return text;
}

std::string FormatPesos(std::string_view input)
{
    std::string text(input.empty() ? std::string_view("0") : input);
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.erase(0, 1);
    }
    const size_t point = text.find('.');
    if (point == std::string::npos)
        text += ".00";
    else {
        const size_t after = text.size() - point - 1;
        if (after == 0)
            text += "00";
        else if (after == 1)
            text += "0";
        else if (after > 2)
            text.resize(point + 3);
    }
    const size_t p = text.find('.');
    std::string result = text.substr(p);
    // Integer digits are grouped by three from the point, a "," before each group that
    // has more digits to its left.
    int count = 0;
    for (size_t i = p; i-- > 0;) {
        result.insert(result.begin(), text[i]);
        if (++count % 3 == 0 && i > 0)
            result.insert(result.begin(), ',');
    }
    result.insert(0, "$ ");
    if (negative)
        result.insert(0, "-");
    return result;
}
