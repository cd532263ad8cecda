#include "BaseTemporal.h"

#include "db/provider/Recordset.h"

#include <QDateTime>
#include <QFile>

using namespace rp::db;
using rp::prueba::BaseTemporal;

namespace {

DbError expectDbError(const std::function<void()>& f) {
    try {
        f();
    } catch (const DbError& e) {
        return e;
    }
    ADD_FAILURE() << "no DbError raised";
    return DbError(0, QString());
}

} // namespace

TEST(SqliteProvider, MissingFileFailsLikeAMissingDatabase) {
    QTemporaryDir dir;
    Connection c;
    const QString path = dir.filePath(QStringLiteral("NOEXISTE.db"));
    const DbError e = expectDbError([&] { c.openWith(std::make_unique<SqliteProvider>(), path); });
    EXPECT_EQ(e.number(), errc::Unspecified);
    ASSERT_EQ(c.errors().size(), 1);
    EXPECT_EQ(c.errors()[0].sqlState, QStringLiteral("08004"));
    EXPECT_FALSE(c.isOpen());
    EXPECT_FALSE(QFile::exists(path)); // nothing created behind the caller's back
}

TEST(SqliteProvider, FileThatIsNoDatabaseFailsAtOpen) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texto.db"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    Connection c;
    expectDbError([&] { c.openWith(std::make_unique<SqliteProvider>(), path); });
    EXPECT_FALSE(c.isOpen());
    EXPECT_FALSE(c.errors().isEmpty());
}

TEST(SqliteProvider, OpenThroughConnectionStringLayout) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("EMPRESA.db"));
    ASSERT_TRUE(SqliteProvider::createDatabaseFile(path));
    Connection c;
    c.open(QStringLiteral("PROVIDER=SQLOLEDB;Server=SQLite;Database =") + path +
           QStringLiteral(";UId=operador;Pwd=;"));
    EXPECT_TRUE(c.isOpen());
    EXPECT_EQ(c.providerName(), QStringLiteral("SQLite"));
    auto cur = c.execute(QStringLiteral("PRAGMA journal_mode"));
    ASSERT_TRUE(cur && cur->fetch());
    EXPECT_EQ(cur->value(0).toString().toUpper(), QStringLiteral("WAL"));
}

TEST(SqliteProvider, StateErrorsOfTheFacade) {
    BaseTemporal db;
    EXPECT_EQ(expectDbError([&] {
                  db.conexion.openWith(std::make_unique<SqliteProvider>(), db.ruta);
              }).number(),
              errc::NotAllowedOpen);
    db.conexion.close();
    EXPECT_EQ(expectDbError([&] { db.conexion.close(); }).number(), errc::NotAllowedClosed);
    EXPECT_EQ(expectDbError([&] { db.conexion.execute(QStringLiteral("SELECT 1")); }).number(),
              errc::ConnectionClosed);
}

