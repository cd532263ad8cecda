#include "db/provider/SqlServerFunctions.h"

#ifdef RP_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace rp::db {

namespace {

using Text = std::u32string;

// ---------------------------------------------------------------- UTF-8

Text decodeUtf8(const unsigned char* s, int n) {
    Text out;
    out.reserve(static_cast<size_t>(n));
    int i = 0;
    while (i < n) {
        unsigned char c = s[i];
        char32_t cp;
        int extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        ++i;
        for (int k = 0; k < extra && i < n; ++k, ++i)
            cp = (cp << 6) | (s[i] & 0x3F);
        out.push_back(cp);
    }
    return out;
}

std::string encodeUtf8(const Text& t) {
    std::string out;
    out.reserve(t.size());
    for (char32_t cp : t) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

// ---------------------------------------------------------------- letter case

char32_t toLowerCp(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c >= 0x100 && c <= 0x137)
        return c | 1;
    if (c >= 0x139 && c <= 0x148)
        return (c & 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177)
        return c | 1;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x179 && c <= 0x17E)
        return (c & 1) ? c + 1 : c;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return c + 32;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

char32_t toUpperCp(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x137)
        return c & ~char32_t(1);
    if (c >= 0x139 && c <= 0x148)
        return (c & 1) ? c : c - 1;
    if (c >= 0x14A && c <= 0x177)
        return c & ~char32_t(1);
    if (c >= 0x179 && c <= 0x17E)
        return (c & 1) ? c : c - 1;
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2)
        return c - 32;
    if (c >= 0x430 && c <= 0x44F)
        return c - 32;
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

size_t lengthWithoutTrailingBlanks(const Text& t) {
    size_t n = t.size();
    while (n > 0 && t[n - 1] == U' ')
        --n;
    return n;
}

int mssqlCompare(void*, int n1, const void* p1, int n2, const void* p2) {
    const Text a = decodeUtf8(static_cast<const unsigned char*>(p1), n1);
    const Text b = decodeUtf8(static_cast<const unsigned char*>(p2), n2);
    const size_t la = lengthWithoutTrailingBlanks(a);
    const size_t lb = lengthWithoutTrailingBlanks(b);
    const size_t n = la < lb ? la : lb;
    for (size_t i = 0; i < n; ++i) {
        const char32_t ca = toLowerCp(a[i]);
        const char32_t cb = toLowerCp(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return la == lb ? 0 : (la < lb ? -1 : 1);
}

// ---------------------------------------------------------------- values

Text textArg(sqlite3_value* v) {
    const unsigned char* s = sqlite3_value_text(v);
    return s ? decodeUtf8(s, sqlite3_value_bytes(v)) : Text();
}

bool anyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

void resultText(sqlite3_context* ctx, const Text& t) {
    const std::string s = encodeUtf8(t);
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

void resultString(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

// ---------------------------------------------------------------- dates

struct DateTime {
    int year = 1900, month = 1, day = 1, hour = 0, minute = 0, second = 0, msec = 0;
};

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
    return y < 50 ? 2000 + y : 1900 + y;
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

bool valueToDateTime(sqlite3_value* v, int style, DateTime& t) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
        // SQL Server: a number is days since 1900-01-01.
        const double days = sqlite3_value_double(v);
        const long long base = toMillis(DateTime());
        t = fromMillis(base + static_cast<long long>(std::llround(days * 86400000.0)));
        return true;
    }
    case SQLITE_TEXT: {
        const unsigned char* s = sqlite3_value_text(v);
        return parseDateTime(std::string(reinterpret_cast<const char*>(s)), style, t);
    }
    default:
        return false;
    }
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

Part datePart(sqlite3_value* v) {
    std::string p;
    if (const unsigned char* s = sqlite3_value_text(v))
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

// ---------------------------------------------------------------- functions

void fnIsNull(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_value(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL ? argv[1] : argv[0]);
}

void fnLen(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx,
                         static_cast<sqlite3_int64>(lengthWithoutTrailingBlanks(textArg(argv[0]))));
}

void fnCharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Text find = textArg(argv[0]);
    const Text s = textArg(argv[1]);
    long long start = argc > 2 ? sqlite3_value_int64(argv[2]) : 1;
    if (start < 1)
        start = 1;
    if (find.empty()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    for (size_t i = static_cast<size_t>(start - 1); i + find.size() <= s.size(); ++i) {
        size_t k = 0;
        while (k < find.size() && toLowerCp(s[i + k]) == toLowerCp(find[k]))
            ++k;
        if (k == find.size()) {
            sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(i + 1));
            return;
        }
    }
    sqlite3_result_int(ctx, 0);
}

void fnSubstring(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Text s = textArg(argv[0]);
    const long long start = sqlite3_value_int64(argv[1]);
    const long long length = sqlite3_value_int64(argv[2]);
    if (length < 0) {
        sqlite3_result_error(ctx, "Invalid length parameter passed to the substring function.", -1);
        return;
    }
    long long from = start < 1 ? 1 : start;
    long long to = start + length; // exclusive, 1-based
    const long long size = static_cast<long long>(s.size());
    if (to > size + 1)
        to = size + 1;
    if (from > size || to <= from) {
        resultText(ctx, Text());
        return;
    }
    resultText(ctx, s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from)));
}

