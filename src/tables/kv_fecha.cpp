#include "tables/kv_fecha.h"

#include "base/user_locale.h"
#include "tables/number_text.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kDaysPerMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Years above 9999 do not fit the four-digit text form; they are held there.
constexpr int kMaxYear = 9999;

int16_t Clamp16(int64_t v, int lo, int hi)
{
    return int16_t(std::clamp<int64_t>(v, lo, hi));
}

int FloorDiv(int a, int b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

int CKVFecha::DaysInMonth(int month)
{
    return month >= 1 && month <= 12 ? kDaysPerMonth[month] : 0;
}

CKVFecha::CKVFecha(int day, int month, int year)
    : m_day(Clamp16(day, -32768, 32767)),
      m_month(Clamp16(month, -32768, 32767)),
      m_year(Clamp16(year, -32768, kMaxYear))
{
    Normalise();
}

CKVFecha::CKVFecha(const Packed& packed)
    : m_day(packed[0]),
      m_month(packed[1]),
      m_year(int16_t(uint16_t(packed[2] | (packed[3] << 8)))),
      m_packed(packed)
{
}

CKVFecha::CKVFecha(std::string_view text)
{
    if (text.empty())
        return;
    int64_t parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const size_t slash = text.find('/');
        parts[i] = LeadingInteger(text.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        text.remove_prefix(slash + 1);
    }
    m_day = Clamp16(parts[0], -32768, 32767);
    m_month = Clamp16(parts[1], -32768, 32767);
    int64_t year = parts[2];
    if (year < 100)
        year += 1900;
    m_year = Clamp16(year, -32768, kMaxYear);
    Normalise();
}

CKVFecha CKVFecha::Today(const Locale& locale)
{
    const CalendarDate today = locale.Today();
    return CKVFecha(today.day, today.month, today.year);
}

void CKVFecha::Normalise()
{
    m_month = int16_t(std::clamp<int>(m_month, 1, 12));
    m_day = int16_t(std::clamp<int>(m_day, 1, kDaysPerMonth[m_month]));
    m_year = int16_t(std::max<int>(m_year, 1900));
    Pack();
}

void CKVFecha::Pack()
{
    const auto year = uint16_t(m_year);
    m_packed = {uint8_t(m_day), uint8_t(m_month), uint8_t(year & 0xFF), uint8_t(year >> 8)};
}

bool CKVFecha::IsEmpty() const
{
    return (m_day == 0 && m_month == 0 && m_year == 0) || (m_day == 1 && m_month == 1 && m_year == 1900);
}

std::string CKVFecha::Text() const
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", m_day, m_month, m_year);
    return buffer;
}

int CKVFecha::DayNumber() const
{
    // Packed dates come from files as they are: a month outside 1..12 counts no months.
    const int year = m_year;
    const int yearsBefore = year - 1901;
    int days = 365 * yearsBefore + FloorDiv(year - 1, 4) - FloorDiv(1900, 4);
    const int month = std::clamp<int>(m_month, 0, 13);
    for (int m = 1; m < month && m <= 12; ++m)
        days += kDaysPerMonth[m];
    if (month > 2 && year % 4 == 0)
        days += 1;
    return days + m_day;
}
