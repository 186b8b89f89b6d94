// Amounts in words as cheques and invoices print them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calc/amount_words.h"

namespace {

struct WordsCase {
    double amount;
    const char* words;
};

const WordsCase kCases[] = {
    {0, "CERO PESOS 00/100 M.N."},
    {0.5, "CERO PESOS 50/100 M.N."},
    // One peso is singular, also with cents; every other amount is plural.
    {1, "UN PESO 00/100 M.N."},
    {1.5, "UN PESO 50/100 M.N."},
    {2, "DOS PESOS 00/100 M.N."},
    {7, "SIETE PESOS 00/100 M.N."},
    {10, "DIEZ PESOS 00/100 M.N."},
    {15, "QUINCE PESOS 00/100 M.N."},
    {19, "DIECINUEVE PESOS 00/100 M.N."},
    {20, "VEINTE PESOS 00/100 M.N."},
    {21, "VEINTIUN PESOS 00/100 M.N."},
    {29, "VEINTINUEVE PESOS 00/100 M.N."},
    {30, "TREINTA PESOS 00/100 M.N."},
    {31, "TREINTA Y UN PESOS 00/100 M.N."},
    {45.3, "CUARENTA Y CINCO PESOS 30/100 M.N."},
    // One space between words, wherever the hundreds stand.
    {100, "CIEN PESOS 00/100 M.N."},
    {101, "CIENTO UN PESOS 00/100 M.N."},
    {119, "CIENTO DIECINUEVE PESOS 00/100 M.N."},
    {200, "DOSCIENTOS PESOS 00/100 M.N."},
    {250, "DOSCIENTOS CINCUENTA PESOS 00/100 M.N."},
    {1000, "UN MIL PESOS 00/100 M.N."},
    {1001, "UN MIL UN PESOS 00/100 M.N."},
    {1100, "UN MIL CIEN PESOS 00/100 M.N."},
    {1200, "UN MIL DOSCIENTOS PESOS 00/100 M.N."},
    {1999.99, "UN MIL NOVECIENTOS NOVENTA Y NUEVE PESOS 99/100 M.N."},
    {2150.75, "DOS MIL CIENTO CINCUENTA PESOS 75/100 M.N."},
    {19000, "DIECINUEVE MIL PESOS 00/100 M.N."},
    {21000, "VEINTIUN MIL PESOS 00/100 M.N."},
    {100000, "CIEN MIL PESOS 00/100 M.N."},
    {101000, "CIENTO UN MIL PESOS 00/100 M.N."},
    {123456.78, "CIENTO VEINTITRES MIL CUATROCIENTOS CINCUENTA Y SEIS PESOS 78/100 M.N."},
    {999999.99, "NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS NOVENTA Y NUEVE PESOS 99/100 M.N."},
    // Cents that round up carry into the pesos, also into the millions.
    {9.999, "DIEZ PESOS 00/100 M.N."},
    {999999.996, "UN MILLON DE PESOS 00/100 M.N."},
    // Millions count in the words of any amount below a million; an exact multiple of a
    // million takes "DE" before the currency.
    {1000000, "UN MILLON DE PESOS 00/100 M.N."},
    {1000001, "UN MILLON UN PESOS 00/100 M.N."},
    {2500000.5, "DOS MILLONES QUINIENTOS MIL PESOS 50/100 M.N."},
    {21000001, "VEINTIUN MILLONES UN PESOS 00/100 M.N."},
    {119000000, "CIENTO DIECINUEVE MILLONES DE PESOS 00/100 M.N."},
    {1000000000, "UN MIL MILLONES DE PESOS 00/100 M.N."},
    {999999999999.99, "NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS NOVENTA Y NUEVE MILLONES NOVECIENTOS NOVENTA Y "
                      "NUEVE MIL NOVECIENTOS NOVENTA Y NUEVE PESOS 99/100 M.N."},
    {999999999999.996, "Numero fuera de rango!"},
    {1e12, "Numero fuera de rango!"},
    {1e300, "Numero fuera de rango!"},
    // Negative amounts: the words of the absolute value after "MENOS".
    {-1, "MENOS UN PESO 00/100 M.N."},
    {-1999.99, "MENOS UN MIL NOVECIENTOS NOVENTA Y NUEVE PESOS 99/100 M.N."},
    {-0.005, "MENOS CERO PESOS 01/100 M.N."},
    {-0.001, "CERO PESOS 00/100 M.N."},
    {-1e12, "Numero fuera de rango!"},
    {std::numeric_limits<double>::quiet_NaN(), "Numero fuera de rango!"},
    {-std::numeric_limits<double>::infinity(), "Numero fuera de rango!"},
};

}  // namespace

TEST(AmountWords, AmountsReadAsTheLegalTextWithOneSpaceBetweenWords)
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
    EXPECT_EQ(words.NumberInWords(0), "CERO");
}
