#pragma once

// Date-time rules of SQL Server for the SQLite functions: ISO text as stored,
// CONVERT styles, date parts, calendar arithmetic. No Qt (the loadable
// extension module uses it too).

#include <string>

namespace rp::db::mssql {

struct DateTime {
    int year = 1900, month = 1, day = 1, hour = 0, minute = 0, second = 0, msec = 0;
};

enum class Part {
    Year,
    Quarter,
    Month,
    DayOfYear,
    Day,
    Week,
    WeekDay,
    Hour,
    Minute,
    Second,
    Msec,
    Bad
};

// The full year of a two-digit year: 00-29 are 2000-2029, 30-99 are
// 1930-1999. One rule for the form, the filters and the database dialect.
inline constexpr int kLastTwoDigitYear = 2029;
inline constexpr int fullYearOf(int yy) {
    return yy <= kLastTwoDigitYear % 100 ? 2000 + yy : 1900 + yy;
}

long long daysFromCivil(long long y, unsigned m, unsigned d);
int daysInMonth(int y, int m);
bool valid(const DateTime& t);
long long toMillis(const DateTime& t);
DateTime fromMillis(long long ms);
long long floorDiv(long long a, long long b);
// ISO text (yyyy-mm-dd[ hh:mm[:ss[.fff]]]), yyyymmdd, or a date in the order
// of a CONVERT style (101/1 month first, 111/11 year first, others day first).
bool parseDateTime(std::string s, int style, DateTime& t);
// "YYYY-MM-DD HH:MM:SS" (".fff" when the milliseconds are not zero).
std::string formatIso(const DateTime& t);
// CONVERT(varchar, date, style).
std::string formatStyle(const DateTime& t, int style);
// "day", "dd", "month", "yy", ... (any case); Part::Bad when unknown.
Part parseDatePart(const unsigned char* name);

} // namespace rp::db::mssql
