#include "startup/Sentencias.h"
#include "InicioPrueba.h"

namespace {

using namespace rp::startup;
using Prueba = rp::startup::test::InicioPrueba;

TEST(Sentencias, InsertAndUpdateStatementsAsBuilt) {
    ListaCampos lista;
    QString a = "O'Brien", b = "null";
    AgregaValor("Nombre", a, "'", true, lista);
    AgregaValor("Zona", b, "'", false, lista);
    EXPECT_EQ(a, "OBrien"); // the caller's text loses its apostrophes too
    QStringList script;
    QString cond = "x";
    ArmaSentencia(lista, script, "MA_CLIENTES", false, cond, true);
    ASSERT_EQ(script.size(), 2);
    EXPECT_EQ(script[0], "INSERT INTO MA_CLIENTES (Nombre,Zona) VALUES ('OBrien',Null)");
    EXPECT_EQ(script[1], "");
    EXPECT_EQ(cond, "x"); // inserts leave the condition alone

    ArmaSentencia(lista, script, "MA_CLIENTES", true, cond, false);
    EXPECT_EQ(script[2], "UPDATE MA_CLIENTES SET Nombre = 'OBrien',Zona = Null  WHERE x");
    EXPECT_EQ(cond, " WHERE x");
    ASSERT_EQ(lista.size(), 1); // reset to one empty entry
    EXPECT_TRUE(lista[0].campo.isEmpty());

    QString v = "1";
    AgregaValor("A", v, "'", true, lista);
    QString where = "WHERE id = 1";
    ArmaSentencia(lista, script, "T", true, where, false);
    EXPECT_EQ(script[4], "UPDATE T SET A = '1' WHERE id = 1");
}

TEST(Sentencias, BatchMessageShowsAllButTheServersClosingNotice) {
    rp::db::ProviderError e1, e2;
    e1.nativeError = 2627;
    e1.description = "Violation of PRIMARY KEY constraint";
    e2.nativeError = 3621;
    e2.description = "The statement has been terminated.";
    EXPECT_EQ(MensajeErroresLote({e1}), "2627 : Violation of PRIMARY KEY constraint\r\n");
    EXPECT_EQ(MensajeErroresLote({e1, e2}), "2627 : Violation of PRIMARY KEY constraint\r\n");
    EXPECT_EQ(MensajeErroresLote({}), "");
}

TEST_F(Prueba, ABlankScriptRunsNothing) {
    bool hubo = true;
    qint32 nativo = -1;
    QString sentencia, mensaje;
    GActualizarDatoScript({"", "   "}, hubo, nativo, false, false, sentencia, mensaje, true);
    EXPECT_FALSE(hubo);
    EXPECT_EQ(nativo, -1);
    EXPECT_TRUE(sentencia.isEmpty());
}

TEST_F(Prueba, ASuccessfulBatchIsCommitted) {
    bool hubo = true;
    qint32 nativo = -1;
    QString sentencia, mensaje;
    GActualizarDatoScript({"INSERT INTO TA_USUARIOS (Nombre) VALUES ('ANA')", "",
                           "INSERT INTO TA_USUARIOS (Nombre) VALUES ('LUIS')"},
                          hubo, nativo, false, false, sentencia, mensaje, true);
    EXPECT_FALSE(hubo);
    EXPECT_EQ(nativo, 0);
    EXPECT_TRUE(sentencia.startsWith("BEGIN TRANSACTION \r\r\rINSERT"));
    EXPECT_EQ(uno("SELECT COUNT(*) FROM TA_USUARIOS").toInt(), 2);
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(Prueba, AFailedBatchIsRolledBackRecordedAndShown) {
    sql("INSERT INTO TA_USUARIOS (Nombre) VALUES ('ANA')");
    op.responderMensaje(1);
    bool hubo = false;
    qint32 nativo = 0;
    QString sentencia, mensaje;
    GActualizarDatoScript({"INSERT INTO TA_USUARIOS (Nombre) VALUES ('LUIS')",
                           "INSERT INTO TA_USUARIOS (Nombre) VALUES ('ana')"},
                          hubo, nativo, false, false, sentencia, mensaje, true);
    EXPECT_TRUE(hubo);
    EXPECT_EQ(nativo, 2627); // duplicate key, as the server numbers it
    EXPECT_EQ(uno("SELECT COUNT(*) FROM TA_USUARIOS").toInt(), 1) << "rolled back as a whole";
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_EQ(cajas()[0].titulo, "Aviso al Operador!");
    EXPECT_TRUE(cajas()[0].texto.startsWith("2627 : "));
    EXPECT_EQ(uno("SELECT COUNT(*) FROM AUX_ERR").toInt(), 1);
    EXPECT_EQ(uno("SELECT Error FROM AUX_ERR").toInt(), 2627);
    // The shared connection is usable and outside any transaction.
    sql("INSERT INTO TA_USUARIOS (Nombre) VALUES ('PEDRO')");
    EXPECT_TRUE(db.gCnn->errors().isEmpty());
}

TEST_F(Prueba, ToleratedDuplicatesShowNothingButReportTheText) {
    sql("INSERT INTO TA_USUARIOS (Nombre) VALUES ('ANA')");
    bool hubo = false;
    qint32 nativo = 0;
    QString sentencia, mensaje;
    GActualizarDatoScript({"INSERT INTO TA_USUARIOS (Nombre) VALUES ('ANA')"}, hubo, nativo, true,
                          false, sentencia, mensaje, true);
    EXPECT_TRUE(hubo);
    EXPECT_EQ(nativo, 2627);
    EXPECT_FALSE(mensaje.isEmpty());
    EXPECT_FALSE(mensaje.startsWith("2627 : "));
    EXPECT_TRUE(cajas().isEmpty());
    EXPECT_EQ(uno("SELECT COALESCE(Descripcion, '') FROM AUX_ERR").toString(), "");
}

} // namespace
