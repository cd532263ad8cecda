#include "report/Reporte.h"
#include "db/provider/ProviderError.h"
#include "report/engine/DialogoImpresion.h"
#include "suite/DLL_Print.h"
#include "ui/OperadorGuion.h"

#include <gtest/gtest.h>

namespace {

using rp::motor::Destino;
using rp::motor::SolicitudReporte;
using rp::report::DatosConexion;
using rp::report::ReporteControl;
using rp::suite::DialogoComun;
using rp::suite::dllPrint;
using rp::ui::OperadorGuion;

const QString kCancelado = QStringLiteral("El usuario ha cancelado el reporte");

class ReporteTest : public ::testing::Test {
protected:
    OperadorGuion op;
    ReporteControl control;
    DialogoComun dialogo;
    QList<SolicitudReporte> corridas;
    std::function<void(const SolicitudReporte&)> alCorrer;

    void SetUp() override {
        rp::ui::setOperador(&op);
        dllPrint().pPathSistema = QStringLiteral("/app");
        dllPrint().Destino = rp::suite::DLL_Print::DestinoPantalla;
        dllPrint().ConDialogo = true;
        ReporteControl::establecerEjecutor([this](const SolicitudReporte& s) {
            corridas << s;
            if (alCorrer)
                alCorrer(s);
        });
    }
    void TearDown() override {
        EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
        ReporteControl::establecerEjecutor(nullptr);
        rp::ui::setOperador(nullptr);
    }
    void correr(const QString& nombre = QStringLiteral("RP_CambioPreciosHIS"),
                const rp::report::TitulosReporte& titulos = {},
                const QString& conexion = QStringLiteral("DSN=VENTAS; UID=ANA; PWD=x")) {
        rp::report::Reporte(control, dialogo, nombre, {QStringLiteral("+{t.a}")},
                            QStringLiteral("{t.a} = 1"), conexion, titulos);
    }
};

TEST_F(ReporteTest, PantallaConLaPlantillaDeLaCarpetaYLimpiezaDespues) {
    correr(QStringLiteral("RP_CambioPreciosHIS"), {QStringLiteral("Nombreempresa = 'ACME'")});
    ASSERT_EQ(corridas.size(), 1);
    const SolicitudReporte& s = corridas.first();
    EXPECT_EQ(s.destino, Destino::Pantalla);
    EXPECT_EQ(s.plantilla, QStringLiteral("/app/RP_CambioPreciosHIS.rpt"));
    EXPECT_EQ(s.formula, QStringLiteral("{t.a} = 1"));
    EXPECT_EQ(s.orden, QStringList{QStringLiteral("+{t.a}")});
    EXPECT_EQ(s.formulas[0], QStringLiteral("Nombreempresa = 'ACME'"));
    EXPECT_EQ(control.WindowState, 2);
    EXPECT_EQ(control.WindowBorderStyle, 0);
    // Cleared after the run; the connection stays.
    EXPECT_TRUE(control.SelectionFormula.isEmpty());
    EXPECT_TRUE(control.Formulas[0].isEmpty());
    EXPECT_TRUE(control.SortFields.isEmpty());
    EXPECT_EQ(control.DataSource, QStringLiteral("VENTAS"));
    EXPECT_TRUE(op.mensajes().isEmpty());

    correr(QStringLiteral("/datos/R/X.rpt"));
    EXPECT_EQ(corridas.last().plantilla, QStringLiteral("/datos/R/X.rpt"));
}

TEST_F(ReporteTest, CadenaDeConexion) {
    DatosConexion d = DatosConexion::leer(QStringLiteral("DSN=VENTAS; UID=ANA; PWD="));
    EXPECT_EQ(d.origen, QStringLiteral("VENTAS"));
    EXPECT_EQ(d.usuario, QStringLiteral("ANA"));
    EXPECT_EQ(d.clave, QString());
    d = DatosConexion::leer(QStringLiteral("DSN=EMPRESA; uid=sa; pwd=cl;ave"));
    EXPECT_EQ(d.origen, QStringLiteral("EMPRESA"));
    EXPECT_EQ(d.usuario, QStringLiteral("sa"));
    EXPECT_EQ(d.clave, QStringLiteral("cl;ave"));
    d = DatosConexion::leer(QStringLiteral("DSN=SOLO"));
    EXPECT_EQ(d.origen, QStringLiteral("SOLO"));

    correr(QStringLiteral("R"), {}, QStringLiteral("DSN=VENTAS; UID=ANA; PWD=1"));
    correr(QStringLiteral("R"), {}, QStringLiteral("   "));
    EXPECT_EQ(control.DataSource, QStringLiteral("VENTAS"));
    EXPECT_EQ(control.UserName, QStringLiteral("ANA"));
    EXPECT_EQ(corridas.last().cadenaConexion, QStringLiteral("DSN=VENTAS; UID=ANA; PWD=1"));
}

TEST_F(ReporteTest, SoloSeEscribenLosTitulosDadosYLosSubinformesNoVacios) {
    control.Formulas[2] = QStringLiteral("Actual='Previo'");
    rp::report::Reporte(control, dialogo, QStringLiteral("R"), {QString()}, QString(),
                        QStringLiteral("DSN=A; UID=B; PWD=C"), {QStringLiteral("X='1'")},
                        QStringLiteral("  "), QStringLiteral("Detalle"));
    ASSERT_EQ(corridas.size(), 1);
    EXPECT_EQ(corridas[0].formulas[0], QStringLiteral("X='1'"));
    EXPECT_EQ(corridas[0].formulas[2], QStringLiteral("Actual='Previo'"));
    EXPECT_FALSE(corridas[0].formulas[1].has_value());
    EXPECT_TRUE(corridas[0].subinformes[0].isEmpty());
    EXPECT_EQ(corridas[0].subinformes[1], QStringLiteral("Detalle"));
}

TEST_F(ReporteTest, SinCarpetaDelSistemaNoCorre) {
    dllPrint().pPathSistema = QStringLiteral("  ");
    op.responderMensaje(rp::ui::vbOK);
    correr();
    EXPECT_TRUE(corridas.isEmpty());
    ASSERT_EQ(op.mensajes().size(), 1);
    EXPECT_EQ(op.mensajes()[0].texto,
              QStringLiteral("Se debe informar la Variable pPathSistema$ del Control DLL_Print"));
    EXPECT_EQ(op.mensajes()[0].titulo, QStringLiteral("Aviso al operador"));
}

TEST_F(ReporteTest, ImpresoraConDialogoCanceladoNoImprime) {
    dllPrint().Destino = rp::suite::DLL_Print::DestinoImpresora;
    op.responderDialogo([](rp::ui::DialogoModal& m) {
        EXPECT_EQ(m.dialogName(), rp::motor::DialogoImpresion::nombre());
        return false;
    });
    op.responderMensaje(rp::ui::vbOK);
    correr();
    EXPECT_TRUE(corridas.isEmpty());
    ASSERT_EQ(op.mensajes().size(), 1);
    EXPECT_EQ(op.mensajes()[0].texto, kCancelado);
    EXPECT_EQ(op.mensajes()[0].estilo, rp::ui::estilo::Information);
}

TEST_F(ReporteTest, ImpresoraConDialogoTomaCopiasYPaginas) {
    dllPrint().Destino = rp::suite::DLL_Print::DestinoImpresora;
    op.responderDialogo([](rp::ui::DialogoModal& m) {
        auto& d = dynamic_cast<rp::motor::DialogoImpresion&>(m);
        d.copias = 3;
        d.desdePagina = 2;
        d.hastaPagina = 4;
        d.impresora = QStringLiteral("Oficina");
        return true;
    });
    correr();
    ASSERT_EQ(corridas.size(), 1);
    EXPECT_EQ(corridas[0].destino, Destino::Impresora);
    EXPECT_EQ(corridas[0].copias, 3);
    EXPECT_EQ(corridas[0].desdePagina, 2);
    EXPECT_EQ(corridas[0].hastaPagina, 4);
    EXPECT_EQ(corridas[0].impresora, QStringLiteral("Oficina"));
    EXPECT_EQ(control.CopiesToPrinter, 1);

    // Without the dialog the last page range chosen stays; copies go back to 1.
    dllPrint().ConDialogo = false;
    correr();
    ASSERT_EQ(corridas.size(), 2);
    EXPECT_EQ(corridas[1].copias, 1);
    EXPECT_EQ(corridas[1].desdePagina, 2);
    EXPECT_EQ(corridas[1].hastaPagina, 4);
}

TEST_F(ReporteTest, OtroDestinoNoMuestraNadaYLimpia) {
    dllPrint().Destino = 2;
    correr();
    EXPECT_TRUE(corridas.isEmpty());
    EXPECT_TRUE(control.SelectionFormula.isEmpty());
    EXPECT_TRUE(op.mensajes().isEmpty());
}

TEST_F(ReporteTest, CancelacionDelMotorAvisaYLimpia) {
    alCorrer = [](const SolicitudReporte&) {
        throw ReporteControl::Fallo(ReporteControl::ErrorCancelado, QStringLiteral("cancelado"));
    };
    op.responderMensaje(rp::ui::vbOK);
    correr();
    ASSERT_EQ(op.mensajes().size(), 1);
    EXPECT_EQ(op.mensajes()[0].texto, kCancelado);
    EXPECT_TRUE(control.SelectionFormula.isEmpty());
}

TEST_F(ReporteTest, FalloDelMotorPreguntaYReintenta) {
    int veces = 0;
    alCorrer = [&veces](const SolicitudReporte&) {
        if (++veces == 1)
            throw ReporteControl::Fallo(20515, QStringLiteral("falta la plantilla"));
    };
    op.responderMensaje(rp::ui::vbRetry);
    correr();
    EXPECT_EQ(corridas.size(), 2);
    ASSERT_EQ(op.mensajes().size(), 1);
    EXPECT_EQ(op.mensajes()[0].texto,
              QStringLiteral("Ha ocurrido el siguiente error: 20515 falta la plantilla Nro Intero: "
                             "ContErr% = 0\r\n ORIGEN POSIBLE DEL ERROR: \r\n La Impresora no esta "
                             "en Linea \r\n Falta Crear el Origen de Datos ODBC "));
    EXPECT_EQ(op.mensajes()[0].estilo, 18);
    EXPECT_TRUE(control.SelectionFormula.isEmpty());

    // Abort leaves the settings of the failed run in place.
    alCorrer = [](const SolicitudReporte&) { throw ReporteControl::Fallo(1, QStringLiteral("x")); };
    op.responderMensaje(rp::ui::vbAbort);
    correr();
    EXPECT_EQ(control.SelectionFormula, QStringLiteral("{t.a} = 1"));
}

TEST_F(ReporteTest, ExportacionVaAlArchivoPorSuExtension) {
    control.ArchivoExportacion = QStringLiteral("/tmp/x/salida.CSV");
    correr();
    ASSERT_EQ(corridas.size(), 1);
    EXPECT_EQ(corridas[0].destino, Destino::Csv);
    EXPECT_EQ(corridas[0].archivoSalida, QStringLiteral("/tmp/x/salida.CSV"));
    control.ArchivoExportacion = QStringLiteral("/tmp/x/salida.pdf");
    correr();
    EXPECT_EQ(corridas[1].destino, Destino::Pdf);
}

} // namespace

// A query that runs out of time says so instead of blaming the printer.
TEST_F(ReporteTest, TiempoAgotadoTieneSuPropioMensaje) {
    alCorrer = [](const SolicitudReporte&) {
        throw rp::db::DbError(rp::db::errc::Timeout, QStringLiteral("Query timeout expired"),
                              QStringLiteral("SQLite"));
    };
    op.responderMensaje(rp::ui::vbAbort);
    correr();
    ASSERT_EQ(op.mensajes().size(), 1);
    const QString texto = op.mensajes()[0].texto;
    EXPECT_TRUE(texto.startsWith(QStringLiteral("Ha ocurrido el siguiente error: -2147217871 "
                                                "Query timeout expired\r\n")))
        << texto.toStdString();
    EXPECT_TRUE(texto.contains(QStringLiteral("tiempo de espera"))) << texto.toStdString();
    EXPECT_FALSE(texto.contains(QStringLiteral("Impresora"))) << texto.toStdString();
    EXPECT_EQ(op.mensajes()[0].estilo, 18);
}
