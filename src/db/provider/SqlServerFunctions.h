#pragma once

// SQL Server functions and the MSSQL collation for SQLite. Plain C++ on the
// sqlite3 API (no Qt), so the same code serves the embedded provider and the
// loadable extension module rpsqlext.
//
// Registered on a database handle:
//  - collation MSSQL: case-insensitive (Unicode letters of Western European
//    languages, Greek and Cyrillic: a = A, á = Á, ñ = Ñ; accents still count)
//    and blind to trailing blanks, as SQL Server's default collation compares;
//  - functions (SQL Server semantics on SQLite values; datetimes are ISO text
//    "YYYY-MM-DD HH:MM:SS"): ISNULL(a,b), LEN(s), CHARINDEX(find, s[, start]),
//    SUBSTRING(s, start, length), UPPER(s), LOWER(s), RP_LEFT(s,n), RP_RIGHT(s,n),
//    REPLICATE(s,n), SPACE(n), GETDATE(), YEAR/MONTH/DAY(d),
//    DATEADD(part, n, d), DATEDIFF(part, a, b), DATEPART(part, d),
//    RP_ADD(a,b) (SQL Server '+': text + text concatenates, otherwise adds),
//    RP_TO_TEXT(value, style, length) (CONVERT to varchar with a style),
//    RP_TO_DATETIME(value, style) (CONVERT / CAST to datetime),
//    LIKE(pattern, text[, escape]) (case-insensitive LIKE with SQL Server's
//    [set] and [^set] classes, blind to trailing blanks of the text).
//    Date parts are written as text: 'day', 'dd', 'month', 'yy', 'hour', ...

struct sqlite3;

namespace rp::db {

// Returns SQLITE_OK or the first registration error.
int registerSqlServerFunctions(sqlite3* db);

} // namespace rp::db
