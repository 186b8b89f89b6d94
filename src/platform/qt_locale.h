#pragma once
// The user's locale through QLocale: the system currency format of the user's locale and
// its parse. Where the system locale is "C"/POSIX the program's locale is Spanish (Mexico).
#include "base/user_locale.h"

#include <QLocale>

class QTranslator;

class QtLocale : public Locale {
public:
    // The system locale, or Spanish (Mexico) when the system has none.
    QtLocale();
    explicit QtLocale(const QLocale& locale) : m_locale(locale) {}

    std::string CurrencyText(double amount) const override;
    bool ParseCurrency(const std::string& text, double& amount) const override;
    // Today's date by the system clock, in UTC.
    CalendarDate Today() const override;

    const QLocale& GetQLocale() const { return m_locale; }

private:
    QLocale m_locale;
};

// Loads Qt's own Spanish (Mexico) texts ("Sí", "No", "Abrir", "Cancelar" in Qt's dialogs
// and buttons) into `translator` and installs it in the application. False when the
// translations are not installed; Qt's English texts stay then.
bool InstallQtSpanishTranslations(QTranslator& translator);