TEST(SqliteProvider, TypesSizesAndValues) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral(
        "CREATE TABLE T (C VARCHAR(25) COLLATE MSSQL, K CHAR(4) COLLATE MSSQL, N INT, "
        "B BIGINT, F FLOAT, M MONEY, D DECIMAL(18,4), H DATETIME, X TEXT, S SMALLINT, "
        "W NVARCHAR(40), Z BIT)"));
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES ('abc', '   1', 7, 5000000000, 1.5, 12, 3.25, "
                               "'2024-12-31 10:20:30', 'long', 2, 'ñandú', 1)"));
    db.ejecutar(QStringLiteral("INSERT INTO T (C) VALUES (NULL)"));
    auto c = db.conexion.execute(QStringLiteral("SELECT * FROM T"));
    ASSERT_TRUE(c);
    const QList<Field>& f = c->fields();
    ASSERT_EQ(f.size(), 12);
    const int types[] = {200, 129, 3, 20, 5, 6, 131, 135, 201, 2, 202, 11};
    const int sizes[] = {25, 4, 4, 8, 8, 8, 19, 16, 2147483647, 2, 40, 2};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(f[i].type, types[i]) << f[i].name.toStdString();
        EXPECT_EQ(f[i].definedSize, sizes[i]) << f[i].name.toStdString();
    }
    ASSERT_TRUE(c->fetch());
    EXPECT_EQ(c->value(0), QVariant(QStringLiteral("abc")));
    EXPECT_EQ(c->value(1).toString(), QStringLiteral("   1"));
    EXPECT_EQ(c->value(2).typeId(), QMetaType::LongLong);
    EXPECT_EQ(c->value(3).toLongLong(), 5000000000LL);
    EXPECT_EQ(c->value(5).typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(c->value(6).toDouble(), 3.25);
    EXPECT_EQ(c->value(7).toDateTime(), QDateTime(QDate(2024, 12, 31), QTime(10, 20, 30)));
    EXPECT_EQ(c->value(10).toString(), QStringLiteral("ñandú"));
    ASSERT_TRUE(c->fetch());
    EXPECT_TRUE(c->value(0).isNull());
    EXPECT_TRUE(c->value(7).isNull());
    EXPECT_FALSE(c->fetch());
}

TEST(SqliteProvider, ExpressionColumnsTakeTheirTypeFromTheFirstRow) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (H DATETIME, N INT)"));
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES ('2024-01-02 03:04:05', 4)"));
    auto c = db.conexion.execute(
        QStringLiteral("SELECT MAX(H) AS MAYOR, COUNT(*) AS N, SUM(N) * 1.5 AS R FROM T"));
    ASSERT_TRUE(c && c->fetch());
    EXPECT_EQ(c->fields()[0].type, adtype::DBTimeStamp);
    EXPECT_EQ(c->value(0).toDateTime(), QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(c->fields()[1].type, adtype::Integer);
    EXPECT_EQ(c->fields()[2].type, adtype::Double);
}

TEST(SqliteProvider, ErrorsCarrySqlStatesAndNativeCodes) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (ID INT PRIMARY KEY, C VARCHAR(5) NOT NULL)"));
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES (1, 'a')"));
    struct Case {
        const char* sql;
        qint32 number;
        const char* state;
    } cases[] = {
        {"SELECT * FROM NOEXISTE", errc::ObjectNotFound, "42S02"},
        {"SELEC * FROM T", errc::SyntaxError, "42000"},
        {"SELECT NOCOL FROM T", errc::SyntaxError, "42S22"},
        {"INSERT INTO T VALUES (1, 'b')", errc::IntegrityViolation, "23000"},
        {"INSERT INTO T (ID) VALUES (2)", errc::IntegrityViolation, "23000"},
    };
    for (const Case& k : cases) {
        db.conexion.clearErrors();
        const DbError e = expectDbError([&] { db.conexion.execute(QString::fromUtf8(k.sql)); });
        EXPECT_EQ(e.number(), k.number) << k.sql;
        ASSERT_EQ(db.conexion.errors().size(), 1) << k.sql;
        const ProviderError& pe = db.conexion.errors()[0];
        EXPECT_EQ(pe.number, k.number) << k.sql;
        EXPECT_EQ(pe.sqlState, QString::fromLatin1(k.state)) << k.sql;
        EXPECT_NE(pe.nativeError, 0) << k.sql;
        EXPECT_FALSE(pe.description.isEmpty());
        EXPECT_EQ(pe.source, QStringLiteral("SQLite"));
    }
    // The list stays until a caller clears it.
    db.conexion.clearErrors();
    expectDbError([&] { db.conexion.execute(QStringLiteral("SELECT * FROM NOEXISTE")); });
    expectDbError([&] { db.conexion.execute(QStringLiteral("SELECT * FROM NOEXISTE")); });
    EXPECT_EQ(db.conexion.errors().size(), 2);
}

