#include "db/provider/SqlServerDates.h"

#include <cstdio>

namespace rp::db::mssql {

long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

int daysInMonth(int y, int m) {
    static const int dm[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0))
        return 29;
    return dm[m - 1];
}

bool valid(const DateTime& t) {
    return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
           t.minute < 60 && t.second >= 0 && t.second < 60;
}

long long toMillis(const DateTime& t) {
    return ((daysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) *
                 24 +
             t.hour) *
                60 +
            t.minute) *
               60000LL +
           t.second * 1000LL + t.msec;
}

DateTime fromMillis(long long ms) {
    DateTime t;
    long long days = ms >= 0 ? ms / 86400000LL : -((-ms + 86399999LL) / 86400000LL);
    long long rest = ms - days * 86400000LL;
    civilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600000LL);
    t.minute = static_cast<int>(rest / 60000LL % 60);
    t.second = static_cast<int>(rest / 1000 % 60);
    t.msec = static_cast<int>(rest % 1000);
    return t;
}

// Reads up to `max` digits; returns the count read.
int readNumber(const std::string& s, size_t& i, int max, int& value) {
    int count = 0;
    value = 0;
    while (i < s.size() && count < max && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i] - '0');
        ++i;
        ++count;
    }
    return count;
}

bool parseTime(const std::string& s, size_t i, DateTime& t) {
    while (i < s.size() && (s[i] == ' ' || s[i] == 'T'))
        ++i;
    if (i == s.size())
        return true;
    if (readNumber(s, i, 2, t.hour) == 0 || i >= s.size() || s[i] != ':')
        return false;
    ++i;
    if (readNumber(s, i, 2, t.minute) != 2)
        return false;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (readNumber(s, i, 2, t.second) != 2)
            return false;
        if (i < s.size() && s[i] == '.') {
            ++i;
            int frac = 0;
            const int digits = readNumber(s, i, 3, frac);
            while (i < s.size() && s[i] >= '0' && s[i] <= '9')
                ++i;
            for (int k = digits; k < 3; ++k)
                frac *= 10;
            t.msec = frac;
        }
    }
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i + 1 < s.size() && (s[i] == 'P' || s[i] == 'p') && (s[i + 1] == 'M' || s[i + 1] == 'm')) {
        if (t.hour < 12)
            t.hour += 12;
        i += 2;
    } else if (i + 1 < s.size() && (s[i] == 'A' || s[i] == 'a') &&
               (s[i + 1] == 'M' || s[i + 1] == 'm')) {
        if (t.hour == 12)
            t.hour = 0;
        i += 2;
    }
    return i == s.size();
}

int fullYear(int y, int digits) {
    if (digits > 2)
        return y;
    return fullYearOf(y);
}

// Parses ISO text (yyyy-mm-dd[ hh:mm[:ss[.fff]]]), yyyymmdd, or a date in the
// order given by `style` (103/3 day first, 101/1 month first; others day first).
bool parseDateTime(std::string s, int style, DateTime& t) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    t = DateTime();
    int a = 0, b = 0, c = 0;
    const size_t start = i;
    const int na = readNumber(s, i, 8, a);
    if (na == 8 && (i == s.size() || s[i] == ' ')) {
        t.year = a / 10000;
        t.month = a / 100 % 100;
        t.day = a % 100;
        return parseTime(s, i, t) && valid(t);
    }
    if (na == 0 || i >= s.size())
        return false;
    const char sep = s[i];
    if (sep != '-' && sep != '/' && sep != '.')
        return false;
    ++i;
    const int nb = readNumber(s, i, 2, b);
    if (nb == 0 || i >= s.size() || s[i] != sep)
        return false;
    ++i;
    const int nc = readNumber(s, i, 4, c);
    if (nc == 0)
        return false;
    (void)start;
    if (na == 4) {
        t.year = a;
        t.month = b;
        t.day = c;
    } else if (style == 101 || style == 1 || style == 110 || style == 10) {
        t.month = a;
        t.day = b;
        t.year = fullYear(c, nc);
    } else if (style == 111 || style == 11) {
        t.year = fullYear(a, na);
        t.month = b;
        t.day = c;
    } else {
        t.day = a;
        t.month = b;
        t.year = fullYear(c, nc);
    }
    return parseTime(s, i, t) && valid(t);
}

