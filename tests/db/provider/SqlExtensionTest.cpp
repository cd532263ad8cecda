#include "BaseTemporal.h"

#include <QProcess>
#include <QStandardPaths>
#include <sqlite3.h>

// The loadable module gives a plain sqlite3 handle the same functions and
// collation as the provider registers.
TEST(SqlExtension, LoadsIntoAPlainSqliteHandle) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    sqlite3_enable_load_extension(db, 1);
    char* error = nullptr;
    ASSERT_EQ(sqlite3_load_extension(db, RP_SQLEXT_PATH, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT 'ÑANDÚ ' = 'ñandú' COLLATE MSSQL, LEN('ab  '), "
                                 "CHARINDEX('b', 'ABC'), rp_to_text('2024-12-31 10:00:00', 103, "
                                 "30), 'Ab' LIKE '[a-c]B'",
                                 -1, &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 1);
    EXPECT_EQ(sqlite3_column_int(st, 1), 2);
    EXPECT_EQ(sqlite3_column_int(st, 2), 2);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)), "31/12/2024");
    EXPECT_EQ(sqlite3_column_int(st, 4), 1);
    sqlite3_finalize(st);
    sqlite3_close(db);
}

TEST(SqlExtension, CollationOrdersWithoutCaseAndTrailingBlanks) {
    rp::prueba::BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (C VARCHAR(10) COLLATE MSSQL)"));
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES ('b'), ('Á'), ('a  '), ('A'), ('ñ'), ('Ñ ')"));
    EXPECT_EQ(db.columna(QStringLiteral("SELECT DISTINCT C FROM T ORDER BY C")).size(), 4);
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE C = 'a'")),
              QStringLiteral("2"));
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE C = 'á'")),
              QStringLiteral("1"));
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE C = 'Ñ'")),
              QStringLiteral("2"));
}