void fnUpper(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    Text s = textArg(argv[0]);
    for (char32_t& c : s)
        c = toUpperCp(c);
    resultText(ctx, s);
}

void fnLower(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    Text s = textArg(argv[0]);
    for (char32_t& c : s)
        c = toLowerCp(c);
    resultText(ctx, s);
}

void fnLeft(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Text s = textArg(argv[0]);
    const long long n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_error(ctx, "Invalid length parameter passed to the left function.",
                                    -1);
    resultText(ctx, s.substr(0, static_cast<size_t>(n)));
}

void fnRight(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Text s = textArg(argv[0]);
    const long long n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_error(ctx, "Invalid length parameter passed to the right function.",
                                    -1);
    const size_t k = static_cast<size_t>(n) > s.size() ? s.size() : static_cast<size_t>(n);
    resultText(ctx, s.substr(s.size() - k));
}

void fnReplicate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Text s = textArg(argv[0]);
    const long long n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_null(ctx);
    if (static_cast<unsigned long long>(n) * s.size() > 100000000ULL)
        return sqlite3_result_error_toobig(ctx);
    Text out;
    for (long long i = 0; i < n; ++i)
        out += s;
    resultText(ctx, out);
}

void fnSpace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const long long n = sqlite3_value_int64(argv[0]);
    if (n < 0)
        return sqlite3_result_null(ctx);
    if (n > 100000000LL)
        return sqlite3_result_error_toobig(ctx);
    resultString(ctx, std::string(static_cast<size_t>(n), ' '));
}

void fnGetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    DateTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    resultString(ctx, formatIso(t));
}

void conversionError(sqlite3_context* ctx) {
    sqlite3_result_error(
        ctx, "Conversion failed when converting date and/or time from character string.", -1);
}

