#pragma once
// (Named user_locale.h so that it never shadows the C library's <locale.h>.)
// The user's locale as the program needs it: the currency text of an amount and the
// parse of such a text back into a number, and today's date.
#include <string>

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

class Locale {
public:
    virtual ~Locale() = default;
    // The system currency format of the user's locale.
    virtual std::string CurrencyText(double amount) const = 0;
    // Accepts exactly what CurrencyText produces, and plain numbers. False when the text
    // does not parse.
    virtual bool ParseCurrency(const std::string& text, double& amount) const = 0;
    virtual CalendarDate Today() const = 0;
};
