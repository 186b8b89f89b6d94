#include "platform/qt_locale.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLibraryInfo>
#include <QTranslator>
#include <cmath>

namespace {

QLocale UserLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Spanish, QLocale::Mexico);
    return system;
}

// What the currency form puts before and after the digits, found by formatting a probe:
// QLocale has no currency parser, so the parse recognises exactly these affixes.
struct Affixes {
    QString prefix;
    QString suffix;
};

Affixes AffixesOf(const QLocale& locale, double probe)
{
    const QString text = locale.toCurrencyString(probe);
    const QString digits = locale.toString(std::fabs(probe), 'f', 2);
    const qsizetype at = text.indexOf(digits);
    if (at < 0)
        return {};
    return {text.left(at).trimmed(), text.mid(at + digits.size()).trimmed()};
}

// The unsigned amount between the affixes, read strictly by the locale.
bool ParseMagnitude(const QLocale& locale, const QString& text, double& value)
{
    const QString body = text.trimmed();
    if (body.isEmpty() || !body.at(0).isDigit())
        return false;
    bool ok = false;
    value = locale.toDouble(body, &ok);
    return ok && std::isfinite(value);
}

}  // namespace

QtLocale::QtLocale() : m_locale(UserLocale()) {}

std::string QtLocale::CurrencyText(double amount) const
{
    return m_locale.toCurrencyString(amount).toStdString();
}

bool QtLocale::ParseCurrency(const std::string& utf8, double& amount) const
{
    const QString text = QString::fromStdString(utf8).trimmed();
    // The negative form first: its affixes usually contain the positive ones.
    const Affixes negative = AffixesOf(m_locale, -1.0);
    const Affixes positive = AffixesOf(m_locale, 1.0);
    for (const auto& [affixes, sign] : {std::pair{negative, -1.0}, std::pair{positive, 1.0}}) {
        if (affixes.prefix.isEmpty() && affixes.suffix.isEmpty())
            continue;
        if (!text.startsWith(affixes.prefix) || !text.endsWith(affixes.suffix) ||
            text.size() < affixes.prefix.size() + affixes.suffix.size())
            continue;
        const QString body = text.mid(affixes.prefix.size(), text.size() - affixes.prefix.size() - affixes.suffix.size());
        double value = 0.0;
        if (ParseMagnitude(m_locale, body, value)) {
            amount = sign * value;
            return true;
        }
    }
    // A plain number, in the locale's form or in the C form.
    bool ok = false;
    double value = m_locale.toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return false;
    amount = value;
    return true;
}

CalendarDate QtLocale::Today() const
{
    const QDate today = QDateTime::currentDateTimeUtc().date();
    return {today.year(), today.month(), today.day()};
}

bool InstallQtSpanishTranslations(QTranslator& translator)
{
    if (!translator.load(QLocale(QLocale::Spanish, QLocale::Mexico), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(&translator);
    return true;
}