void fnDatePartOf(sqlite3_context* ctx, sqlite3_value* v, Part part) {
    DateTime t;
    if (!valueToDateTime(v, 0, t))
        return conversionError(ctx);
    long long r = 0;
    switch (part) {
    case Part::Year:
        r = t.year;
        break;
    case Part::Quarter:
        r = (t.month - 1) / 3 + 1;
        break;
    case Part::Month:
        r = t.month;
        break;
    case Part::DayOfYear:
        r = daysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) -
            daysFromCivil(t.year, 1, 1) + 1;
        break;
    case Part::Day:
        r = t.day;
        break;
    case Part::WeekDay: {
        // Sunday = 1 (SQL Server's default first day of the week, us_english).
        const long long d =
            daysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
        r = ((d % 7) + 11) % 7 + 1;
        break;
    }
    case Part::Week: {
        const long long jan1 = daysFromCivil(t.year, 1, 1);
        const long long wdJan1 = ((jan1 % 7) + 11) % 7; // 0 = Sunday
        const long long d =
            daysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
        r = (d - jan1 + wdJan1) / 7 + 1;
        break;
    }
    case Part::Hour:
        r = t.hour;
        break;
    case Part::Minute:
        r = t.minute;
        break;
    case Part::Second:
        r = t.second;
        break;
    case Part::Msec:
        r = t.msec;
        break;
    case Part::Bad:
        return sqlite3_result_error(ctx, "Invalid date part.", -1);
    }
    sqlite3_result_int64(ctx, r);
}

void fnYear(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    fnDatePartOf(ctx, argv[0], Part::Year);
}
void fnMonth(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    fnDatePartOf(ctx, argv[0], Part::Month);
}
void fnDay(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    fnDatePartOf(ctx, argv[0], Part::Day);
}
void fnDatePart(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    fnDatePartOf(ctx, argv[1], datePart(argv[0]));
}

void fnDateAdd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Part part = datePart(argv[0]);
    const long long n = sqlite3_value_int64(argv[1]);
    DateTime t;
    if (!valueToDateTime(argv[2], 0, t))
        return conversionError(ctx);
    long long ms = toMillis(t);
    switch (part) {
    case Part::Year:
    case Part::Quarter:
    case Part::Month: {
        const long long months = part == Part::Year ? n * 12 : part == Part::Quarter ? n * 3 : n;
        long long total = t.year * 12LL + (t.month - 1) + months;
        t.year = static_cast<int>(total / 12);
        t.month = static_cast<int>(total % 12) + 1;
        if (t.day > daysInMonth(t.year, t.month))
            t.day = daysInMonth(t.year, t.month);
        if (!valid(t))
            return sqlite3_result_error(
                ctx, "Adding a value to a 'datetime' column caused an overflow.", -1);
        return resultString(ctx, formatIso(t));
    }
    case Part::DayOfYear:
    case Part::Day:
    case Part::WeekDay:
        ms += n * 86400000LL;
        break;
    case Part::Week:
        ms += n * 7 * 86400000LL;
        break;
    case Part::Hour:
        ms += n * 3600000LL;
        break;
    case Part::Minute:
        ms += n * 60000LL;
        break;
    case Part::Second:
        ms += n * 1000LL;
        break;
    case Part::Msec:
        ms += n;
        break;
    case Part::Bad:
        return sqlite3_result_error(ctx, "Invalid date part.", -1);
    }
    const DateTime r = fromMillis(ms);
    if (!valid(r))
        return sqlite3_result_error(
            ctx, "Adding a value to a 'datetime' column caused an overflow.", -1);
    resultString(ctx, formatIso(r));
}

