#include "report/ReportePorLista.h"

#include "report/ArmarFiltro.h"
#include "report/FormularioTarifario.h"
#include "report/ReporteEntorno.h"
#include "suite/DLL_Print.h"
#include "suite/Regional.h"
#include "suite/Utilidades.h"
#include "ui/OperadorGuion.h"

#include <gtest/gtest.h>

namespace {

using rp::report::FormularioTarifario;
using rp::report::ReporteEntorno;
using rp::report::ReportePorLista;

class ReportePorListaTest : public ::testing::Test {
protected:
    rp::ui::OperadorGuion op;
    FormularioTarifario form;
    QList<rp::suite::DLL_Print::Trabajo> trabajos;

    void SetUp() override {
        rp::ui::setOperador(&op);
        rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
        rp::suite::DLL_Print::establecerImpresor(
            [this](const rp::suite::DLL_Print::Trabajo& t) { trabajos << t; });
    }
    void TearDown() override {
        EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
        rp::suite::DLL_Print::establecerImpresor(nullptr);
        rp::ui::setOperador(nullptr);
    }
    void poner(const char* clave, const QString& valor) {
        form.setTexto(form.IndiceControl(QLatin1String(clave)), valor);
    }
};

TEST_F(ReportePorListaTest, OchoRangosDelFormulario) {
    form.cargar();
    poner("ListaDesde", QStringLiteral(" 1 "));
    poner("ArticuloHasta", QStringLiteral("500"));
    poner("FechaDesde", QStringLiteral("01/01/2024"));
    const rp::report::TablaFiltros t = ReportePorLista::filtros(form);
    ASSERT_EQ(t.size(), 8);
    EXPECT_EQ(t[0].CampoReporte, QStringLiteral("{V_MV_PRECIOSHIS.IdLista}"));
    EXPECT_EQ(t[0].ValorDesde, QStringLiteral("1"));
    EXPECT_EQ(t[0].TipoDato, 200);
    EXPECT_EQ(t[1].CampoReporte, QStringLiteral("{v_ma_precioscab.Nombre}"));
    EXPECT_EQ(t[5].TipoDato, 7);
    EXPECT_EQ(t[5].ValorDesde, QStringLiteral("01/01/2024"));
    EXPECT_EQ(t[7].CampoReporte, QStringLiteral("{v_ma_articulos.idarticulo}"));
    EXPECT_TRUE(t[7].SinRecorte);
    EXPECT_EQ(t[7].ValorHasta, rp::suite::Utilidades::FormatoCodigo(QStringLiteral("500"), 25));
    EXPECT_EQ(t[7].ValorDesde, QString());
    for (const auto& r : t)
        EXPECT_TRUE(r.Operador.isEmpty());
    form.descargar();
}

TEST_F(ReportePorListaTest, ColumnasOcultasTextosDePrecioYOrden) {
    EXPECT_EQ(ReportePorLista::ocultarColumnas(form),
              QStringLiteral("OcultarColumnas = '1 - 2 - 3 - 4 - 5 - 6 - 7 - 8 - 9 - '"));
    form.setTituloClase(3, QStringLiteral("Mayorista"));
    form.setChkFiltro(3, true);
    form.setChkFiltro(0, false);
    EXPECT_EQ(ReportePorLista::ocultarColumnas(form),
              QStringLiteral("OcultarColumnas = '0 - 1 - 2 - 4 - 5 - 6 - 7 - 8 - 9 - '"));
    const QStringList textos = ReportePorLista::textosPrecio(form);
    ASSERT_EQ(textos.size(), 9);
    EXPECT_EQ(textos[0], QString());
    EXPECT_EQ(textos[3], QStringLiteral("Precio3='Mayorista'"));
    EXPECT_EQ(textos[4], QStringLiteral("Precio4=''"));
    EXPECT_EQ(ReportePorLista::campoOrden(form), QStringLiteral("+{v_ma_articulos.idarticulo}"));
    form.setOptOrden(6);
    EXPECT_EQ(ReportePorLista::campoOrden(form), QStringLiteral("+{v_mv_precioshis.fechahora}"));
}

TEST_F(ReportePorListaTest, RangosRechazadosNoCorrenNada) {
    poner("RubroDesde", QStringLiteral("B"));
    poner("RubroHasta", QStringLiteral("a"));
    op.responderMensaje(rp::ui::vbOK);
    ReporteEntorno e(form, nullptr, nullptr, [](const QString&) { return QStringLiteral(" "); });
    ReportePorLista::ejecutar(e);
    EXPECT_TRUE(trabajos.isEmpty());
    ASSERT_EQ(op.mensajes().size(), 1);
    EXPECT_EQ(op.mensajes()[0].texto,
              QStringLiteral("Desde Mayor que Hasta, Campo : {v_ma_articulos.idrubro}"));
    EXPECT_EQ(op.mensajes()[0].titulo, QStringLiteral("Aviso al Usuario"));

    poner("RubroDesde", QString());
    poner("FechaHasta", QStringLiteral("32/13/2023"));
    op.responderMensaje(rp::ui::vbOK);
    ReportePorLista::ejecutar(e);
    EXPECT_TRUE(trabajos.isEmpty());
    ASSERT_EQ(op.mensajes().size(), 2);
    EXPECT_EQ(op.mensajes()[1].texto,
              QStringLiteral("Fecha Desde Incorrecta , Campo : {v_mv_precioshis.fechahora}"));
}

} // namespace
