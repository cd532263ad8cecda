#include "RewriteCase.h"

using namespace rp::db;

// The schema statements the program builds run on SQLite.
TEST(RewriteSchema, AddFieldStatementRuns) {
    const DialectRewriter r;
    EXPECT_EQ(r.rewrite(QStringLiteral("ALTER TABLE dbo.MA_CLIENTES ADD Zona VARCHAR(10) Not Null "
                                       " CONSTRAINT DF_MA_CLIENTES_Zona DEFAULT ('N')"))
                  .toStdString(),
              "ALTER TABLE MA_CLIENTES ADD Zona VARCHAR(10) Not Null  CONSTRAINT "
              "DF_MA_CLIENTES_Zona DEFAULT 'N'");
    EXPECT_EQ(r.rewrite(QStringLiteral("CREATE TABLE T (A INT DEFAULT (-1), F DATETIME DEFAULT "
                                       "(GETDATE()))"))
                  .toStdString(),
              "CREATE TABLE T (A INT DEFAULT -1, F DATETIME DEFAULT (GETDATE()))");

    EXPECT_EQ(r.rewrite(QStringLiteral("PRAGMA table_info('T')")).toStdString(),
              "PRAGMA table_info('T')");

    rp::prueba::BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE MA_CLIENTES (CODIGO VARCHAR(10))"));
    db.ejecutar(QStringLiteral("INSERT INTO MA_CLIENTES VALUES ('1')"));
    db.ejecutar(
        QStringLiteral("ALTER TABLE dbo.MA_CLIENTES ADD Zona VARCHAR(10) Not Null  CONSTRAINT "
                       "DF_MA_CLIENTES_Zona DEFAULT ('N')"));
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT Zona FROM MA_CLIENTES")), QStringLiteral("N"));
    // A Not Null column without default on a table with rows is refused; the
    // failure stays in the provider error list.
    EXPECT_THROW(
        db.conexion.execute(QStringLiteral("ALTER TABLE dbo.MA_CLIENTES ADD Otra INT Not Null ")),
        DbError);
    EXPECT_EQ(db.conexion.errors().size(), 1);
    auto c = db.conexion.openSchemaColumns(QString(), QStringLiteral("MA_CLIENTES"));
    int columns = 0;
    while (c->fetch())
        ++columns;
    EXPECT_EQ(columns, 2);
}