TEST(SqliteProvider, RowsAffected) {
    BaseTemporal db;
    qint64 n = 99;
    db.conexion.execute(QStringLiteral("CREATE TABLE T (A INT)"), &n);
    EXPECT_EQ(n, -1);
    db.conexion.execute(QStringLiteral("INSERT INTO T VALUES (1); INSERT INTO T VALUES (2);"
                                       "INSERT INTO T VALUES (3)"),
                        &n);
    EXPECT_EQ(n, 3);
    db.conexion.execute(QStringLiteral("UPDATE T SET A = A + 10 WHERE A >= 2"), &n);
    EXPECT_EQ(n, 2);
    db.conexion.execute(QStringLiteral("DELETE FROM T WHERE A = 99"), &n);
    EXPECT_EQ(n, 0);
}

TEST(SqliteProvider, TransactionsRollBackAndNest) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (A INT)"));
    db.conexion.beginTrans();
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES (1)"));
    db.conexion.rollbackTrans();
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM T")), QStringLiteral("0"));

    db.conexion.beginTrans();
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES (1)"));
    db.conexion.beginTrans();
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES (2)"));
    db.conexion.rollbackTrans();
    db.conexion.commitTrans();
    EXPECT_EQ(db.columna(QStringLiteral("SELECT A FROM T")), QStringList{QStringLiteral("1")});

    // A failed statement inside a transaction leaves the earlier work to the caller.
    db.conexion.beginTrans();
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES (5)"));
    expectDbError([&] { db.conexion.execute(QStringLiteral("INSERT INTO NOEXISTE VALUES (1)")); });
    db.conexion.rollbackTrans();
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM T")), QStringLiteral("1"));
}

TEST(SqliteProvider, CommandTimeoutInterruptsALongQuery) {
    BaseTemporal db;
    db.conexion.setCommandTimeout(1);
    const DbError e = expectDbError([&] {
        auto c = db.conexion.execute(
            QStringLiteral("WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r) "
                           "SELECT COUNT(*) FROM r"));
        while (c && c->fetch()) {
        }
    });
    EXPECT_EQ(e.number(), errc::Timeout);
    ASSERT_FALSE(db.conexion.errors().isEmpty());
    EXPECT_EQ(db.conexion.errors().last().sqlState, QStringLiteral("HYT00"));
    // The connection stays usable.
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT 1")), QStringLiteral("1"));
}

TEST(SqliteProvider, SchemaListsTablesViewsAndColumns) {
    BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE TA_USUARIOS (NOMBRE VARCHAR(30), ADMINISTRADOR INT)"));
    db.ejecutar(QStringLiteral("CREATE VIEW V_USUARIOS AS SELECT NOMBRE FROM TA_USUARIOS"));
    auto t = db.conexion.openSchemaTables();
    QStringList tables;
    while (t->fetch())
        tables.append(t->value(2).toString() + u':' + t->value(3).toString());
    EXPECT_EQ(tables, (QStringList{QStringLiteral("TA_USUARIOS:TABLE"),
                                   QStringLiteral("V_USUARIOS:VIEW")}));
    EXPECT_EQ(t->fields()[2].name, QStringLiteral("TABLE_NAME"));

    auto c = db.conexion.openSchemaColumns(QString(), QStringLiteral("ta_usuarios"));
    QStringList cols;
    while (c->fetch())
        cols.append(c->value(3).toString() + u':' + c->value(4).toString() + u':' +
                    c->value(5).toString());
    EXPECT_EQ(cols,
              (QStringList{QStringLiteral("NOMBRE:200:30"), QStringLiteral("ADMINISTRADOR:3:")}));
    auto v = db.conexion.openSchemaColumns(QStringLiteral("EMPRESA"), QStringLiteral("V_USUARIOS"));
    ASSERT_TRUE(v->fetch());
    EXPECT_EQ(v->value(3).toString(), QStringLiteral("NOMBRE"));
    auto other =
        db.conexion.openSchemaColumns(QStringLiteral("OTRA"), QStringLiteral("TA_USUARIOS"));
    EXPECT_FALSE(other->fetch());
}

