#pragma once
// A calendar date as the table engine keeps it: day, month and year, and the packed
// 4-byte form stored in date fields (day u8, month u8, year u16 little-endian).
//
// February has 28 days in every year; leap years (every fourth year, no century rule)
// count only in the day numbers used to order dates.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class Locale;

class CKVFecha {
public:
    using Packed = std::array<uint8_t, 4>;

    // The empty date 0/0/0.
    CKVFecha() = default;
    // Normalised: month into 1..12, day into 1..the month's length, year at least 1900.
    CKVFecha(int day, int month, int year);
    // Taken as they are, without normalisation.
    explicit CKVFecha(const Packed& packed);
    // "d/m/y": each part a leading integer, a year below 100 in the 1900s, then
    // normalised; an empty text is the empty date.
    explicit CKVFecha(std::string_view text);
    // Today's date as the locale's clock gives it.
    static CKVFecha Today(const Locale& locale);

    int Day() const { return m_day; }
    int Month() const { return m_month; }
    int Year() const { return m_year; }

    // 0/0/0 and 1/1/1900 both count as empty.
    bool IsEmpty() const;
    // "05/03/1999".
    std::string Text() const;
    const Packed& PackedForm() const { return m_packed; }
    // This date minus the other in days.
    int DaysSince(const CKVFecha& other) const { return DayNumber() - other.DayNumber(); }
    // Day 1 is 1 January 1901.
    int DayNumber() const;

    static int DaysInMonth(int month);

private:
    void Normalise();
    void Pack();

    int16_t m_day = 0;
    int16_t m_month = 0;
    int16_t m_year = 0;
    Packed m_packed{};
};
