#include "lookup/SentenciaConsulta.h"
#include "ConsultaDemoPrueba.h"

#include <gtest/gtest.h>

using rp::lookup::ArchivoConsultas;
using rp::lookup::RegistroConsulta;
using rp::lookup::SentenciaConsulta;

namespace {

TEST(SentenciaConsulta, RowBoundFromTopConsArt) {
    const struct {
        const char* valor;
        int limite;
    } casos[] = {{" ", 1000},  {"", 1000},      {"0", 1000},  {"abc", 1000},
                 {"250", 250}, {"250abc", 250}, {"-5", 1000}, {"1e12", 2147483647}};
    for (const auto& c : casos)
        EXPECT_EQ(SentenciaConsulta::limiteFilas(QString::fromUtf8(c.valor)), c.limite) << c.valor;
}

TEST(SentenciaConsulta, ConditionWrapping) {
    EXPECT_EQ(SentenciaConsulta::envolverCondicion("x"), "x");
    EXPECT_EQ(SentenciaConsulta::envolverCondicion("a = 1"), " (a = 1) ");
    EXPECT_EQ(SentenciaConsulta::envolverCondicion("(a = 1)"), "(a = 1)");
    EXPECT_EQ(SentenciaConsulta::envolverCondicion(""), "");
}

// Golden statements, each also run on the demo database.
class SentenciaDemo : public rp::lookup::test::ConsultaDemoPrueba {
protected:
    std::optional<QStringList> campos(const QString& s) {
        rp::db::Recordset rs;
        QString t = s;
        db.AbrirRecordset(t, rs);
        if (!rs.isOpen())
            return std::nullopt;
        QStringList n;
        for (const auto& f : rs.fields())
            n << f.name;
        db.CierraRecordset(rs);
        return n;
    }
    void corre(const QString& s) {
        try {
            auto c = db.conexion().execute(s);
            ASSERT_TRUE(c != nullptr) << s.toStdString();
        } catch (const rp::db::DbError& e) {
            ADD_FAILURE() << s.toStdString() << ": " << e.description().toStdString();
        }
    }
};

TEST_F(SentenciaDemo, GoldenStatementsRunOnTheDemoDatabase) {
    const QString mascaras = rp::lookup::gConsulta().gRutaMascaraConsultas;
    const struct {
        const char* sql;
        const char* where;
        const char* campo;
        bool conMascaras;
        int limite;
        const char* sentencia;
        const char* campoFinal;
        const char* whereFinal;
    } casos[] = {
        {"v_ma_articulos", "", "", true, 1000,
         "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE "
         "SUSPENDIDO = 0 ORDER BY DESCRIPCION",
         "DESCRIPCION", ""},
        {"vt_proveedores", "", "", true, 1000,
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES  with(nolock)  WHERE "
         "Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL",
         "RAZON_SOCIAL", ""},
        // The caller's condition wins over the table's default one.
        {"vt_proveedores", "CODIGO <> ''", "", true, 250,
         "SELECT TOP 250 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES  with(nolock)  WHERE  (CODIGO "
         "<> '')  ORDER BY RAZON_SOCIAL",
         "RAZON_SOCIAL", " (CODIGO <> '') "},
        {"vt_proveedores", "", "CODIGO", true, 1000,
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES  with(nolock)  WHERE "
         "Dada_De_Baja = 0 ORDER BY CODIGO",
         "CODIGO", ""},
        {"SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB ", "", "", true, 1000,
         "SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB ", "", ""},
        {"SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB ", "IDLISTA = '1'", "", true, 1000,
         "SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB  WHERE  (IDLISTA = '1') ", "",
         " WHERE  (IDLISTA = '1') "},
        {"select idarticulo from v_ma_articulos", "", "", true, 1000,
         "select idarticulo from VT_MA_ARTICULOS", "", ""},
        // No definition record: the table's own fields, in reverse order.
        {"TA_USUARIOS", "", "", true, 1000,
         "SELECT TOP 1000 NOMBRE,NOMBRECOMPLETO,ADMINISTRADOR,UNEGOCIO,VERPROFORMA FROM "
         "TA_USUARIOS  ORDER BY NOMBRE",
         "NOMBRE", ""},
        {"v_ta_rubros", "", "", true, 1000,
         "SELECT TOP 1000 DESCRIPCION,IDRUBRO FROM v_ta_rubros  ORDER BY DESCRIPCION",
         "DESCRIPCION", ""},
        {"v_ta_rubros", "IDRUBRO <> ''", "", true, 1000,
         "SELECT TOP 1000 DESCRIPCION,IDRUBRO FROM v_ta_rubros WHERE   (IDRUBRO <> '')  ORDER BY "
         "DESCRIPCION",
         "DESCRIPCION", " (IDRUBRO <> '') "},
        {"V_TA_DEPOSITO", "", "", false, 1000,
         "SELECT TOP 1000 Descripcion,IdDeposito,UnidadNegocio FROM V_TA_DEPOSITO  ORDER BY "
         "IDDEPOSITO",
         "IDDEPOSITO", ""},
        {"V_MV_FALTANTES", "", "", false, 1000,
         "SELECT TOP 1000 Usuario,Descripcion,IdArticulo,FechaHora FROM V_MV_FALTANTES  ORDER BY "
         "Descripcion",
         "Descripcion", ""},
    };
    for (const auto& c : casos) {
        QString where = QString::fromUtf8(c.where);
        QString campo = QString::fromUtf8(c.campo);
        const SentenciaConsulta::Resultado r = SentenciaConsulta::armar(
            QString::fromUtf8(c.sql), where, campo, QString(), c.conMascaras ? mascaras : QString(),
            c.limite, [this](const QString& s) { return campos(s); });
        EXPECT_FALSE(r.debeConfigurar);
        EXPECT_EQ(r.sentencia, QString::fromUtf8(c.sentencia)) << r.sentencia.toStdString();
        EXPECT_EQ(campo, QString::fromUtf8(c.campoFinal)) << c.sql;
        EXPECT_EQ(where, QString::fromUtf8(c.whereFinal)) << c.sql;
        corre(r.sentencia);
    }
}

TEST_F(SentenciaDemo, DefinitionRecordEdgeCases) {
    const QString ruta = carpeta + QStringLiteral("otras.kst");
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(RegistroConsulta{"UNA", "vt_proveedores", "|CODIGO|", ""}.aBytes());
    f.write(RegistroConsulta{"DOS", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|", ""}.aBytes());
    f.write(RegistroConsulta{"VACIA", "V_TA_RUBROS", "", ""}.aBytes());
    f.write(
        RegistroConsulta{"FILTRO", "MA_CUENTAS", "|DESCRIPCION|CODIGO|", "TIPO = 'P'"}.aBytes());
    f.close();
    auto nada = [](const QString&) { return std::optional<QStringList>(); };

    // The first record of the table wins; one column and no search column.
    QString where, campo;
    SentenciaConsulta::Resultado r =
        SentenciaConsulta::armar("VT_PROVEEDORES", where, campo, QString(), ruta, 1000, nada);
    EXPECT_TRUE(r.debeConfigurar);
    campo = "CODIGO";
    r = SentenciaConsulta::armar("VT_PROVEEDORES", where, campo, QString(), ruta, 1000, nada);
    EXPECT_EQ(r.sentencia, "SELECT TOP 1000 CODIGO FROM vt_proveedores  with(nolock)  WHERE "
                           "Dada_De_Baja = 0 ORDER BY CODIGO");
    corre(r.sentencia);

    // An empty column field: "*" with a search column, the message without.
    campo.clear();
    EXPECT_TRUE(SentenciaConsulta::armar("v_ta_rubros", where, campo, QString(), ruta, 1000, nada)
                    .debeConfigurar);
    campo = "IDRUBRO";
    r = SentenciaConsulta::armar("v_ta_rubros", where, campo, QString(), ruta, 1000, nada);
    EXPECT_EQ(r.sentencia, "SELECT TOP 1000 * FROM V_TA_RUBROS  with(nolock)  ORDER BY IDRUBRO");
    corre(r.sentencia);

    // The record's filter wins over the caller's condition.
    campo.clear();
    where = "CODIGO = 'x'";
    r = SentenciaConsulta::armar("ma_cuentas", where, campo, QString(), ruta, 10, nada);
    EXPECT_EQ(r.sentencia, "SELECT TOP 10 DESCRIPCION,CODIGO FROM MA_CUENTAS  with(nolock)  WHERE "
                           "TIPO = 'P' ORDER BY DESCRIPCION");
    corre(r.sentencia);

    // Definition file in use but missing: the bare table name.
    where.clear();
    campo.clear();
    r = SentenciaConsulta::armar("vt_proveedores", where, campo, QString(),
                                 carpeta + "no_existe.kst", 1000, nada);
    EXPECT_EQ(r.sentencia, "vt_proveedores");

    // A table that cannot be read: " * " and the caller's search column.
    campo = "CODIGO";
    r = SentenciaConsulta::armar("NO_EXISTE", where, campo, QString(), QString(), 1000, nada);
    EXPECT_EQ(r.sentencia, "SELECT TOP 1000  *  FROM NO_EXISTE  ORDER BY CODIGO");
    // The optional statement is used as it is.
    r = SentenciaConsulta::armar("NO_EXISTE", where, campo, "SELECT 1", QString(), 1000, nada);
    EXPECT_EQ(r.sentencia, "SELECT 1");
}

} // namespace
