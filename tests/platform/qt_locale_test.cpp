// The user's locale through QLocale, and the fixed stand-in the core's tests use in its
// place: both give the same Spanish (Mexico) texts.
#include <gtest/gtest.h>

#include <cmath>

#include "base/fixed_locale.h"
#include "platform/qt_locale.h"

namespace {

QtLocale MexicanLocale()
{
    return QtLocale(QLocale(QLocale::Spanish, QLocale::Mexico));
}

}  // namespace

TEST(QtLocale, MexicanCurrencyTextParsesBack)
{
    const QtLocale locale = MexicanLocale();
    for (double amount : {0.0, 1.0, -1.0, 1234.5, -1234.5, 1234567.89, -0.01, 1e9}) {
        const std::string text = locale.CurrencyText(amount);
        double back = 12345.0;
        ASSERT_TRUE(locale.ParseCurrency(text, back)) << text;
        EXPECT_DOUBLE_EQ(back, amount) << text;
    }
    EXPECT_EQ(locale.CurrencyText(-1234.5), "$-1,234.50");
    EXPECT_EQ(locale.CurrencyText(1234.5), "$1,234.50");
}

TEST(QtLocale, CurrencyParseTakesPlainNumbersAndRefusesAnythingElse)
{
    const QtLocale locale = MexicanLocale();
    const struct {
        const char* text;
        bool ok;
        double value;
    } rows[] = {
        {"12.5", true, 12.5},  {"-3", true, -3},     {" $7.25 ", true, 7.25}, {"1,000", true, 1000},
        {"", false, 0},        {"$", false, 0},      {"$-", false, 0},        {"doce", false, 0},
        {"$--5", false, 0},    {"$5$", false, 0},    {"5 pesos", false, 0},   {"-$5", false, 0},
        {"$+5", false, 0},     {"nan", false, 0},    {"inf", false, 0},
    };
    for (const auto& row : rows) {
        double value = 0;
        EXPECT_EQ(locale.ParseCurrency(row.text, value), row.ok) << "\"" << row.text << "\"";
        if (row.ok) {
            EXPECT_DOUBLE_EQ(value, row.value) << "\"" << row.text << "\"";
        }
    }
}

TEST(QtLocale, TodayIsAValidDate)
{
    const CalendarDate today = QtLocale().Today();
    EXPECT_GE(today.year, 2024);
    EXPECT_GE(today.month, 1);
    EXPECT_LE(today.month, 12);
    EXPECT_GE(today.day, 1);
    EXPECT_LE(today.day, 31);
}

TEST(QtLocale, TheFixedStandInWritesAndReadsAsTheMexicanLocaleDoes)
{
    const QtLocale qt = MexicanLocale();
    const FixedLocale fixed;
    for (double amount : {0.0, 1.0, -1.0, 0.5, -0.01, 12.345, 999.999, 1234.5, -1234.5, 1234567.89, -987654321.0, 1e12}) {
        EXPECT_EQ(fixed.CurrencyText(amount), qt.CurrencyText(amount)) << amount;
    }
    for (const char* text : {"$1,234.50", "$-1,234.50", "12.5", "-3", " $7.25 ", "1,000", "$", "doce", "$--5", "-$5",
                             "$+5", "nan", "inf", "5 pesos", "$1,234,567.89"}) {
        double a = 0, b = 0;
        const bool okQt = qt.ParseCurrency(text, a);
        EXPECT_EQ(fixed.ParseCurrency(text, b), okQt) << text;
        if (okQt) {
            EXPECT_DOUBLE_EQ(b, a) << text;
        }
    }
}
