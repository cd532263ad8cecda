#include "DbPrueba.h"
#include "suite/Utilidades.h"

namespace rp::db::test {
namespace {

using rp::suite::Utilidades;

class DbBusquedas : public DbPrueba {
protected:
    void SetUp() override {
        DbPrueba::SetUp();
        abrir();
        sql(QStringLiteral("CREATE TABLE MA_ARTICULOS (Codigo varchar(25), Nombre varchar(50), "
                           "Precio float, Alta datetime)"));
        sql(QStringLiteral("INSERT INTO MA_ARTICULOS VALUES ('  A1 ', 'Tornillo', 12, NULL)"));
        sql(QStringLiteral("INSERT INTO MA_ARTICULOS VALUES ('B2', 'Tuerca', 0, NULL)"));
        traza = std::make_unique<Traza>(dir.filePath(QStringLiteral("traza.log")));
    }
    void TearDown() override {
        traza.reset();
        DbPrueba::TearDown();
    }
    QString ultima() const { return traza->escritas().value(traza->escritas().size() - 1); }
    std::unique_ptr<Traza> traza;
};

TEST_F(DbBusquedas, ExisteEnTablaComparaTextosRecortados) {
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral(" A1  ")));
    EXPECT_EQ(ultima(), "SELECT TOP 1  * FROM MA_ARTICULOS with(nolock)  WHERE "
                        "LTRIM(RTRIM(Codigo)) ='A1'");
    EXPECT_FALSE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("C3")));
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("tuerca"),
                                 QStringLiteral("Nombre")));
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbBusquedas, ExisteEnTablaConCondicion) {
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("ignorado"),
                                 QStringLiteral("Codigo"), nullptr, 8,
                                 QStringLiteral("Nombre = 'Tuerca'")));
    EXPECT_EQ(ultima(), "SELECT TOP 1 * FROM MA_ARTICULOS with(nolock)  WHERE Nombre = 'Tuerca'");
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QString(),
                                 QStringLiteral("Codigo"), nullptr, 8,
                                 QStringLiteral(" where Nombre = 'Tuerca'")));
    EXPECT_EQ(ultima(), "SELECT TOP 1 * FROM MA_ARTICULOS with(nolock)   where Nombre = 'Tuerca'");

    // Without a blank in front, the condition's own WHERE is not seen.
    op.responderMensaje(ui::vbAbort);
    EXPECT_FALSE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QString(),
                                  QStringLiteral("Codigo"), nullptr, 8,
                                  QStringLiteral("WHERE Nombre = 'Tuerca'")));
    EXPECT_EQ(ultima(),
              "SELECT TOP 1 * FROM MA_ARTICULOS with(nolock)  WHERE WHERE Nombre = 'Tuerca'");
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_EQ(cajas().first().titulo, "Aviso al Operador");
    EXPECT_EQ(cajas().first().estilo, 18);

    // Retry runs the statement again (here it fails again); Ignore answers
    // "not found" like Abort.
    op.responderMensaje(ui::vbRetry);
    op.responderMensaje(ui::vbIgnore);
    EXPECT_FALSE(db.ExisteEnTabla(QStringLiteral("NO_EXISTE"), QStringLiteral("A1")));
    EXPECT_EQ(cajas().size(), 3);
}

TEST_F(DbBusquedas, ValoresNumericosConLaReglaDelNumeroInicial) {
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("12abc"),
                                 QStringLiteral("Precio"), nullptr, 3));
    EXPECT_EQ(ultima(), "SELECT TOP 1 * FROM MA_ARTICULOS with(nolock)  WHERE Precio = 12");
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("abc"),
                                 QStringLiteral("Precio"), nullptr, QStringLiteral("5")));
    EXPECT_EQ(ultima(), "SELECT TOP 1 * FROM MA_ARTICULOS with(nolock)  WHERE Precio = 0");
    // The workstation writes its decimal comma.
    op.responderMensaje(ui::vbAbort);
    db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("1.5"),
                     QStringLiteral("Precio"), nullptr, 4);
    EXPECT_EQ(ultima(), "SELECT TOP 1 * FROM MA_ARTICULOS with(nolock)  WHERE Precio = 1,5");
}

TEST_F(DbBusquedas, ConElConjuntoDelLlamador) {
    Recordset rs;
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("B2"),
                                 QStringLiteral("Codigo"), &rs));
    ASSERT_TRUE(rs.isOpen());
    EXPECT_EQ(rs.value(QStringLiteral("Nombre")).toString(), "Tuerca");
    EXPECT_EQ(rs.lockType(), adLockReadOnly);

    rs.close();
    rs.setCursorType(adOpenKeyset);
    rs.setLockType(adLockOptimistic);
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("B2"),
                                 QStringLiteral("Codigo"), &rs, 8, QString(), false));
    EXPECT_EQ(rs.lockType(), adLockOptimistic);
    EXPECT_EQ(rs.cursorType(), adOpenKeyset);
}