TEST(SqliteProvider, CursorOutlivingItsConnectionFailsCleanly) {
    auto db = std::make_unique<BaseTemporal>();
    db->ejecutar(QStringLiteral("CREATE TABLE T (A INT)"));
    db->ejecutar(QStringLiteral("INSERT INTO T VALUES (1), (2)"));
    auto c = db->conexion.execute(QStringLiteral("SELECT A FROM T"));
    ASSERT_TRUE(c->fetch());
    db->conexion.close();
    EXPECT_THROW(c->fetch(), DbError);
}

// The same statement run again and again is rewritten and prepared once; what
// it does stays right through a failure, a schema change (a column that now
// holds dates is rewritten as one), an open transaction and a reopening.
TEST(SqliteProvider, RepeatedStatementsStayRightWhenReused) {
    BaseTemporal db;
    db.ejecutar(
        QStringLiteral("CREATE TABLE T (Codigo VARCHAR(4) PRIMARY KEY, Valor INT, Fecha TEXT)"));
    const QString inserta = QStringLiteral("INSERT INTO T (Codigo, Valor) VALUES (?, ?)");
    for (int i = 1; i <= 50; ++i)
        db.ejecutar(inserta, {QString::number(i), i});
    qint64 filas = 0;
    try {
        db.conexion.execute(inserta, &filas, {QStringLiteral("7"), 0});
        ADD_FAILURE() << "duplicate key accepted";
    } catch (const DbError&) {
        db.conexion.clearErrors();
    }
    db.ejecutar(inserta, {QStringLiteral("51"), QVariant()});
    EXPECT_EQ(db.columna(QStringLiteral("SELECT COUNT(*) FROM T")), QStringList{"51"});
    EXPECT_EQ(db.columna(QStringLiteral("SELECT Valor FROM T WHERE Codigo = '51'")),
              QStringList{"<null>"});

    const QString fecha = QStringLiteral("UPDATE T SET Fecha = '31/12/2024' WHERE Codigo = ?");
    db.ejecutar(fecha, {QStringLiteral("1")});
    EXPECT_EQ(db.columna(QStringLiteral("SELECT Fecha FROM T WHERE Codigo = '1'")),
              QStringList{"31/12/2024"});
    // Fecha becomes a date column: the same text now writes an ISO date.
    db.ejecutar(QStringLiteral("CREATE TABLE T2 (Codigo VARCHAR(4) PRIMARY KEY, Valor INT, "
                               "Fecha DATETIME)"));
    db.ejecutar(QStringLiteral("INSERT INTO T2 SELECT * FROM T"));
    db.ejecutar(QStringLiteral("DROP TABLE T"));
    db.ejecutar(QStringLiteral("ALTER TABLE T2 RENAME TO T"));
    db.ejecutar(fecha, {QStringLiteral("2")});
    EXPECT_EQ(
        db.columna(QStringLiteral("SELECT Fecha FROM T WHERE Codigo = '2'")).value(0).left(10),
        QStringLiteral("2024-12-31"));

    db.conexion.beginTrans();
    db.ejecutar(QStringLiteral("UPDATE T SET Valor = Valor + 1 WHERE Codigo = ?"),
                {QStringLiteral("3")});
    db.conexion.rollbackTrans();
    db.ejecutar(QStringLiteral("UPDATE T SET Valor = Valor + 1 WHERE Codigo = ?"),
                {QStringLiteral("4")});
    EXPECT_EQ(db.columna(QStringLiteral("SELECT Valor FROM T WHERE Codigo IN ('3', '4') "
                                        "ORDER BY Codigo")),
              (QStringList{"3", "5"}));

    db.conexion.close();
    db.conexion.openWith(std::make_unique<SqliteProvider>(), db.ruta);
    db.ejecutar(inserta, {QStringLiteral("52"), 52});
    EXPECT_EQ(db.columna(QStringLiteral("SELECT COUNT(*) FROM T")), QStringList{"52"});
}