long long floorDiv(long long a, long long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

void fnDateDiff(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Part part = datePart(argv[0]);
    DateTime a, b;
    if (!valueToDateTime(argv[1], 0, a) || !valueToDateTime(argv[2], 0, b))
        return conversionError(ctx);
    const long long ma = toMillis(a), mb = toMillis(b);
    long long r = 0;
    switch (part) {
    case Part::Year:
        r = b.year - a.year;
        break;
    case Part::Quarter:
        r = (b.year * 4LL + (b.month - 1) / 3) - (a.year * 4LL + (a.month - 1) / 3);
        break;
    case Part::Month:
        r = (b.year * 12LL + b.month) - (a.year * 12LL + a.month);
        break;
    case Part::DayOfYear:
    case Part::Day:
    case Part::WeekDay:
        r = floorDiv(mb, 86400000LL) - floorDiv(ma, 86400000LL);
        break;
    case Part::Week:
        // Week boundaries are Sundays; day 0 of the epoch (1970-01-01) is a Thursday.
        r = floorDiv(floorDiv(mb, 86400000LL) + 4, 7) - floorDiv(floorDiv(ma, 86400000LL) + 4, 7);
        break;
    case Part::Hour:
        r = floorDiv(mb, 3600000LL) - floorDiv(ma, 3600000LL);
        break;
    case Part::Minute:
        r = floorDiv(mb, 60000LL) - floorDiv(ma, 60000LL);
        break;
    case Part::Second:
        r = floorDiv(mb, 1000LL) - floorDiv(ma, 1000LL);
        break;
    case Part::Msec:
        r = mb - ma;
        break;
    case Part::Bad:
        return sqlite3_result_error(ctx, "Invalid date part.", -1);
    }
    sqlite3_result_int64(ctx, r);
}

void fnAdd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_TEXT && tb == SQLITE_TEXT) {
        std::string s(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                      static_cast<size_t>(sqlite3_value_bytes(argv[0])));
        s.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])),
                 static_cast<size_t>(sqlite3_value_bytes(argv[1])));
        return resultString(ctx, s);
    }
    const int na = sqlite3_value_numeric_type(argv[0]);
    const int nb = sqlite3_value_numeric_type(argv[1]);
    if ((na != SQLITE_INTEGER && na != SQLITE_FLOAT) ||
        (nb != SQLITE_INTEGER && nb != SQLITE_FLOAT))
        return sqlite3_result_error(ctx, "Conversion failed when converting a value to a number.",
                                    -1);
    if (na == SQLITE_INTEGER && nb == SQLITE_INTEGER) {
        sqlite3_int64 r;
        if (!__builtin_add_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]), &r))
            return sqlite3_result_int64(ctx, r);
        return sqlite3_result_error(ctx, "Arithmetic overflow error.", -1);
    }
    sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
}

// CONVERT(varchar[(length)], value, style)
void fnToText(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const int style =
        argc > 1 && sqlite3_value_type(argv[1]) != SQLITE_NULL ? sqlite3_value_int(argv[1]) : -1;
    const long long length =
        argc > 2 && sqlite3_value_type(argv[2]) != SQLITE_NULL ? sqlite3_value_int64(argv[2]) : 30;
    std::string s;
    DateTime t;
    const char* raw = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const bool isoText = sqlite3_value_type(argv[0]) == SQLITE_TEXT && std::strlen(raw) >= 10 &&
                         raw[4] == '-' && raw[7] == '-';
    if (style >= 0 && isoText && parseDateTime(raw, 120, t)) {
        s = formatStyle(t, style);
    } else {
        s.assign(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                 static_cast<size_t>(sqlite3_value_bytes(argv[0])));
    }
    if (length >= 0) {
        Text u = decodeUtf8(reinterpret_cast<const unsigned char*>(s.data()),
                            static_cast<int>(s.size()));
        if (u.size() > static_cast<size_t>(length)) {
            u.resize(static_cast<size_t>(length));
            return resultText(ctx, u);
        }
    }
    resultString(ctx, s);
}

// CONVERT(datetime, value[, style]) / CAST(value AS datetime)
void fnToDateTime(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const int style =
        argc > 1 && sqlite3_value_type(argv[1]) != SQLITE_NULL ? sqlite3_value_int(argv[1]) : 103;
    DateTime t;
    if (!valueToDateTime(argv[0], style, t))
        return conversionError(ctx);
    resultString(ctx, formatIso(t));
}

// ---------------------------------------------------------------- LIKE