TEST_F(DbBusquedas, ExisteEnTablaSTUsaLaConexionCompartida) {
    DB_Dll otro; // never opened
    EXPECT_TRUE(otro.ExisteEnTablaST(QStringLiteral("MA_ARTICULOS"), QStringLiteral("B2")));
    EXPECT_EQ(ultima(), "SELECT * FROM MA_ARTICULOS with(nolock)   WHERE Codigo ='B2'");
    // The value is not trimmed here.
    EXPECT_FALSE(otro.ExisteEnTablaST(QStringLiteral("MA_ARTICULOS"), QStringLiteral(" B2")));
    EXPECT_TRUE(otro.ExisteEnTablaST(QStringLiteral("MA_ARTICULOS"), QString(),
                                     QStringLiteral("Codigo"), nullptr, 8,
                                     QStringLiteral("Precio = 12")));
    EXPECT_EQ(ultima(), "SELECT * FROM MA_ARTICULOS with(nolock)   WHERE Precio = 12");
}

TEST_F(DbBusquedas, DatosTablaDevuelveTextoVacioOElValorVacio) {
    EXPECT_EQ(db.DatosTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("A1"),
                            QStringLiteral("Nombre")),
              QVariant(QStringLiteral("Tornillo")));
    EXPECT_EQ(ultima(), "SELECT TOP 1 * FROM MA_ARTICULOS with(nolock)  WHERE "
                        "LTRIM(RTRIM(Codigo)) ='A1' ");
    const QVariant nada = db.DatosTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("ZZ"),
                                        QStringLiteral("Nombre"));
    EXPECT_TRUE(nada.isValid());
    EXPECT_EQ(nada.toString(), "");
    EXPECT_EQ(
        db.DatosTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("A1"), QStringLiteral("Alta"))
            .toString(),
        "")
        << "a null reads as empty text";

    EXPECT_EQ(db.DatosTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("B2"),
                            QStringLiteral("Nombre"), QStringLiteral("Codigo"), 8,
                            QStringLiteral("Precio = 0"), false)
                  .toString(),
              "Tuerca");
    EXPECT_EQ(ultima(), "SELECT TOP 1 * FROM MA_ARTICULOS with(nolock)  WHERE Codigo ='B2'  AND "
                        "Precio = 0");
    EXPECT_EQ(db.DatosTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("12.0xyz"),
                            QStringLiteral("Codigo"), QStringLiteral("Precio"), 3)
                  .toString(),
              "  A1 ");
    EXPECT_EQ(ultima(), "SELECT TOP 1 * FROM MA_ARTICULOS with(nolock)  WHERE Precio = 12");

    db.gOpenFlag = false;
    EXPECT_FALSE(db.DatosTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("A1"),
                               QStringLiteral("Nombre"))
                     .isValid());
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbBusquedas, DatosTablaSobreUnaTablaQueNoExiste) {
    // With IgnoraError only the record-set report appears.
    op.responderMensaje(ui::vbAbort);
    const QVariant r =
        db.DatosTabla(QStringLiteral("NOEXISTE"), QStringLiteral("A1"), QStringLiteral("Nombre"),
                      QStringLiteral("Codigo"), 8, QString(), true, true);
    EXPECT_TRUE(r.isValid());
    EXPECT_EQ(r.toString(), "");
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_TRUE(
        cajas()[0].titulo.endsWith(QStringLiteral("AbrirRecordset -  Aviso al operador!!! - 5 ")));

    // Without it, the look-up's own box follows; Abort gives the empty value.
    op.limpiar();
    op.responderMensaje(ui::vbAbort);
    op.responderMensaje(ui::vbAbort);
    EXPECT_FALSE(
        db.DatosTabla(QStringLiteral("NOEXISTE"), QStringLiteral("A1"), QStringLiteral("Nombre"))
            .isValid());
    ASSERT_EQ(cajas().size(), 2);
    EXPECT_EQ(cajas()[1].titulo, "Aviso al Operador");
}

