#include <gtest/gtest.h>

#include "base/fixed_locale.h"

TEST(FixedLocale, CurrencyTextIsTheMexicanFormAndParsesBack)
{
    const FixedLocale locale;
    const struct {
        double amount;
        const char* text;
    } rows[] = {
        {0.0, "$0.00"},          {1.0, "$1.00"},           {-1.0, "$-1.00"},
        {1234.5, "$1,234.50"},   {-1234.5, "$-1,234.50"},  {1234567.89, "$1,234,567.89"},
        {-0.01, "$-0.01"},       {1e9, "$1,000,000,000.00"}, {999.999, "$1,000.00"},
        {-0.001, "$0.00"},       {100, "$100.00"},          {123456, "$123,456.00"},
    };
    for (const auto& row : rows) {
        const std::string text = locale.CurrencyText(row.amount);
        EXPECT_EQ(text, row.text) << row.amount;
        double back = 12345.0;
        ASSERT_TRUE(locale.ParseCurrency(text, back)) << text;
        EXPECT_NEAR(back, row.amount, 0.005) << text;
    }
}

TEST(FixedLocale, CurrencyParseTakesPlainNumbersAndRefusesAnythingElse)
{
    const FixedLocale locale;
    const struct {
        const char* text;
        bool ok;
        double value;
    } rows[] = {
        {"12.5", true, 12.5}, {"-3", true, -3},      {" $7.25 ", true, 7.25}, {"1,000", true, 1000},
        {"1e3", true, 1000},  {"$1,234,567.5", true, 1234567.5},          {".5", true, 0.5},
        {"", false, 0},       {"$", false, 0},       {"$-", false, 0},        {"doce", false, 0},
        {"$--5", false, 0},   {"$5$", false, 0},     {"5 pesos", false, 0},   {"-$5", false, 0},
        {"$+5", false, 0},    {"nan", false, 0},     {"inf", false, 0},       {"1e999", false, 0},
        {"1,00", false, 0},   {"1,0000", false, 0},  {",100", false, 0},      {"12,345,67", false, 0},
        {"1e", false, 0},     {".", false, 0},
    };
    for (const auto& row : rows) {
        double value = 0;
        EXPECT_EQ(locale.ParseCurrency(row.text, value), row.ok) << "\"" << row.text << "\"";
        if (row.ok) {
            EXPECT_DOUBLE_EQ(value, row.value) << "\"" << row.text << "\"";
        }
    }
}

TEST(FixedLocale, TodayIsTheDateItWasGiven)
{
    const CalendarDate today = FixedLocale({2026, 12, 7}).Today();
    EXPECT_EQ(today.year, 2026);
    EXPECT_EQ(today.month, 12);
    EXPECT_EQ(today.day, 7);
}
