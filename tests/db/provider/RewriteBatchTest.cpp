#include "RewriteCase.h"

using rp::db::DialectRewriter;

// SQL Server runs a batch whose statements are separated by line breaks only.
TEST(RewriteBatch, StatementsOfABatchAreSeparated) {
    const DialectRewriter r;
    EXPECT_EQ(r.rewrite(QStringLiteral("BEGIN TRANSACTION \r\r\rINSERT INTO T (A) VALUES "
                                       "('x')\rINSERT INTO T (A) VALUES ('y')\r"))
                  .toStdString(),
              "BEGIN TRANSACTION \r\r\r;INSERT INTO T (A) VALUES ('x')\r;INSERT INTO T (A) "
              "VALUES ('y')\r");
    EXPECT_EQ(
        r.rewrite(QStringLiteral("BEGIN TRAN\nUPDATE T SET A = 1\nCOMMIT TRAN t1")).toStdString(),
        "BEGIN TRANSACTION\n;UPDATE T SET A = 1\n;COMMIT TRANSACTION");
    // Words that continue a statement do not split it.
    const char* whole[] = {
        "CREATE TABLE X (A INT REFERENCES Y ON DELETE CASCADE ON UPDATE CASCADE)",
        "INSERT INTO X SELECT * FROM Y",
        "CREATE TRIGGER tr INSTEAD OF UPDATE ON V BEGIN UPDATE T SET A = 1; END",
        "INSERT INTO T VALUES (1) ON CONFLICT DO UPDATE SET A = 2",
    };
    for (const char* sql : whole)
        EXPECT_EQ(r.rewrite(QString::fromUtf8(sql)).toStdString(), std::string(sql));
}

TEST(RewriteBatch, BatchRunsAndRollsBackOnSqlite) {
    rp::prueba::BaseTemporal db;
    db.ejecutar(
        QStringLiteral("CREATE TABLE Control_Acceso (Maquina VARCHAR(50), Ingreso DATETIME)"));
    qint64 n = 0;
    db.conexion.execute(
        QStringLiteral("BEGIN TRANSACTION \r\r\rINSERT INTO Control_Acceso (Maquina,Ingreso) "
                       "VALUES ('PC1','31/12/24 10:00')\rINSERT INTO Control_Acceso "
                       "(Maquina,Ingreso) VALUES ('PC2','01/01/25 09:15')\r"),
        &n);
    EXPECT_EQ(n, 2);
    db.conexion.execute(QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM Control_Acceso")),
              QStringLiteral("0"));
    db.conexion.execute(QStringLiteral(
        "BEGIN TRANSACTION \r\r\rINSERT INTO Control_Acceso (Maquina,Ingreso) VALUES "
        "('PC1','31/12/24 10:00')\r"));
    db.conexion.execute(QStringLiteral("COMMIT TRANSACTION"));
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT Ingreso FROM Control_Acceso")),
              QStringLiteral("2024-12-31T10:00:00.000"));
}