bool likeMatch(const Text& p, size_t pi, const Text& s, size_t si, char32_t escape) {
    while (pi < p.size()) {
        char32_t c = p[pi];
        if (escape && c == escape && pi + 1 < p.size()) {
            if (si >= s.size() || toLowerCp(s[si]) != toLowerCp(p[pi + 1]))
                return false;
            pi += 2;
            ++si;
            continue;
        }
        if (c == U'%') {
            while (pi < p.size() && p[pi] == U'%')
                ++pi;
            if (pi == p.size())
                return true;
            for (size_t k = si; k <= s.size(); ++k)
                if (likeMatch(p, pi, s, k, escape))
                    return true;
            return false;
        }
        if (si >= s.size())
            return false;
        if (c == U'_') {
            ++pi;
            ++si;
            continue;
        }
        if (c == U'[') {
            size_t close = p.find(U']', pi + 1);
            if (close != Text::npos && close > pi + 1) {
                size_t k = pi + 1;
                bool negate = false;
                if (p[k] == U'^') {
                    negate = true;
                    ++k;
                }
                bool hit = false;
                const char32_t sc = toLowerCp(s[si]);
                while (k < close) {
                    if (k + 2 < close && p[k + 1] == U'-') {
                        if (sc >= toLowerCp(p[k]) && sc <= toLowerCp(p[k + 2]))
                            hit = true;
                        k += 3;
                    } else {
                        if (sc == toLowerCp(p[k]))
                            hit = true;
                        ++k;
                    }
                }
                if (hit == negate)
                    return false;
                pi = close + 1;
                ++si;
                continue;
            }
        }
        if (toLowerCp(c) != toLowerCp(s[si]))
            return false;
        ++pi;
        ++si;
    }
    return si == s.size();
}

void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Text pattern = textArg(argv[0]);
    Text s = textArg(argv[1]);
    char32_t escape = 0;
    if (argc > 2) {
        const Text e = textArg(argv[2]);
        if (e.size() != 1)
            return sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
        escape = e[0];
    }
    if (pattern.size() > 50000)
        return sqlite3_result_error_toobig(ctx);
    bool hit = likeMatch(pattern, 0, s, 0, escape);
    if (!hit) {
        const size_t n = lengthWithoutTrailingBlanks(s);
        if (n != s.size()) {
            s.resize(n);
            hit = likeMatch(pattern, 0, s, 0, escape);
        }
    }
    sqlite3_result_int(ctx, hit ? 1 : 0);
}

struct FunctionDef {
    const char* name;
    int args;
    bool deterministic;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
};

const FunctionDef kFunctions[] = {
    {"isnull", 2, true, fnIsNull},
    {"len", 1, true, fnLen},
    {"charindex", 2, true, fnCharIndex},
    {"charindex", 3, true, fnCharIndex},
    {"substring", 3, true, fnSubstring},
    {"upper", 1, true, fnUpper},
    {"lower", 1, true, fnLower},
    {"rp_left", 2, true, fnLeft},
    {"rp_right", 2, true, fnRight},
    {"replicate", 2, true, fnReplicate},
    {"space", 1, true, fnSpace},
    {"getdate", 0, false, fnGetDate},
    {"year", 1, true, fnYear},
    {"month", 1, true, fnMonth},
    {"day", 1, true, fnDay},
    {"datepart", 2, true, fnDatePart},
    {"dateadd", 3, true, fnDateAdd},
    {"datediff", 3, true, fnDateDiff},
    {"rp_add", 2, true, fnAdd},
    {"rp_to_text", 1, true, fnToText},
    {"rp_to_text", 2, true, fnToText},
    {"rp_to_text", 3, true, fnToText},
    {"rp_to_datetime", 1, true, fnToDateTime},
    {"rp_to_datetime", 2, true, fnToDateTime},
    {"like", 2, true, fnLike},
    {"like", 3, true, fnLike},
};

} // namespace

int registerSqlServerFunctions(sqlite3* db) {
    int rc = sqlite3_create_collation(db, "MSSQL", SQLITE_UTF8, nullptr, mssqlCompare);
    if (rc != SQLITE_OK)
        return rc;
    for (const FunctionDef& f : kFunctions) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        rc = sqlite3_create_function(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

} // namespace rp::db