std::string formatIso(const DateTime& t) {
    char buf[40];
    if (t.msec != 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second, t.msec);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
    return buf;
}

std::string formatStyle(const DateTime& t, int style) {
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char buf[64];
    const int yy = t.year % 100;
    switch (style) {
    case 1:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", t.month, t.day, yy);
        break;
    case 101:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", t.month, t.day, t.year);
        break;
    case 2:
        std::snprintf(buf, sizeof buf, "%02d.%02d.%02d", yy, t.month, t.day);
        break;
    case 102:
        std::snprintf(buf, sizeof buf, "%04d.%02d.%02d", t.year, t.month, t.day);
        break;
    case 3:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", t.day, t.month, yy);
        break;
    case 103:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", t.day, t.month, t.year);
        break;
    case 4:
        std::snprintf(buf, sizeof buf, "%02d.%02d.%02d", t.day, t.month, yy);
        break;
    case 104:
        std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", t.day, t.month, t.year);
        break;
    case 5:
        std::snprintf(buf, sizeof buf, "%02d-%02d-%02d", t.day, t.month, yy);
        break;
    case 105:
        std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", t.day, t.month, t.year);
        break;
    case 8:
    case 108:
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
        break;
    case 10:
        std::snprintf(buf, sizeof buf, "%02d-%02d-%02d", t.month, t.day, yy);
        break;
    case 110:
        std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", t.month, t.day, t.year);
        break;
    case 11:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", yy, t.month, t.day);
        break;
    case 111:
        std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", t.year, t.month, t.day);
        break;
    case 12:
        std::snprintf(buf, sizeof buf, "%02d%02d%02d", yy, t.month, t.day);
        break;
    case 112:
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", t.year, t.month, t.day);
        break;
    case 23:
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
        break;
    case 20:
    case 120:
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
        break;
    case 21:
    case 121:
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second, t.msec);
        break;
    case 126:
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
        break;
    default: { // 0 / 100: "Dec 31 2024 10:00AM"
        const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        std::snprintf(buf, sizeof buf, "%s %2d %04d %2d:%02d%s", months[t.month - 1], t.day, t.year,
                      h12, t.minute, t.hour < 12 ? "AM" : "PM");
        break;
    }
    }
    return buf;
}

Part parseDatePart(const unsigned char* s) {
    std::string p;
    if (s)
        for (const unsigned char* q = s; *q; ++q)
            p.push_back(static_cast<char>(*q >= 'A' && *q <= 'Z' ? *q + 32 : *q));
    if (p == "year" || p == "yy" || p == "yyyy")
        return Part::Year;
    if (p == "quarter" || p == "qq" || p == "q")
        return Part::Quarter;
    if (p == "month" || p == "mm" || p == "m")
        return Part::Month;
    if (p == "dayofyear" || p == "dy" || p == "y")
        return Part::DayOfYear;
    if (p == "day" || p == "dd" || p == "d")
        return Part::Day;
    if (p == "week" || p == "wk" || p == "ww")
        return Part::Week;
    if (p == "weekday" || p == "dw" || p == "w")
        return Part::WeekDay;
    if (p == "hour" || p == "hh")
        return Part::Hour;
    if (p == "minute" || p == "mi" || p == "n")
        return Part::Minute;
    if (p == "second" || p == "ss" || p == "s")
        return Part::Second;
    if (p == "millisecond" || p == "ms")
        return Part::Msec;
    return Part::Bad;
}
long long floorDiv(long long a, long long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace rp::db::mssql
