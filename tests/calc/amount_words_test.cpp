// Amounts in words as cheques and invoices print them, double spaces included.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calc/amount_words.h"

namespace {

struct WordsCase {
    double amount;
    const char* words;
};

// "  " marks the places where the hundreds word's own space meets the next separator.
const WordsCase kCases[] = {
    {0, "Cero PESOS 00/100 M.N."},
    {0.5, "Cero PESOS 50/100 M.N."},
    {1, "UN PESOS 00/100 M.N."},
    {7, "SIETE PESOS 00/100 M.N."},
    {10, "DIEZ PESOS 00/100 M.N."},
    {15, "QUINCE PESOS 00/100 M.N."},
    {19, "DICINUEVE PESOS 00/100 M.N."},
    {20, "VEINTE PESOS 00/100 M.N."},
    {21, "VEINTIUN PESOS 00/100 M.N."},
    {29, "VEINTINUEVE PESOS 00/100 M.N."},
    {30, "TREINTA PESOS 00/100 M.N."},
    {31, "TREINTA Y UN PESOS 00/100 M.N."},
    {45.3, "CUARENTA Y CINCO PESOS 30/100 M.N."},
    {100, "CIEN  PESOS 00/100 M.N."},
    {101, "CIENTO  UN PESOS 00/100 M.N."},
    {107, "CIENTO  SIETE PESOS 00/100 M.N."},
    {119, "CIENTO  DICINUEVE PESOS 00/100 M.N."},
    {250, "DOSCIENTOS  CINCUENTA PESOS 00/100 M.N."},
    // A round hundred: the word's space, the joining space, then the format's.
    {300, "TRESCIENTOS   PESOS 00/100 M.N."},
    {1000, "UN MIL  PESOS 00/100 M.N."},
    {1001, "UN MIL UN PESOS 00/100 M.N."},
    {1100, "UN MIL CIEN PESOS 00/100 M.N."},
    {1200, "UN MIL DOSCIENTOS  PESOS 00/100 M.N."},
    {1999.99, "UN MIL NOVECIENTOS NOVENTA Y NUEVE PESOS 99/100 M.N."},
    {2150.75, "DOS MIL CIENTO CINCUENTA PESOS 75/100 M.N."},
    {21000, "VEINTIUN MIL  PESOS 00/100 M.N."},
    {100000, "CIEN MIL  PESOS 00/100 M.N."},
    {101000, "CIENTO UN MIL  PESOS 00/100 M.N."},
    {123456.78, "CIENTO VEINTITRES MIL CUATROCIENTOS CINCUENTA Y SEIS PESOS 78/100 M.N."},
    {999999.99, "NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS NOVENTA Y NUEVE PESOS 99/100 M.N."},
    // Cents that round up carry into the pesos, and past the last six digits.
    {9.999, "DIEZ PESOS 00/100 M.N."},
    {999999.996, "Numero fuera de rango!"},
    {1000000, "Numero fuera de rango!"},
    {3e12, "Numero fuera de rango!"},
    {1e300, "Numero fuera de rango!"},
    // Negative amounts: the words of the absolute value after "MENOS".
    {-5, "MENOS CINCO PESOS 00/100 M.N."},
    {-1999.99, "MENOS UN MIL NOVECIENTOS NOVENTA Y NUEVE PESOS 99/100 M.N."},
    {-0.001, "Cero PESOS 00/100 M.N."},
    {-1000000, "Numero fuera de rango!"},
    {std::numeric_limits<double>::quiet_NaN(), "Numero fuera de rango!"},
    {-std::numeric_limits<double>::infinity(), "Numero fuera de rango!"},
};

}  // namespace

TEST(AmountWords, AmountsReadAsTheLegalTextWithItsOwnSpacing)
{
    const CAmountWords words;
    for (const WordsCase& c : kCases)
        EXPECT_EQ(words.AmountInWords(c.amount), c.words) << "amount " << c.amount;
}

TEST(AmountWords, OneAndTwoDigitsFollowTheirTables)
{
    const CAmountWords words;
    EXPECT_EQ(words.TwoDigitsInWords(2, 0, 0), "");
    EXPECT_EQ(words.TwoDigitsInWords(2, 7, 0), "SIETE");
    EXPECT_EQ(words.TwoDigitsInWords(1, 1, 9), "UN") << "one digit reads the units only";
    EXPECT_EQ(words.TwoDigitsInWords(2, 0, 2), "VEINTE");
    EXPECT_EQ(words.TwoDigitsInWords(2, 2, 2), "VEINTIDOS");
    EXPECT_EQ(words.TwoDigitsInWords(2, 9, 9), "NOVENTA Y NUEVE");
    EXPECT_EQ(words.NumberInWords(0), "Cero");
    EXPECT_EQ(words.NumberInWords(1000000), "Numero fuera de rango!");
}
