#pragma once
// CAmountWords: an amount of Mexican pesos written out in the legal style of cheques and
// invoices, in upper-case Spanish without accents ("DOSCIENTOS CINCUENTA PESOS 00/100
// M.N."): words separated by one space, "UN" for one in every position ("UN MIL",
// "VEINTIUN"), "PESO" for exactly one peso, the cents as two digits over 100.
#include <cstdint>
#include <string>

class CAmountWords {
public:
    // The text for amounts whose whole pesos have more than twelve digits.
    static constexpr const char* kOutOfRange = "Numero fuera de rango!";
    // Written in front of the words of a negative amount.
    static constexpr const char* kMinus = "MENOS ";
    // The largest amount written out.
    static constexpr double kLargest = 999999999999.99;

    // The full legal text of an amount, rounded to cents: "%s PESOS %s/100 M.N." ("UN
    // PESO" for one, "... MILLONES DE PESOS" for an exact multiple of a million), or
    // kOutOfRange alone. A negative amount is written from its absolute value with kMinus
    // in front (a word table indexed by negative digits would be nonsense).
    std::string AmountInWords(double amount) const;
    // True when AmountInWords writes the amount out (it is finite and below one billion
    // once rounded to cents).
    static bool InRange(double amount);
    // The words for whole pesos, 0 to 999,999,999,999 ("CERO" for 0); kOutOfRange
    // beyond.
    std::string NumberInWords(int64_t n) const;
    // The words for one digit (count 1: d0) or two digits (count 2: d1 tens, d0 units);
    // empty for "00".
    std::string TwoDigitsInWords(int count, int d0, int d1) const;

private:
    // The words for 1 to 999,999 (empty for 0).
    std::string BelowMillion(int64_t n) const;
    std::string BelowThousand(int n) const;
};
