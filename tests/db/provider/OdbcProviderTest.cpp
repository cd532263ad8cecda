// The ODBC provider for real: unixODBC with Debian's SQLite3 ODBC driver on a
// database file in a temporary folder.

#include "OdbcTestSupport.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rp::db;
using namespace rp::db::testing;

namespace {

class OdbcSqlite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(QStringLiteral("empresa.db"));
        ASSERT_NO_THROW(provider.open(sqliteOdbcTarget(file), errors));
        ASSERT_TRUE(errors.isEmpty());
    }

    // Runs `sql` expecting a DbError; returns it.
    DbError failure(const QString& sql, const QVariantList& params = {}) {
        try {
            query(provider, sql, errors, params);
        } catch (const DbError& e) {
            return e;
        }
        ADD_FAILURE() << "no error from: " << sql.toStdString();
        return DbError(0, QString());
    }

    QTemporaryDir dir;
    QString file;
    OdbcProvider provider;
    QList<ProviderError> errors;
};

} // namespace

TEST_F(OdbcSqlite, ReportsTheDriverItTalksTo) {
    EXPECT_TRUE(provider.isOpen());
    EXPECT_EQ(provider.name(), "ODBC");
    EXPECT_EQ(provider.dbmsName(), "SQLite");
    EXPECT_TRUE(provider.driverName().contains("sqlite3odbc"));
    provider.close();
    EXPECT_FALSE(provider.isOpen());
}

