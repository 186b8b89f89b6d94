// Amounts read as the program writes them and clerks type them.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/amount_text.h"

TEST(AmountText, ReadsWhatTheProgramShowsAndRefusesTheRest)
{
    struct Case {
        const char* text;
        bool read;
        double value;
    };
    const Case cases[] = {
        {"1500", true, 1500},        {" 1500 ", true, 1500},     {"1,500.00", true, 1500},
        {"$1,500.00", true, 1500},   {"$ 1,500.00", true, 1500}, {"$1500", true, 1500},
        {"-$5", true, -5},           {"$-1,234.50", true, -1234.5}, {"+4.25", true, 4.25},
        {".5", true, 0.5},           {"1e3", true, 1000},        {"1,000,000", true, 1e6},
        // Grouping only in threes: "12,50" is a decimal comma, never 1250.
        {"12,50", false, 0},         {"1,5000", false, 0},       {"1,500,00", false, 0},
        {"abc", false, 0},           {"", false, 0},             {"   ", false, 0},
        {"$", false, 0},             {"4.25x", false, 0},        {"1.2.3", false, 0},
        {"inf", false, 0},           {"nan", false, 0},          {"1e999", false, 0},
        {"--5", false, 0},           {"$$5", false, 0},
    };
    for (const Case& c : cases) {
        double value = -7;
        EXPECT_EQ(ReadAmount(c.text, value), c.read) << c.text;
        EXPECT_DOUBLE_EQ(value, c.read ? c.value : -7) << c.text;
    }
}
