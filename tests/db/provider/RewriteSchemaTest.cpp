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

    test::TempDatabase db;
    db.run(QStringLiteral("CREATE TABLE MA_CLIENTES (CODIGO VARCHAR(10))"));
    db.run(QStringLiteral("INSERT INTO MA_CLIENTES VALUES ('1')"));
    db.run(QStringLiteral("ALTER TABLE dbo.MA_CLIENTES ADD Zona VARCHAR(10) Not Null  CONSTRAINT "
                          "DF_MA_CLIENTES_Zona DEFAULT ('N')"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT Zona FROM MA_CLIENTES")), QStringLiteral("N"));
    // A Not Null column without default on a table with rows is refused; the
    // failure stays in the provider error list.
    EXPECT_THROW(
        db.connection.execute(QStringLiteral("ALTER TABLE dbo.MA_CLIENTES ADD Otra INT Not Null ")),
        DbError);
    EXPECT_EQ(db.connection.errors().size(), 1);
    auto c = db.connection.openSchemaColumns(QString(), QStringLiteral("MA_CLIENTES"));
    int columns = 0;
    while (c->fetch())
        ++columns;
    EXPECT_EQ(columns, 2);
}