TEST_F(DbBusquedas, DatosTablaReintentarRepiteSoloElPasoQueFallo) {
    // The set opens; reading a column it lacks fails. Retry reads again
    // (the statement is not sent again); Ignore closes the set and Abort
    // ends there, both with nothing read.
    for (int ultimaRespuesta : {int(ui::vbIgnore), int(ui::vbAbort)}) {
        op.limpiar();
        const qsizetype antes = traza->escritas().size();
        op.responderMensaje(ui::vbRetry);
        op.responderMensaje(ultimaRespuesta);
        EXPECT_FALSE(db.DatosTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("A1"),
                                   QStringLiteral("NoHay"))
                         .isValid());
        ASSERT_EQ(cajas().size(), 2);
        for (const auto& caja : cajas()) {
            EXPECT_EQ(caja.titulo, "Aviso al Operador");
            EXPECT_EQ(caja.estilo, 18);
        }
        EXPECT_EQ(traza->escritas().size(), antes + 1) << "one statement for both reads";
    }
    // With IgnoraError the same failure answers empty text without a box.
    op.limpiar();
    const QVariant vacio =
        db.DatosTabla(QStringLiteral("MA_ARTICULOS"), QStringLiteral("A1"), QStringLiteral("NoHay"),
                      QStringLiteral("Codigo"), 8, QString(), true, true);
    EXPECT_TRUE(vacio.isValid());
    EXPECT_EQ(vacio.toString(), "");
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbBusquedas, MaximoDeArticulosSinCodigosQueEmpiezanConCero) {
    sql(QStringLiteral("CREATE TABLE V_MA_ARTICULOS (idarticulo varchar(25))"));
    for (const char* c : {"999", "0999", "15"})
        sql(QStringLiteral("INSERT INTO V_MA_ARTICULOS VALUES ('%1')")
                .arg(Utilidades::FormatoCodigo(QString::fromLatin1(c), 25)));
    QString condicion;
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("idarticulo"),
                             QVariant(), &condicion),
              QVariant(999.0));
    EXPECT_EQ(condicion, " substring(ltrim(idarticulo),1,1)<>'0'");

    QString otra = QStringLiteral("ltrim(idarticulo) <> '999'");
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("v_ma_articulos"), QStringLiteral("idarticulo"),
                             QVariant(), &otra),
              QVariant(15.0));
    EXPECT_EQ(otra, "ltrim(idarticulo) <> '999' and substring(ltrim(idarticulo),1,1)<>'0'");
    EXPECT_EQ(ultima(), "SELECT MAX(idarticulo) AS MAYOR FROM v_ma_articulos WHERE "
                        "ltrim(idarticulo) <> '999' and substring(ltrim(idarticulo),1,1)<>'0'");

    // Other tables keep their codes beginning with "0".
    sql(QStringLiteral("CREATE TABLE OTRA (c varchar(5))"));
    sql(QStringLiteral("INSERT INTO OTRA VALUES ('07')"));
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("OTRA"), QStringLiteral("c")), QVariant(7.0));
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("OTRA"), QStringLiteral("c"), 7), QVariant("07"));
}

TEST_F(DbBusquedas, MinimoYUltimoCodigo) {
    EXPECT_EQ(db.BuscaMinimo(QStringLiteral("MA_ARTICULOS"), QStringLiteral("Precio")),
              QVariant(0.0));
    EXPECT_EQ(ultima(), "SELECT MIN(Precio) AS MENOR FROM MA_ARTICULOS  with(nolock) ");
    EXPECT_EQ(db.BuscaMinimo(QStringLiteral("MA_ARTICULOS"), QStringLiteral("Precio"), QVariant(),
                             QStringLiteral(" Precio > 5 ")),
              QVariant(12.0));
    EXPECT_EQ(ultima(), "SELECT MIN(Precio) AS MENOR FROM MA_ARTICULOS  with(nolock)  WHERE "
                        "Precio > 5");
    // A blank condition adds no empty WHERE.
    EXPECT_EQ(db.BuscaMinimo(QStringLiteral("MA_ARTICULOS"), QStringLiteral("Precio"), QVariant(),
                             QStringLiteral("  ")),
              QVariant(0.0));
    QString blanca = QStringLiteral(" ");
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("MA_ARTICULOS"), QStringLiteral("Precio"), QVariant(),
                             &blanca),
              QVariant(12.0));
    EXPECT_EQ(ultima(), "SELECT MAX(Precio) AS MAYOR FROM MA_ARTICULOS");
    EXPECT_EQ(db.BuscaUltimoCodigo(QStringLiteral("MA_ARTICULOS"), QStringLiteral("Precio"),
                                   QVariant(), QStringLiteral("  ")),
              QVariant(12.0));
    EXPECT_EQ(ultima(), "SELECT MAX(Precio) AS MAYOR FROM MA_ARTICULOS");
    // MAX over no rows is one row with a null, read as 0.
    EXPECT_EQ(db.BuscaUltimoCodigo(QStringLiteral("MA_ARTICULOS"), QStringLiteral("Precio"),
                                   QVariant(), QStringLiteral("Precio > 100")),
              QVariant(0.0));
    EXPECT_THROW(db.BuscaMaximo(QStringLiteral("NOEXISTE"), QStringLiteral("x")), DbError);
    EXPECT_TRUE(cajas().isEmpty());
}

} // namespace
} // namespace rp::db::test