TEST_F(OdbcSqlite, ColumnsCarryAdoTypeCodesAndSizes) {
    run(provider,
        "CREATE TABLE ARTICULOS (CODIGO VARCHAR(25), DESCRIPCION NVARCHAR(40), STOCK INTEGER, "
        "CHICO SMALLINT, GRANDE BIGINT, PRECIO DOUBLE, ALTA DATETIME, DIA DATE, ACTIVO BIT, "
        "NOTAS TEXT)",
        errors);
    run(provider,
        "INSERT INTO ARTICULOS VALUES ('A1', 'Tornillo', 12, 3, 9000000000, 10.25, "
        "'2024-12-31 10:11:12', '2024-02-29', 1, 'nota')",
        errors);
    const Result r = query(provider, "SELECT * FROM ARTICULOS", errors);
    ASSERT_EQ(r.fields.size(), 10);
    const int types[] = {adtype::VarChar, adtype::VarChar,    adtype::Integer,     adtype::SmallInt,
                         adtype::BigInt,  adtype::Double,     adtype::DBTimeStamp, adtype::DBDate,
                         adtype::Boolean, adtype::LongVarChar};
    const int sizes[] = {25, 40, 4, 2, 8, 8, 16, 6, 2};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(r.fields[i].type, types[i]) << r.fields[i].name.toStdString();
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(r.fields[i].definedSize, sizes[i]) << r.fields[i].name.toStdString();
    EXPECT_EQ(r.fields[0].name, "CODIGO");
    EXPECT_EQ(r.rowsAffected, -1);

    ASSERT_EQ(r.rows.size(), 1);
    const QVariantList& row = r.rows[0];
    EXPECT_EQ(row[0].typeId(), QMetaType::QString);
    EXPECT_EQ(row[0].toString(), "A1");
    EXPECT_EQ(row[2].typeId(), QMetaType::LongLong);
    EXPECT_EQ(row[2].toLongLong(), 12);
    EXPECT_EQ(row[4].toLongLong(), 9000000000LL);
    EXPECT_EQ(row[5].typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(row[5].toDouble(), 10.25);
    EXPECT_EQ(row[6].toDateTime(), QDateTime(QDate(2024, 12, 31), QTime(10, 11, 12)));
    EXPECT_EQ(row[7].toDateTime(), QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
    EXPECT_EQ(row[8].toLongLong(), 1);
    EXPECT_EQ(row[9].toString(), "nota");
}

TEST_F(OdbcSqlite, NullsComeBackAsNullInEveryType) {
    run(provider,
        "CREATE TABLE T (A VARCHAR(10), B INTEGER, C DOUBLE, D DATETIME, E DATE, F BIT, G TEXT, "
        "H BLOB, I NUMERIC(10,2))",
        errors);
    run(provider, "INSERT INTO T (A) VALUES (NULL)", errors);
    const Result r = query(provider, "SELECT * FROM T", errors);
    ASSERT_EQ(r.rows.size(), 1);
    for (const QVariant& v : r.rows[0])
        EXPECT_TRUE(v.isNull());
    // An empty text is not a null.
    run(provider, "UPDATE T SET A = ''", errors);
    const QVariant a = query(provider, "SELECT A FROM T", errors).rows[0][0];
    EXPECT_FALSE(a.isNull());
    EXPECT_EQ(a.toString(), "");
}

TEST_F(OdbcSqlite, UnicodeRoundTripsThroughStatementsParametersAndNames) {
    const QString text = QString::fromUtf8("Ñandú €uro ʼ ＇ 𝄞 日本");
    run(provider, QString::fromUtf8("CREATE TABLE \"AÑOS\" (\"DESCRIPCIÓN\" VARCHAR(40))"), errors);
    run(provider, QString::fromUtf8("INSERT INTO \"AÑOS\" VALUES ('%1')").arg(text), errors);
    run(provider, QString::fromUtf8("INSERT INTO \"AÑOS\" VALUES (?)"), errors, {text + "!"});
    const Result r =
        query(provider, QString::fromUtf8("SELECT * FROM \"AÑOS\" ORDER BY 1"), errors);
    EXPECT_EQ(r.fields[0].name, QString::fromUtf8("DESCRIPCIÓN"));
    ASSERT_EQ(r.rows.size(), 2);
    EXPECT_EQ(r.rows[0][0].toString(), text);
    EXPECT_EQ(r.rows[1][0].toString(), text + "!");
    // Found by a literal and by a parameter.
    EXPECT_EQ(query(provider,
                    QString::fromUtf8("SELECT COUNT(*) FROM \"AÑOS\" WHERE \"DESCRIPCIÓN\" = '%1'")
                        .arg(text),
                    errors)
                  .rows[0][0]
                  .toLongLong(),
              1);
    EXPECT_EQ(query(provider,
                    QString::fromUtf8("SELECT COUNT(*) FROM \"AÑOS\" WHERE \"DESCRIPCIÓN\" = ?"),
                    errors, {text})
                  .rows[0][0]
                  .toLongLong(),
              1);
}

TEST_F(OdbcSqlite, DatabaseFileWithBracesBlanksAndAccentsInItsPath) {
    const QString odd = dir.filePath(QString::fromUtf8("año {x}.db"));
    OdbcProvider other;
    ASSERT_NO_THROW(other.open(sqliteOdbcTarget(odd), errors));
    run(other, "CREATE TABLE X (A INTEGER)", errors);
    other.close();
    EXPECT_TRUE(QFile::exists(odd));
}

TEST_F(OdbcSqlite, ParametersBindEveryValueKind) {
    run(provider,
        "CREATE TABLE P (I INTEGER, L BIGINT, D DOUBLE, B BIT, T VARCHAR(50), F DATETIME, "
        "G DATE, N VARCHAR(5), X BLOB)",
        errors);
    const QDateTime when(QDate(2023, 7, 1), QTime(23, 59, 58, 500));
    const QByteArray blob("\x00\x01\xff", 3);
    EXPECT_EQ(run(provider, "INSERT INTO P VALUES (?,?,?,?,?,?,?,?,?)", errors,
                  {42, qint64(1) << 40, 2.5, true, QStringLiteral("O'Brien"), when,
                   QDate(2020, 1, 2), QVariant(), blob}),
              1);
    const Result r = query(provider, "SELECT * FROM P WHERE I = ? AND T = ?", errors,
                           {42, QStringLiteral("O'Brien")});
    ASSERT_EQ(r.rows.size(), 1);
    const QVariantList& row = r.rows[0];
    EXPECT_EQ(row[0].toLongLong(), 42);
    EXPECT_EQ(row[1].toLongLong(), qint64(1) << 40);
    EXPECT_DOUBLE_EQ(row[2].toDouble(), 2.5);
    EXPECT_EQ(row[3].toLongLong(), 1);
    EXPECT_EQ(row[4].toString(), "O'Brien");
    EXPECT_EQ(row[5].toDateTime(), when);
    EXPECT_EQ(row[6].toDateTime().date(), QDate(2020, 1, 2));
    EXPECT_TRUE(row[7].isNull());
    EXPECT_EQ(row[8].toByteArray(), blob);
}

TEST_F(OdbcSqlite, RowCountsOfChangingStatements) {
    run(provider, "CREATE TABLE R (K INTEGER, V VARCHAR(5))", errors);
    EXPECT_EQ(run(provider, "INSERT INTO R VALUES (1,'a'),(2,'b'),(3,'c')", errors), 3);
    EXPECT_EQ(run(provider, "UPDATE R SET V = 'z' WHERE K >= 2", errors), 2);
    EXPECT_EQ(run(provider, "UPDATE R SET V = 'z' WHERE K > 99", errors), 0);
    EXPECT_EQ(run(provider, "DELETE FROM R WHERE K = 1", errors), 1);
    EXPECT_EQ(query(provider, "SELECT * FROM R", errors).rowsAffected, -1);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(OdbcSqlite, FailuresLeaveTheirDiagnosticsOnTheList) {
    run(provider, "CREATE TABLE U (K INTEGER PRIMARY KEY, V VARCHAR(5) NOT NULL)", errors);
    run(provider, "INSERT INTO U VALUES (1, 'a')", errors);

    DbError syntax = failure("SELEC nada");
    EXPECT_EQ(syntax.number(), errc::SyntaxError);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].number, errc::SyntaxError);
    EXPECT_EQ(errors[0].sqlState, "HY000");
    EXPECT_EQ(errors[0].nativeError, 1);
    EXPECT_TRUE(errors[0].description.contains("syntax error"));
    EXPECT_EQ(errors[0].source, "ODBC");
    EXPECT_EQ(syntax.description(), errors[0].description);

    // The list keeps growing until a caller clears it.
    EXPECT_EQ(failure("SELECT * FROM NO_EXISTE").number(), errc::ObjectNotFound);
    EXPECT_EQ(failure("INSERT INTO U VALUES (1, 'b')").number(), errc::IntegrityViolation);
    EXPECT_EQ(failure("INSERT INTO U VALUES (2, NULL)").number(), errc::IntegrityViolation);
    EXPECT_EQ(failure("SELECT NADA FROM U").number(), errc::SyntaxError);
    ASSERT_EQ(errors.size(), 5);
    EXPECT_EQ(errors[4].sqlState, "HY000");
    EXPECT_EQ(errors[2].nativeError & 0xff, 19);
    // A failed statement did not break the connection.
    EXPECT_TRUE(provider.isOpen());
    EXPECT_EQ(query(provider, "SELECT COUNT(*) FROM U", errors).rows[0][0].toLongLong(), 1);
    // A wrong parameter count is reported, not a crash.
    EXPECT_NE(failure("SELECT * FROM U WHERE K = ? AND V = ?", {1}).number(), 0);
}

TEST_F(OdbcSqlite, TransactionsCommitAndRollBack) {
    run(provider, "CREATE TABLE M (K INTEGER)", errors);
    provider.beginTrans(errors);
    EXPECT_TRUE(provider.inTransaction());
    run(provider, "INSERT INTO M VALUES (1)", errors);
    provider.rollbackTrans(errors);
    EXPECT_EQ(query(provider, "SELECT COUNT(*) FROM M", errors).rows[0][0].toLongLong(), 0);

    provider.beginTrans(errors);
    run(provider, "INSERT INTO M VALUES (2)", errors);
    provider.commitTrans(errors);
    EXPECT_FALSE(provider.inTransaction());
    // Other connections see committed rows only.
    OdbcProvider other;
    other.open(sqliteOdbcTarget(file), errors);
    EXPECT_EQ(query(other, "SELECT COUNT(*) FROM M", errors).rows[0][0].toLongLong(), 1);
    other.close();

    // Back in auto-commit: a row inserted now is seen by a new connection.
    run(provider, "INSERT INTO M VALUES (3)", errors);
    other.open(sqliteOdbcTarget(file), errors);
    EXPECT_EQ(query(other, "SELECT COUNT(*) FROM M", errors).rows[0][0].toLongLong(), 2);
    other.close();
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(OdbcSqlite, TransactionMisuseIsReported) {
    EXPECT_THROW(provider.commitTrans(errors), DbError);
    EXPECT_THROW(provider.rollbackTrans(errors), DbError);
    provider.beginTrans(errors);
    EXPECT_THROW(provider.beginTrans(errors), DbError);
    EXPECT_EQ(errors.size(), 3);
    // Closing with a transaction open rolls it back.
    run(provider, "CREATE TABLE M (K INTEGER)", errors);
    provider.commitTrans(errors);
    provider.beginTrans(errors);
    run(provider, "INSERT INTO M VALUES (1)", errors);
    provider.close();
    provider.open(sqliteOdbcTarget(file), errors);
    EXPECT_FALSE(provider.inTransaction());
    EXPECT_EQ(query(provider, "SELECT COUNT(*) FROM M", errors).rows[0][0].toLongLong(), 0);
}

TEST_F(OdbcSqlite, SchemaCatalogueOfTablesViewsAndColumns) {
    run(provider, "CREATE TABLE TA_USUARIOS (NOMBRE VARCHAR(20), ADMINISTRADOR INTEGER)", errors);
    run(provider, "CREATE TABLE TAXUSUARIOS (OTRA VARCHAR(5))", errors);
    run(provider, "CREATE VIEW V_USUARIOS AS SELECT NOMBRE FROM TA_USUARIOS", errors);

    std::unique_ptr<Cursor> tables = provider.schemaTables(errors);
    ASSERT_EQ(tables->fields().size(), 4);
    EXPECT_EQ(tables->fields()[2].name, "TABLE_NAME");
    EXPECT_EQ(tables->fields()[3].name, "TABLE_TYPE");
    QMap<QString, QString> found;
    while (tables->fetch())
        found.insert(tables->value(2).toString(), tables->value(3).toString());
    EXPECT_EQ(found.value("TA_USUARIOS"), "TABLE");
    EXPECT_EQ(found.value("TAXUSUARIOS"), "TABLE");
    EXPECT_EQ(found.value("V_USUARIOS"), "VIEW");

    // Table names match without regard to case; "_" is no wildcard.
    std::unique_ptr<Cursor> cols = provider.schemaColumns(QString(), "ta_usuarios", errors);
    ASSERT_EQ(cols->fields().size(), 6);
    EXPECT_EQ(cols->fields()[3].name, "COLUMN_NAME");
    EXPECT_EQ(cols->fields()[4].name, "DATA_TYPE");
    EXPECT_EQ(cols->fields()[5].name, "CHARACTER_MAXIMUM_LENGTH");
    QList<QVariantList> rows;
    while (cols->fetch())
        rows.append({cols->value(2), cols->value(3), cols->value(4), cols->value(5)});
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].toString(), "TA_USUARIOS");
    EXPECT_EQ(rows[0][1].toString(), "NOMBRE");
    EXPECT_EQ(rows[0][2].toInt(), adtype::VarChar);
    EXPECT_EQ(rows[0][3].toInt(), 20);
    EXPECT_EQ(rows[1][1].toString(), "ADMINISTRADOR");
    EXPECT_EQ(rows[1][2].toInt(), adtype::Integer);
    EXPECT_TRUE(rows[1][3].isNull());

    // A view's columns; an unknown table has none; no restriction lists all.
    std::unique_ptr<Cursor> view = provider.schemaColumns("EMPRESA", "v_usuarios", errors);
    ASSERT_TRUE(view->fetch());
    EXPECT_EQ(view->value(3).toString(), "NOMBRE");
    EXPECT_FALSE(provider.schemaColumns(QString(), "NO_EXISTE", errors)->fetch());
    int all = 0;
    std::unique_ptr<Cursor> every = provider.schemaColumns(QString(), QString(), errors);
    while (every->fetch())
        ++all;
    EXPECT_EQ(all, 4);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(OdbcSqlite, LongTextsArriveWhole) {
    run(provider, "CREATE TABLE L (V TEXT)", errors);
    // Multi-byte characters across every chunk boundary.
    QString text;
    for (int i = 0; i < 30000; ++i)
        text += (i % 3 == 0) ? QString::fromUtf8("ñ")
                             : (i % 3 == 1 ? QStringLiteral("a") : QString::fromUtf8("𝄞"));
    run(provider, "INSERT INTO L VALUES (?)", errors, {text});
    const Result r = query(provider, "SELECT V, LENGTH(V) FROM L", errors);
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(r.rows[0][0].toString().size(), text.size());
    EXPECT_EQ(r.rows[0][0].toString(), text);
    EXPECT_EQ(r.rows[0][1].toLongLong(), 30000);
}

TEST_F(OdbcSqlite, CursorsStreamSideBySide) {
    run(provider, "CREATE TABLE S (K INTEGER)", errors);
    provider.beginTrans(errors);
    for (int i = 0; i < 500; ++i)
        run(provider, "INSERT INTO S VALUES (?)", errors, {i});
    provider.commitTrans(errors);
    qint64 n = 0;
    std::unique_ptr<Cursor> a = provider.execute("SELECT K FROM S ORDER BY K", {}, n, errors);
    std::unique_ptr<Cursor> b = provider.execute("SELECT K FROM S ORDER BY K DESC", {}, n, errors);
    int rows = 0;
    while (a->fetch()) {
        ASSERT_TRUE(b->fetch());
        EXPECT_EQ(a->value(0).toLongLong() + b->value(0).toLongLong(), 499);
        ++rows;
    }
    EXPECT_EQ(rows, 500);
    EXPECT_FALSE(b->fetch());
    EXPECT_FALSE(a->fetch()); // stays at the end
}

TEST_F(OdbcSqlite, CursorLeftOpenWhenTheConnectionCloses) {
    run(provider, "CREATE TABLE S (K INTEGER)", errors);
    run(provider, "INSERT INTO S VALUES (1),(2)", errors);
    qint64 n = 0;
    std::unique_ptr<Cursor> c = provider.execute("SELECT K FROM S", {}, n, errors);
    ASSERT_TRUE(c->fetch());
    provider.close();
    try {
        c->fetch();
        ADD_FAILURE() << "fetch after close";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::NotAllowedClosed);
    }
    // The cursor may even outlive the provider.
    auto owner = std::make_unique<OdbcProvider>();
    owner->open(sqliteOdbcTarget(file), errors);
    std::unique_ptr<Cursor> d = owner->execute("SELECT K FROM S", {}, n, errors);
    owner.reset();
    EXPECT_THROW(d->fetch(), DbError);
}

