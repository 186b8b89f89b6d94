#pragma once
// CAmountWords: an amount of Mexican pesos written out in the legal style of cheques and
// invoices, in upper-case Spanish without accents ("DOSCIENTOS  CINCUENTA PESOS 00/100
// M.N."). The spacing is part of the result: every hundreds word carries its own
// trailing space, so some results hold two spaces in a row, and forms printed from it
// have always looked like that.
#include <cstdint>
#include <string>

class CAmountWords {
public:
    // The text for amounts of seven or more whole digits.
    static constexpr const char* kOutOfRange = "Numero fuera de rango!";
    // Written in front of the words of a negative amount.
    static constexpr const char* kMinus = "MENOS ";

    // The full legal text of an amount, rounded to cents: "%s PESOS %s/100 M.N.", or
    // kOutOfRange alone. A negative amount is written from its absolute value with
    // kMinus in front (a word table indexed by negative digits would be nonsense).
    std::string AmountInWords(double amount) const;
    // The words for whole pesos, 0 to 999,999 ("Cero" for 0); kOutOfRange beyond.
    std::string NumberInWords(int64_t n) const;
    // The words for one digit (count 1: d0) or two digits (count 2: d1 tens, d0 units);
    // empty for "00".
    std::string TwoDigitsInWords(int count, int d0, int d1) const;
};
