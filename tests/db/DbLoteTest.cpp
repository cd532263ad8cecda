#include "DbPrueba.h"

namespace rp::db::test {
namespace {

class DbLote : public DbPrueba {
protected:
    void SetUp() override {
        DbPrueba::SetUp();
        abrir();
        sql(QStringLiteral("CREATE TABLE T (a int)"));
    }
    QString cuenta() {
        auto c = db.conexion().execute(QStringLiteral("SELECT COUNT(*) FROM T"));
        return c && c->fetch() ? c->value(0).toString() : QString();
    }
};

TEST_F(DbLote, TransaccionesYSentenciasDeUnGuion) {
    QString guion = QStringLiteral(
        "\r\n  SET NOCOUNT ON\r\nBEGIN TRANSACTION\r\nINSERT INTO T VALUES (1)\r\nGO\r\n"
        "INSERT INTO T VALUES (2)\r\nINSERT INTO T VALUES (3)\r\nCOMMIT TRANSACTION\r\n"
        "UPDATE T SET a = a + 10\r\nGO\r\nUPDATE T SET a = a + 10 WHERE a > 0");
    qint32 filas = 100;
    db.EjecutaLote(guion, filas);
    EXPECT_EQ(guion, "");
    EXPECT_EQ(filas, 100 + 3 + 3 + 3) << "the count is added to, never reset";
    EXPECT_EQ(cuenta(), "3");
}

TEST_F(DbLote, UnaFallaDetieneElGuionYDejaElResto) {
    QString guion = QStringLiteral(
        "BEGIN TRANSACTION\r\nINSERT INTO T VALUES (1)\r\nINSERT INTO NOEXISTE VALUES (2)\r\n"
        "INSERT INTO T VALUES (3)\r\nCOMMIT TRANSACTION");
    qint32 filas = 0;
    EXPECT_THROW(db.EjecutaLote(guion, filas), DbError);
    EXPECT_EQ(filas, 1);
    EXPECT_TRUE(guion.startsWith(QStringLiteral("INSERT INTO NOEXISTE VALUES (2)")))
        << guion.toStdString();
    EXPECT_TRUE(guion.endsWith(QStringLiteral("COMMIT")));
    db.conexion().rollbackTrans();
    EXPECT_EQ(cuenta(), "0") << "the transaction begun by the script was left open";
}

TEST_F(DbLote, UnaConsultaSolaNoEjecutaNada) {
    QString guion = QStringLiteral("SELECT * FROM T\r\nGO ");
    qint32 filas = 0;
    db.EjecutaLote(guion, filas);
    EXPECT_EQ(guion, "SELECT * FROM T ") << "normalised, not consumed";
    EXPECT_EQ(filas, 0);
}

TEST_F(DbLote, LasPalabrasCortanDondeAparezcan) {
    // "BEGIN TRAN" is no transaction command: it stays as skipped text; the
    // keyword inside LAST_UPDATE starts a statement of its own.
    Traza traza(dir.filePath(QStringLiteral("traza.log")));
    sql(QStringLiteral("CREATE TABLE U (LAST_UPDATE int)"));
    QString guion = QStringLiteral("BEGIN TRAN\r\nINSERT INTO U (LAST_UPDATE ) VALUES (1)");
    qint32 filas = 0;
    EXPECT_THROW(db.EjecutaLote(guion, filas), DbError);
    const QStringList escritas = traza.escritas();
    ASSERT_FALSE(escritas.isEmpty());
    EXPECT_EQ(escritas.last(), "INSERT INTO U (LAST_");
}

} // namespace
} // namespace rp::db::test
