// Texts that break statements built by pasting must survive the ODBC provider
// unchanged: bound as parameters, and written as literals with their
// apostrophes doubled. Through the SQLite3 ODBC driver and, when it runs, the
// local PostgreSQL server.

#include "OdbcTestSupport.h"
#include "TextosHostiles.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rp::db;
using namespace rp::db::testing;

namespace {

QString literal(QString v) {
    v.replace(QLatin1String("'"), QLatin1String("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

// Runs the whole table on `p`, whose table T (ID INT, V TEXT) is empty.
void roundTrip(ProviderConnection& p, QList<ProviderError>& errors, bool rewrite) {
    const QStringList values = rp::prueba::textosHostiles();
    auto sent = [&](const QString& sql) { return rewrite ? p.rewrite(sql) : sql; };
    for (int i = 0; i < values.size(); ++i) {
        run(p, sent(QStringLiteral("INSERT INTO T (ID, V) VALUES (?, ?)")), errors, {i, values[i]});
        run(p,
            sent(QStringLiteral("INSERT INTO T (ID, V) VALUES (%1, %2)")
                     .arg(100 + i)
                     .arg(literal(values[i]))),
            errors);
    }
    const Result all = query(p, sent(QStringLiteral("SELECT ID, V FROM T ORDER BY ID")), errors);
    ASSERT_EQ(all.rows.size(), 2 * values.size());
    for (const QVariantList& row : all.rows) {
        const int i = row[0].toInt() % 100;
        EXPECT_FALSE(row[1].isNull()) << i;
        EXPECT_EQ(row[1].toString(), values[i]) << "case " << i << " id " << row[0].toInt();
    }
    for (int i = 0; i < values.size(); ++i) {
        EXPECT_EQ(query(p, sent(QStringLiteral("SELECT COUNT(*) FROM T WHERE V = ?")), errors,
                        {values[i]})
                      .rows[0][0]
                      .toLongLong(),
                  2)
            << "bound comparison, case " << i;
        EXPECT_EQ(
            query(
                p,
                sent(QStringLiteral("SELECT COUNT(*) FROM T WHERE V = %1").arg(literal(values[i]))),
                errors)
                .rows[0][0]
                .toLongLong(),
            2)
            << "literal comparison, case " << i;
    }
    EXPECT_TRUE(errors.isEmpty());
}

} // namespace

TEST(OdbcRoundTrip, HostileTextsThroughTheSqliteDriver) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    OdbcProvider p;
    QList<ProviderError> errors;
    p.open(sqliteOdbcTarget(dir.filePath("t.db")), errors);
    run(p, "CREATE TABLE T (ID INTEGER, V TEXT)", errors);
    roundTrip(p, errors, false);
}

TEST(OdbcRoundTrip, HostileTextsThroughTheDialectRewrite) {
    if (!sqliteFunctionsAvailable())
        GTEST_SKIP() << "the SQL Server function module (rpsqlext) was not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    OdbcProvider p;
    QList<ProviderError> errors;
    p.open(sqliteOdbcTarget(dir.filePath("t.db"), true), errors);
    run(p, "CREATE TABLE T (ID INTEGER, V TEXT)", errors);
    roundTrip(p, errors, true);
}

TEST(OdbcRoundTrip, HostileTextsThroughPostgreSql) {
    OdbcProvider p;
    QList<ProviderError> errors;
    try {
        p.open(postgresTarget(), errors);
    } catch (const DbError& e) {
        if (runningUnderCi())
            FAIL() << "PostgreSQL is not reachable under CI: " << e.description().toStdString();
        GTEST_SKIP() << "PostgreSQL is not reachable (run scripts/pg-start.sh): "
                     << e.description().toStdString();
    }
    run(p, "CREATE TEMPORARY TABLE T (ID INTEGER, V TEXT)", errors);
    roundTrip(p, errors, false);
}