TEST_F(OdbcSqlite, ClosedOrUnopenableConnections) {
    provider.close();
    try {
        run(provider, "SELECT 1", errors);
        ADD_FAILURE() << "statement on a closed connection";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::NotAllowedClosed);
    }
    EXPECT_THROW(provider.beginTrans(errors), DbError);

    OdbcProvider bad;
    try {
        bad.open("DRIVER={No Such Driver 9};DATABASE=x;", errors);
        ADD_FAILURE() << "opened an unknown driver";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), errc::Unspecified);
    }
    ASSERT_FALSE(errors.isEmpty());
    // unixODBC reports a driver it cannot load as 01000 "Can't open lib".
    EXPECT_TRUE(errors.first().description.contains("No Such Driver 9"))
        << errors.first().description.toStdString();
    EXPECT_EQ(errors.first().sqlState.size(), 5);
    EXPECT_FALSE(bad.isOpen());
    // The same object opens fine afterwards.
    errors.clear();
    ASSERT_NO_THROW(bad.open(sqliteOdbcTarget(file), errors));
    EXPECT_EQ(query(bad, "SELECT 7", errors).rows[0][0].toLongLong(), 7);
}

TEST_F(OdbcSqlite, DefaultDatabaseWithoutCatalogues) {
    EXPECT_NO_THROW(provider.setDefaultDatabase("EMPRESA", errors));
    EXPECT_EQ(provider.defaultDatabase(), "EMPRESA");
    EXPECT_TRUE(errors.isEmpty());
    provider.setCommandTimeout(1);
    EXPECT_EQ(provider.commandTimeout(), 1);
    EXPECT_EQ(query(provider, "SELECT 1", errors).rows.size(), 1);
}

