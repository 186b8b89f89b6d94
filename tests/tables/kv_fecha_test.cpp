#include "tables/kv_fecha.h"

#include <gtest/gtest.h>

TEST(KVFecha, TextIsReadAsDayMonthYearAndNormalised)
{
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"31/2/2004", "28/02/2004"},  // February has 28 days, leap year or not
        {"7/13/03", "07/12/1903"},    // month held at 12, two-digit year in the 1900s
        {"5/3/99", "05/03/1999"},     {"0/0/1800", "01/01/1900"}, {"5", "05/01/1900"},
        {"31/4/2020", "30/04/2020"},  {"1/1/12345", "01/01/9999"}, {"x/y/z", "01/01/1900"},
        {"15/06/2001/extra", "15/06/2001"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CKVFecha(std::string_view(row.in)).Text(), row.out) << "text \"" << row.in << "\"";
}

TEST(KVFecha, EmptyDatesAreZeroAndTheFirstOfJanuary1900)
{
    EXPECT_TRUE(CKVFecha(std::string_view("")).IsEmpty());
    EXPECT_EQ(CKVFecha(std::string_view("")).PackedForm(), (CKVFecha::Packed{0, 0, 0, 0}));
    EXPECT_TRUE(CKVFecha(1, 1, 1900).IsEmpty());
    EXPECT_TRUE(CKVFecha(0, 0, 0).IsEmpty()) << "normalised to 1/1/1900";
    EXPECT_FALSE(CKVFecha(2, 1, 1900).IsEmpty());
}

TEST(KVFecha, PackedFormIsTakenAsItIs)
{
    const CKVFecha d(CKVFecha::Packed{5, 3, 0xCF, 0x07});
    EXPECT_EQ(d.Text(), "05/03/1999");
    EXPECT_EQ(CKVFecha(5, 3, 1999).PackedForm(), (CKVFecha::Packed{5, 3, 0xCF, 0x07}));
    const CKVFecha odd(CKVFecha::Packed{40, 20, 0, 0});
    EXPECT_EQ(odd.Day(), 40);
    EXPECT_EQ(odd.Month(), 20);
}

TEST(KVFecha, DayNumbersCountFromJanuaryFirst1901WithEveryFourthYearLeap)
{
    EXPECT_EQ(CKVFecha(1, 1, 1901).DayNumber(), 1);
    EXPECT_EQ(CKVFecha(1, 1, 1905).DayNumber(), 1 + 3 * 365 + 366);
    EXPECT_EQ(CKVFecha(1, 3, 1904).DaysSince(CKVFecha(28, 2, 1904)), 2) << "the leap day counts";
    EXPECT_EQ(CKVFecha(1, 3, 1903).DaysSince(CKVFecha(28, 2, 1903)), 1);
    EXPECT_EQ(CKVFecha(1, 3, 2100).DaysSince(CKVFecha(28, 2, 2100)), 2) << "no century rule";
    EXPECT_LT(CKVFecha(31, 12, 1999).DaysSince(CKVFecha(1, 1, 2000)), 0);
    EXPECT_LT(CKVFecha(std::string_view("")).DaysSince(CKVFecha(1, 1, 1900)), 0);
}
