#include "report/ComandosBarra.h"

#include "ReporteDemoPrueba.h"
#include "lookup/ArchivoConsultas.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/Lib_FrmCons3.h"
#include "report/FormularioTarifario.h"
#include "report/engine/DialogoImpresion.h"
#include "startup/Configuracion.h"
#include "suite/ControlesForm.h"

namespace {

using rp::motor::Destino;
using rp::motor::SolicitudReporte;
using rp::report::ComandosBarra;
using rp::report::FormularioTarifario;
using rp::report::ReporteControl;
using rp::suite::DialogoComun;

class ComandosBarraTest : public rp::report::test::ReporteDemoPrueba {
protected:
    QList<SolicitudReporte> corridas;

    void SetUp() override {
        ReporteDemoPrueba::SetUp();
        ReporteControl::establecerEjecutor([this](const SolicitudReporte& s) { corridas << s; });
    }
    void TearDown() override {
        ReporteControl::establecerEjecutor(nullptr);
        ReporteDemoPrueba::TearDown();
    }
    static bool aceptar(rp::ui::DialogoModal& m, int copias) {
        auto& d = dynamic_cast<rp::motor::DialogoImpresion&>(m);
        d.copias = copias;
        return true;
    }
};

TEST_F(ComandosBarraTest, PantallaEnLaPestanaCeroPasaPorLaSalidaDeReportes) {
    FormularioTarifario form;
    form.cargar([](const QString& k) { return rp::startup::Cfg(k); });
    ComandosBarra comandos(form);
    form.setTexto(form.IndiceControl(QStringLiteral("ListaDesde")), QStringLiteral("1"));
    form.setChkFiltro(2, true);
    form.comandoBarra(QStringLiteral("pantalla"));
    ASSERT_EQ(corridas.size(), 1) << op.resumenInesperadas().toStdString();
    const SolicitudReporte& s = corridas[0];
    EXPECT_EQ(s.destino, Destino::Pantalla);
    EXPECT_EQ(s.plantilla, carpeta + QStringLiteral("RP_CambioPreciosHIS.rpt"));
    EXPECT_EQ(s.formula, QStringLiteral("TrimLeft(TrimRight({V_MV_PRECIOSHIS.IdLista})) >= '1' "));
    EXPECT_EQ(s.orden, QStringList{QStringLiteral("+{v_ma_articulos.idarticulo}")});
    EXPECT_EQ(s.formulas[0], QStringLiteral("Nombreempresa = '") +
                                 rp::startup::Cfg(QStringLiteral("NOMBRE")) + QStringLiteral("'"));
    EXPECT_EQ(s.formulas[4],
              QStringLiteral("OcultarColumnas = '1 - 3 - 4 - 5 - 6 - 7 - 8 - 9 - '"));
    ASSERT_EQ(s.textosPrecio.size(), 9);
    // The change columns stay hidden: "Mostrar variación" is not checked.
    EXPECT_EQ(s.textosPrecio[8],
              QStringLiteral("OcultarVariacion = 'v0 - v1 - v2 - v3 - v4 - v5 - v6 - v7 - v8 - '"));
    EXPECT_EQ(s.textosPrecio[1],
              QStringLiteral("Precio2='") + form.tituloChkFiltro(2) + QStringLiteral("'"));
    EXPECT_EQ(s.textosPrecio[0], QStringLiteral("Precio1=''"));
    EXPECT_EQ(s.cadenaConexion, QStringLiteral("DSN=EMPRESA_DEMO; UID=demo; PWD=demo"));
    EXPECT_TRUE(cajas().isEmpty());
    form.descargar();
}

TEST_F(ComandosBarraTest, ImpresoraEnLaPestanaDosEscaneaEImprime) {
    FormularioTarifario form;
    ComandosBarra comandos(form);
    form.setPestana(2);
    form.setTexto(form.IndiceControl(QStringLiteral("ListaC")), QStringLiteral("1"));
    const qint64 antes =
        valor(QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE FHULTIMOCOSTO IS NOT NULL"))
            .toLongLong();
    op.responderDialogo([](rp::ui::DialogoModal& m) { return aceptar(m, 2); });
    form.comandoBarra(QStringLiteral("IMPRESORA"));
    ASSERT_EQ(corridas.size(), 1);
    EXPECT_EQ(corridas[0].destino, Destino::Impresora);
    EXPECT_EQ(corridas[0].copias, 2);
    EXPECT_EQ(corridas[0].plantilla, carpeta + QStringLiteral("RP_CambioPreciosHISFEchacosto.rpt"));
    EXPECT_EQ(corridas[0].formulas[2], QStringLiteral("Actual='Costo'"));
    const qint64 despues =
        valor(QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE FHULTIMOCOSTO IS NOT NULL"))
            .toLongLong();
    EXPECT_GE(despues, antes);
    EXPECT_GT(despues, 0);
}

TEST_F(ComandosBarraTest, CopiasLimitadasYDialogoCancelado) {
    FormularioTarifario form;
    ComandosBarra comandos(form);
    op.responderDialogo([](rp::ui::DialogoModal& m) { return aceptar(m, 50); });
    form.comandoBarra(QStringLiteral("IMPRESORA"));
    ASSERT_EQ(corridas.size(), 1);
    EXPECT_EQ(corridas[0].copias, 20);

    form.setPestana(1);
    form.setTexto(form.IndiceControl(QStringLiteral("Lista")), QStringLiteral("1"));
    form.setTexto(form.IndiceControl(QStringLiteral("Fecha")), QStringLiteral("01/01/2024"));
    op.responderDialogo([](rp::ui::DialogoModal&) { return false; });
    op.responderMensaje(rp::ui::vbOK);
    form.comandoBarra(QStringLiteral("Impresora"));
    EXPECT_EQ(corridas.size(), 1);
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_EQ(cajas()[0].texto, QStringLiteral("El usuario ha cancelado el reporte"));
}

} // namespace

namespace {

TEST_F(ComandosBarraTest, F2OnASupplierFieldWritesThePickedKeyTrimmed) {
    rp::lookup::Lib_ClsCons3& q = rp::lookup::gConsulta();
    q.gUsarMascarasConsultas = true;
    q.gRutaMascaraConsultas = carpeta + QStringLiteral("consultas.kst");
    ASSERT_TRUE(rp::lookup::ArchivoConsultas::crear(q.gRutaMascaraConsultas));
    q.cfg = [](const QString& k) { return rp::startup::Cfg(k); };
    FormularioTarifario form;
    form.cargar();
    ComandosBarra comandos(form);
    QList<int> focos;
    QObject::connect(&form, &FormularioTarifario::focoPedido, [&](int i) { focos << i; });
    const int campo = form.IndiceControl(QStringLiteral("ProveedorDesde"));
    const QString segundo =
        columna("SELECT CODIGO FROM VT_PROVEEDORES WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL")
            .value(1);
    op.responderDialogo([](rp::ui::DialogoModal& d) {
        auto& f = dynamic_cast<rp::lookup::Lib_FrmCons3&>(d);
        f.setSeleccionada(1);
        return f.Aceptar();
    });
    form.entrarCampo(campo);
    int f2 = rp::suite::ControlesForm::vbKeyF2;
    form.teclaAbajo(campo, f2);
    EXPECT_EQ(form.texto(campo), segundo);
    EXPECT_EQ(focos, QList<int>({campo + 1})); // as after Enter

    // Esc in the lookup leaves what the operator typed.
    op.responderDialogo([](rp::ui::DialogoModal&) { return false; });
    form.setTexto(campo, QStringLiteral("tecleado"));
    form.comandoBarra(QStringLiteral("CONSULTAR"));
    EXPECT_EQ(form.texto(campo), QStringLiteral("tecleado"));
    EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
    q = rp::lookup::Lib_ClsCons3();
    form.descargar();
}

} // namespace
