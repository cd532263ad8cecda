#include "db/provider/SqlServerFunctions.h"

#include "db/provider/SqlServerDates.h"
#include "db/provider/SqlServerText.h"

#ifdef RP_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

#include <cmath>
#include <cstring>
#include <ctime>
#include <string>

namespace rp::db {

namespace {

using namespace mssql;

int mssqlCompare(void*, int n1, const void* p1, int n2, const void* p2) {
    return compareUtf8(n1, p1, n2, p2);
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

Part datePart(sqlite3_value* v) {
    return parseDatePart(sqlite3_value_text(v));
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
