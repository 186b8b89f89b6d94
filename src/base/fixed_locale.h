#pragma once
// A locale that never asks the system: the currency text of Spanish (Mexico) ("$1,234.50",
// "$-1,234.50") and its parse, and a date of "today" fixed when it is made. Tests,
// fuzzers and benchmarks of the core use it, so that what they check depends on neither
// the machine's locale nor its clock.
#include "base/user_locale.h"

class FixedLocale : public Locale {
public:
    explicit FixedLocale(CalendarDate today = {2024, 1, 1}) : m_today(today) {}

    // "$" and, for a negative amount, "-", then the amount rounded to two decimals with
    // its thousands grouped by ",". A value that is not finite has no currency text and
    // reads "$0.00".
    std::string CurrencyText(double amount) const override;
    // Accepts what CurrencyText produces (the grouping optional, but where present in
    // threes) and plain numbers ("12.5", "-3", "1,000", "1e3"); refuses anything else,
    // and any value that is not finite.
    bool ParseCurrency(const std::string& text, double& amount) const override;
    CalendarDate Today() const override { return m_today; }

private:
    CalendarDate m_today;
};
