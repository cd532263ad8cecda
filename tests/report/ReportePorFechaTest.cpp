#include "report/ReportePorFecha.h"

#include "report/FormularioTarifario.h"
#include "report/ReporteEntorno.h"
#include "startup/Sesion.h"
#include "suite/DLL_Print.h"
#include "suite/Regional.h"
#include "suite/Utilidades.h"
#include "ui/OperadorGuion.h"

#include <gtest/gtest.h>

namespace {

using rp::report::FormularioTarifario;
using rp::report::ReporteControl;
using rp::report::ReporteEntorno;
using rp::report::ReportePorFecha;
using rp::suite::Utilidades;

class ReportePorFechaTest : public ::testing::Test {
protected:
    rp::ui::OperadorGuion op;
    FormularioTarifario form;
    QList<rp::motor::SolicitudReporte> corridas;

    void SetUp() override {
        rp::ui::setOperador(&op);
        rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
        rp::suite::dllPrint().pPathSistema = QStringLiteral("/app/");
        rp::suite::dllPrint().Destino = 0;
        rp::startup::sesion().gCadenaDSN = QStringLiteral("DSN=EMPRESA; UID=sa; PWD=x");
        ReporteControl::establecerEjecutor(
            [this](const rp::motor::SolicitudReporte& s) { corridas << s; });
    }
    void TearDown() override {
        EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
        ReporteControl::establecerEjecutor(nullptr);
        rp::ui::setOperador(nullptr);
    }
    void poner(const char* clave, const QString& valor) {
        form.setTexto(form.IndiceControl(QLatin1String(clave)), valor);
    }
    void correr() {
        ReporteEntorno e(form, nullptr, nullptr, [](const QString& k) {
            return k == QLatin1String("NOMBRE") ? QStringLiteral("ACME SA") : QStringLiteral(" ");
        });
        ReportePorFecha::ejecutar(e);
    }
};

TEST_F(ReportePorFechaTest, CondicionDeArticulos) {
    EXPECT_EQ(ReportePorFecha::condicionArticulos(form), QString());
    poner("ArtDesde", QStringLiteral("100"));
    poner("FliaHasta", QStringLiteral("07"));
    EXPECT_EQ(ReportePorFecha::condicionArticulos(form),
              QStringLiteral(" WHERE V_MA_ARTICULOS.IDARTICULO>='") +
                  Utilidades::FormatoCodigo(QStringLiteral("100"), 25) +
                  QStringLiteral("'  AND V_MA_ARTICULOS.IDFAMILIA<='07' "));

    FormularioTarifario otro;
    otro.setTexto(otro.IndiceControl(QStringLiteral("RubHasta")), QStringLiteral("5"));
    EXPECT_EQ(ReportePorFecha::condicionArticulos(otro),
              QStringLiteral(" WHERE V_MA_ARTICULOS.IDRUBRO<='   5' "));

    // Apostrophes stay inside their literal.
    otro.setTexto(otro.IndiceControl(QStringLiteral("ProvDesde")), QStringLiteral("X' OR 1=1 --"));
    EXPECT_EQ(ReportePorFecha::condicionArticulos(otro),
              QStringLiteral(" WHERE V_MA_ARTICULOS.IDRUBRO<='   5'  AND "
                             "V_MA_ARTICULOS.CUENTAPROVEEDOR>='X'' OR 1=1 --' "));
}

TEST_F(ReportePorFechaTest, ParametrosYFormulasDeUnaCorrida) {
    poner("Lista", QStringLiteral("1"));
    poner("Fecha", QStringLiteral("31/12/2024"));
    poner("UsrDesde", QStringLiteral("ana"));
    form.setTituloClase(3, QStringLiteral("Mayorista"));
    form.setOptPrecios(3);
    correr();
    ASSERT_EQ(corridas.size(), 1);
    const auto& s = corridas[0];
    EXPECT_EQ(s.plantilla, QStringLiteral("/app/RP_CambioPreciosHISFEcha.rpt"));
    EXPECT_EQ(s.formula, QStringLiteral("{KS_RP_CambiosPreciosHis;1.USUARIO}='ana'"));
    EXPECT_EQ(s.parametros,
              (QStringList{QStringLiteral("@FECHA;20241231;TRUE"), QStringLiteral("@LISTA;1;TRUE"),
                           QStringLiteral("@CLASE;3;TRUE"), QStringLiteral("@WHERE;;TRUE")}));
    EXPECT_EQ(s.formulas[0], QStringLiteral("Nombreempresa = 'ACME SA'"));
    EXPECT_EQ(s.formulas[1], QStringLiteral("Parametros='Lista=1   Fecha=31/12/2024'"));
    EXPECT_EQ(s.formulas[2], QStringLiteral("Actual='Mayorista'"));
    EXPECT_EQ(s.formulas[3], QStringLiteral("Anterior='MayoristaAnt'"));
    EXPECT_FALSE(s.formulas[4].has_value());
    EXPECT_EQ(s.cadenaConexion, QStringLiteral("DSN=EMPRESA; UID=sa; PWD=x"));
    EXPECT_TRUE(op.mensajes().isEmpty());
}

TEST_F(ReportePorFechaTest, CostoSinUsuario) {
    poner("Lista", QStringLiteral("2"));
    poner("Fecha", QStringLiteral("01/01/2024"));
    correr();
    ASSERT_EQ(corridas.size(), 1);
    EXPECT_EQ(corridas[0].formula, QString());
    EXPECT_EQ(corridas[0].parametros.at(2), QStringLiteral("@CLASE;0;TRUE"));
    EXPECT_EQ(corridas[0].formulas[2], QStringLiteral("Actual='Costo'"));
    EXPECT_EQ(corridas[0].formulas[3], QStringLiteral("Anterior='CostoAnt'"));
}

// A typed apostrophe stays inside the header's formula text.
TEST_F(ReportePorFechaTest, ElEncabezadoDuplicaLosApostrofes) {
    poner("Lista", QStringLiteral("1'"));
    poner("Fecha", QStringLiteral("01/01/2024"));
    correr();
    ASSERT_EQ(corridas.size(), 1);
    EXPECT_EQ(corridas[0].formulas[1], QStringLiteral("Parametros='Lista=1''   Fecha=01/01/2024'"));
}

TEST_F(ReportePorFechaTest, ValidacionesDetienenLaCorrida) {
    op.responderMensaje(rp::ui::vbOK);
    poner("Fecha", QStringLiteral("01/01/2024"));
    correr();
    poner("Lista", QStringLiteral("1"));
    poner("Fecha", QStringLiteral("31/02/2024"));
    op.responderMensaje(rp::ui::vbOK);
    correr();
    EXPECT_TRUE(corridas.isEmpty());
    ASSERT_EQ(op.mensajes().size(), 2);
    EXPECT_EQ(op.mensajes()[0].texto, QStringLiteral("Debe Informar la Lista de Precios!!!"));
    EXPECT_EQ(op.mensajes()[1].texto, QStringLiteral("La fecha informada es incorrecta!!!"));
    for (const auto& m : op.mensajes()) {
        EXPECT_EQ(m.titulo, QStringLiteral("Aviso al Usuario"));
        EXPECT_EQ(m.estilo, rp::ui::estilo::Information);
    }
}

// The procedure gets the date as the form read it, in one fixed form, under
// any date order of the workstation; two-digit years follow the one pivot;
// dates the procedure cannot take are refused with the field's message.
TEST_F(ReportePorFechaTest, LaFechaValidadaVaEnUnaSolaForma) {
    poner("Lista", QStringLiteral("1"));
    rp::suite::Regional mdy = rp::suite::Regional::espaniol();
    mdy.ordenFecha = rp::suite::Regional::OrdenFecha::MesDiaAnio;
    rp::suite::Regional::establecer(mdy);
    poner("Fecha", QStringLiteral("01/02/2022"));
    correr();
    poner("Fecha", QStringLiteral("12/31/2022"));
    correr();
    rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
    poner("Fecha", QStringLiteral("01/02/35"));
    correr();
    ASSERT_EQ(corridas.size(), 3);
    EXPECT_EQ(corridas[0].parametros.at(0), QStringLiteral("@FECHA;20220102;TRUE"));
    EXPECT_EQ(corridas[1].parametros.at(0), QStringLiteral("@FECHA;20221231;TRUE"));
    EXPECT_EQ(corridas[2].parametros.at(0), QStringLiteral("@FECHA;19350201;TRUE"));

    for (const char* fuera : {"31/12/9999", "31/12/1752"}) {
        op.responderMensaje(rp::ui::vbOK);
        poner("Fecha", QString::fromLatin1(fuera));
        correr();
    }
    EXPECT_EQ(corridas.size(), 3);
    ASSERT_EQ(op.mensajes().size(), 2);
    EXPECT_EQ(op.mensajes()[1].texto, QStringLiteral("La fecha informada es incorrecta!!!"));
}

} // namespace
