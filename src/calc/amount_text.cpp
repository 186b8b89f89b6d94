#include "calc/amount_text.h"

#include "base/grouped_number.h"

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
    double parsed = 0;
    if (!ReadGroupedNumber(text, parsed))
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
