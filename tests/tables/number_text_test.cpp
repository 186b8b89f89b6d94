#include "tables/number_text.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(NumberText, TwoDecimalsRoundOnceAndDropTrailingZerosFromOneUp)
{
    const struct {
        float value;
        const char* text;
    } rows[] = {
        {123.4f, "123.4"},   {1234.561f, "1234.56"}, {-12.5f, "-12.5"},  {0.05f, "0.05"},
        {0.5f, "0.50"},      {-0.05f, "-0.05"},      {5.0f, "5"},        {0.0f, "0.00"},
        {1048576.3f, "1048576.25"},  // single precision cannot hold .3
        {-1234.561f, "-1234.56"},    // negative values keep two decimals too
        {0.995f, "1"},               // rounding up past a power of ten
        {99.995f, "100"},
        {1.0f, "1"},         {-1.0f, "-1"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatTwoDecimals(row.value), row.text) << "value " << row.value;
}

TEST(NumberText, PesosGroupThousandsAndCutAfterTwoDecimals)
{
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"12345.678", "$ 12,345.67"}, {"-5", "-$ 5.00"},  {"", "$ 0.00"},         {"100", "$ 100.00"},
        {"1234567", "$ 1,234,567.00"}, {"123456.7", "$ 123,456.70"}, {"12.", "$ 12.00"}, {"999.999", "$ 999.99"},
        {"-1234.5", "-$ 1,234.50"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatPesos(row.in), row.out) << "text \"" << row.in << "\"";
}

TEST(NumberText, LeadingNumbersStopAtTheFirstForeignCharacter)
{
    EXPECT_EQ(LeadingInteger("  -42abc"), -42);
    EXPECT_EQ(LeadingInteger("abc"), 0);
    EXPECT_GT(LeadingInteger("99999999999999999999999"), 900'000'000'000'000'000LL) << "saturates instead of wrapping";
    EXPECT_DOUBLE_EQ(LeadingNumber("3.25kg"), 3.25);
    EXPECT_DOUBLE_EQ(LeadingNumber("+1e2x"), 100.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("3e"), 3.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("."), 0.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("1e-400"), 0.0);
    EXPECT_TRUE(std::isinf(LeadingNumber("1e400")));
}