TEST_F(OdbcSqlite, SqlServerDialectRunsThroughTheSqliteDriver) {
    if (!sqliteFunctionsAvailable())
        GTEST_SKIP() << "the SQL Server function module (rpsqlext) was not built";
    provider.close();
    provider.open(sqliteOdbcTarget(file, true), errors);
    run(provider, "CREATE TABLE ARTICULOS (CODIGO VARCHAR(25), DESCRIPCION VARCHAR(40))", errors);
    run(provider, "INSERT INTO ARTICULOS VALUES ('   1', 'uno'), ('   2', 'dos'), ('   3', 'tres')",
        errors);
    const QString sql = QStringLiteral(
        "SELECT TOP 2 CODIGO, ISNULL(DESCRIPCION, '') AS D FROM dbo.ARTICULOS with(nolock) "
        "WHERE DESCRIPCION <> 'DOS  ' ORDER BY CODIGO");
    EXPECT_NE(provider.rewrite(sql), sql);
    const Result r = query(provider, provider.rewrite(sql), errors);
    ASSERT_EQ(r.rows.size(), 2);
    EXPECT_EQ(r.rows[0][0].toString(), "   1");
    EXPECT_EQ(r.rows[1][1].toString(), "tres");
}

TEST_F(OdbcSqlite, OneActiveStatementDriversGetPendingRowsReadFirst) {
    run(provider, "CREATE TABLE S (K INTEGER)", errors);
    run(provider, "INSERT INTO S VALUES (1),(2),(3)", errors);
    provider.setSingleActiveStatement(true);
    EXPECT_TRUE(provider.singleActiveStatement());
    qint64 n = 0;
    std::unique_ptr<Cursor> a = provider.execute("SELECT K FROM S ORDER BY K", {}, n, errors);
    ASSERT_TRUE(a->fetch());
    EXPECT_EQ(a->value(0).toLongLong(), 1);
    // A second statement while rows are pending: they are kept, in order.
    EXPECT_EQ(run(provider, "DELETE FROM S", errors), 3);
    QList<qint64> rest;
    while (a->fetch())
        rest << a->value(0).toLongLong();
    EXPECT_EQ(rest, QList<qint64>({2, 3}));
    // The drained cursor no longer needs the connection.
    provider.close();
    EXPECT_FALSE(a->fetch());
}
