// PDF, printer and preview output on the offscreen platform.
#include "../BaseDePrueba.h"
#include "../LectorXlsx.h"

#include "db/provider/ProviderError.h"
#include "report/engine/DialogoImpresion.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/Paginador.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/BarraBusqueda.h"
#include "report/engine/widgets/EjecutorReporte.h"
#include "report/engine/widgets/SalidaImpresora.h"
#include "report/engine/widgets/SalidaPdf.h"
#include "report/engine/widgets/VentanaVistaPrevia.h"
#include "ui/OperadorGuion.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace rp::motor;

namespace {

// Pages of a PDF file: its page objects ("/Type /Page", not "/Pages").
int paginasPdf(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray datos = f.readAll();
    static const QRegularExpression pagina(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return static_cast<int>(QString::fromLatin1(datos).count(pagina));
}

// A cursor of `n` generated rows that counts how many were fetched.
class CursorContado : public rp::db::Cursor {
public:
    CursorContado(int n, int* leidas) : n_(n), leidas_(leidas) {
        for (int i = 0; i < 5; ++i)
            campos_ << rp::db::Field{QStringLiteral("c%1").arg(i), rp::db::adtype::VarWChar, 0};
    }
    const QList<rp::db::Field>& fields() const override { return campos_; }
    bool fetch() override {
        if (i_ >= n_)
            return false;
        ++i_;
        ++*leidas_;
        return true;
    }
    QVariant value(int c) const override {
        switch (c) {
        case 0:
            return i_;
        case 1:
            return QStringLiteral("artículo %1").arg(i_);
        case 4:
            return QDateTime(QDate(2024, 12, 31), QTime(10, 0));
        default:
            return i_ * 1.25;
        }
    }

private:
    QList<rp::db::Field> campos_;
    int n_;
    int* leidas_;
    int i_ = 0;
};

class Render : public ::testing::Test {
protected:
    void SetUp() override {
        ruta_ = base_.plantilla("historial.rpt", prueba::BaseDePrueba::textoHistorial());
    }
    FuenteDatos generadas(int n) {
        FuenteDatos f;
        f.consultar = [this, n](const QString&) -> std::unique_ptr<rp::db::Cursor> {
            return std::make_unique<CursorContado>(n, &leidas_);
        };
        return f;
    }
    int filasPorPagina() {
        const auto rep = ReportePreparado::preparar(LectorPlantilla::leerArchivo(ruta_), {});
        return Paginador(*rep).filasPorPagina();
    }

    prueba::BaseDePrueba base_;
    QString ruta_;
    int leidas_ = 0;
    rp::ui::OperadorGuion operador_;
};

} // namespace

TEST_F(Render, PdfConUnaPaginaPorPaginaDelReporte) {
    const int n = filasPorPagina() * 4 + 1;
    SolicitudReporte s;
    s.plantilla = ruta_;
    s.destino = Destino::Pdf;
    s.archivoSalida = base_.dir.filePath("r.pdf");
    EjecutorReporte e(generadas(n), operador_);
    QStringList traza;
    e.fijarTraza([&](const QString& t) { traza << t; });
    EXPECT_EQ(EjecutorReporte::Resultado::Exportado, e.ejecutar(s));
    EXPECT_EQ(5, paginasPdf(s.archivoSalida));
    ASSERT_EQ(2, traza.size());
    EXPECT_TRUE(traza.at(0).startsWith("plantilla=")) << traza.at(0).toStdString();
    EXPECT_TRUE(traza.at(1).contains("SELECT V_MV_PRECIOSHIS.IDHIS AS c0"));
}

TEST_F(Render, PdfDesdeLaBaseReal) {
    SolicitudReporte s;
    s.plantilla = ruta_;
    s.destino = Destino::Pdf;
    s.formula = QStringLiteral("{V_MV_PRECIOSHIS.FECHAHORA} <= Date(2024,12,31)");
    s.archivoSalida = base_.dir.filePath("r.pdf");
    EjecutorReporte e(base_.fuente(), operador_);
    EXPECT_EQ(EjecutorReporte::Resultado::Exportado, e.ejecutar(s));
    EXPECT_EQ(1, paginasPdf(s.archivoSalida));
    EXPECT_TRUE(base_.sentencias.last().contains("WHERE V_MV_PRECIOSHIS.FECHAHORA < CONVERT("));
}

TEST_F(Render, ImpresoraRespetaIntervaloYCopias) {
    const int n = filasPorPagina() * 5; // 5 pages
    SolicitudReporte s;
    s.plantilla = ruta_;
    s.destino = Destino::Impresora;
    s.archivoSalida = base_.dir.filePath("impreso.pdf");
    s.copias = 2;
    s.desdePagina = 2;
    s.hastaPagina = 4;
    EjecutorReporte e(generadas(n), operador_);
    EXPECT_EQ(EjecutorReporte::Resultado::Impreso, e.ejecutar(s));
    EXPECT_EQ(6, e.hojasImpresas());
    EXPECT_EQ(6, paginasPdf(s.archivoSalida));
}

TEST_F(Render, DialogoDeImpresionPorElOperador) {
    const int n = filasPorPagina() * 3;
    SolicitudReporte s;
    s.plantilla = ruta_;
    s.destino = Destino::Impresora;
    s.archivoSalida = base_.dir.filePath("impreso.pdf");
    s.conDialogo = true;
    int total = 0;
    operador_.responderDialogo([&](rp::ui::DialogoModal& m) {
        auto& d = dynamic_cast<DialogoImpresion&>(m);
        total = d.totalPaginas;
        d.copias = 3;
        d.desdePagina = 3;
        d.hastaPagina = 9; // beyond the last page: up to the last one
        return true;
    });
    EjecutorReporte e(generadas(n), operador_);
    EXPECT_EQ(EjecutorReporte::Resultado::Impreso, e.ejecutar(s));
    EXPECT_EQ(3, total);
    EXPECT_EQ(3, paginasPdf(s.archivoSalida));

    // Cancelled: nothing is printed.
    QFile::remove(s.archivoSalida);
    operador_.responderDialogo([](rp::ui::DialogoModal&) { return false; });
    EXPECT_EQ(EjecutorReporte::Resultado::Cancelado, e.ejecutar(s));
    EXPECT_FALSE(QFile::exists(s.archivoSalida));
    EXPECT_TRUE(operador_.sinInesperadas());
}

TEST_F(Render, OtrosDestinosSinSalida) {
    SolicitudReporte s;
    s.plantilla = QStringLiteral("/no/existe.rpt");
    s.destino = Destino::Otro2;
    EjecutorReporte e(generadas(1), operador_);
    EXPECT_EQ(EjecutorReporte::Resultado::SinSalida, e.ejecutar(s));
}

TEST_F(Render, VistaPreviaMuestraLaPrimeraPaginaAntesDeLaUltimaFila) {
    const int porPagina = filasPorPagina();
    const int n = porPagina * 6;
    SolicitudReporte s;
    s.plantilla = ruta_;
    EjecutorReporte e(generadas(n), operador_);
    ASSERT_EQ(EjecutorReporte::Resultado::Mostrado, e.ejecutar(s));
    QPointer<VentanaVistaPrevia> v = e.ventana();
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isMaximized() || v->windowState().testFlag(Qt::WindowMaximized));
    v->fijarLote(porPagina + 1);
    // One turn of the event loop lays out the first page only.
    while (v->paginasListas() == 0)
        QCoreApplication::processEvents();
    EXPECT_LT(leidas_, n);
    EXPECT_FALSE(v->terminado());
    auto* etiqueta = v->findChild<QLabel*>("etiquetaPagina");
    ASSERT_TRUE(etiqueta);
    EXPECT_EQ("Página 1 de 1+", etiqueta->text().toStdString());
    while (!v->terminado())
        QCoreApplication::processEvents();
    // The rows were read once to count the pages, and those of the page
    // shown (up to the first row of the next) once more; no page but the
    // one shown is kept.
    EXPECT_EQ(n + porPagina + 1, leidas_);
    EXPECT_EQ(1, v->paginasEnMemoria());
    EXPECT_EQ("Página 1 de 6", etiqueta->text().toStdString());
    v->findChild<QAction*>("ultima")->trigger();
    EXPECT_EQ(6, v->paginaActual());
    v->findChild<QAction*>("anterior")->trigger();
    EXPECT_EQ("Página 5 de 6", etiqueta->text().toStdString());

    // Export buttons ask for the file through the operator.
    const QString pdf = base_.dir.filePath("vista.pdf");
    operador_.responderArchivo(pdf);
    v->findChild<QAction*>("exportarPdf")->trigger();
    EXPECT_EQ(6, paginasPdf(pdf));
    const QString csv = base_.dir.filePath("vista.csv");
    operador_.responderArchivo(csv);
    v->findChild<QAction*>("exportarCsv")->trigger();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(n + 1, f.readAll().count("\r\n"));
    const QString xlsx = base_.dir.filePath("vista.xlsx");
    operador_.responderArchivo(xlsx);
    v->findChild<QAction*>("exportarXlsx")->trigger();
    ASSERT_TRUE(QFile::exists(xlsx));
    if (prueba::LectorXlsx::disponible()) {
        const auto libro = prueba::LectorXlsx::leer(xlsx);
        ASSERT_TRUE(libro);
        EXPECT_EQ(n + 1, libro->at(0).toObject()["filas"].toArray().size());
    }
    EXPECT_TRUE(operador_.sinInesperadas()) << operador_.resumenInesperadas().toStdString();

    // Esc closes (and deletes) the window.
    QTest::keyClick(v, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(v.isNull());
}

// The search starts on the pages laid out so far, shows its first hit at once
// and goes on as pages arrive; Esc cancels it and the window stays.
TEST_F(Render, BusquedaMientrasSeComponenLasPaginasYEscLaCancela) {
    const int porPagina = filasPorPagina();
    SolicitudReporte s;
    s.plantilla = ruta_;
    EjecutorReporte e(generadas(porPagina * 60), operador_);
    ASSERT_EQ(EjecutorReporte::Resultado::Mostrado, e.ejecutar(s));
    QPointer<VentanaVistaPrevia> v = e.ventana();
    ASSERT_TRUE(v);
    v->fijarLote(porPagina / 2);
    while (v->paginasListas() < 2)
        QCoreApplication::processEvents();
    ASSERT_FALSE(v->terminado());
    BarraBusqueda& barra = v->busqueda();
    barra.fijarLote(1);
    QTest::keyClick(v, Qt::Key_F, Qt::ControlModifier);
    auto* campo = v->findChild<QLineEdit*>("textoBusqueda");
    ASSERT_TRUE(campo && campo->isVisible());
    // "artículo 1" is on the first page (1, 10..19, 100...) and later ones.
    QTest::keyClicks(campo, QStringLiteral("ARTÍCULO 1"));
    QTest::keyClick(campo, Qt::Key_Return);
    EXPECT_TRUE(barra.buscador().activa());
    EXPECT_EQ(1, v->paginaActual());
    auto* etiqueta = v->findChild<QLabel*>("etiquetaBusqueda");
    EXPECT_TRUE(etiqueta->text().startsWith("1 de ")) << etiqueta->text().toStdString();
    EXPECT_TRUE(etiqueta->text().endsWith('+')) << etiqueta->text().toStdString();
    QTest::keyClick(campo, Qt::Key_Escape);
    EXPECT_FALSE(barra.buscador().activa());
    EXPECT_TRUE(etiqueta->text().endsWith("(cancelada)")) << etiqueta->text().toStdString();
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isVisible());
    // The layout goes on; a new search (Enter) then covers every page.
    while (!v->terminado())
        QCoreApplication::processEvents();
    barra.fijarLote(1000);
    QTest::keyClick(campo, Qt::Key_Return);
    while (barra.buscador().activa())
        QCoreApplication::processEvents();
    int esperadas = 0;
    for (int i = 1; i <= porPagina * 40; ++i)
        esperadas += QStringLiteral("artículo %1").arg(i).contains("artículo 1") ? 1 : 0;
    EXPECT_EQ(QStringLiteral("1 de %1").arg(esperadas), etiqueta->text());

    // Pages are laid out as they are shown, and only the last few stay.
    for (int i = 0; i < 30; ++i)
        v->findChild<QAction*>("siguiente")->trigger();
    EXPECT_EQ(31, v->paginaActual());
    ASSERT_NE(v->paginaMostrada(), nullptr);
    EXPECT_EQ(31, v->paginaMostrada()->numero);
    EXPECT_EQ(VentanaVistaPrevia::PaginasEnMemoria, v->paginasEnMemoria());
    v->close();
}

// Esc during the Excel export from the preview cancels it: no file, no
// message, the window stays; closing the window waits for the export too.
TEST_F(Render, ExportarExcelDesdeLaVistaPreviaSeCancelaConEsc) {
    SolicitudReporte s;
    s.plantilla = ruta_;
    EjecutorReporte e(generadas(20000), operador_);
    ASSERT_EQ(EjecutorReporte::Resultado::Mostrado, e.ejecutar(s));
    QPointer<VentanaVistaPrevia> v = e.ventana();
    ASSERT_TRUE(v);
    const QString xlsx = base_.dir.filePath("cancelado.xlsx");
    operador_.responderArchivo(xlsx);
    bool exportaba = false;
    QString etiquetaDurante;
    QTimer::singleShot(0, v, [&] {
        exportaba = v->exportando();
        etiquetaDurante = v->findChild<QLabel*>("etiquetaPagina")->text();
        v->close(); // refused while the export runs: it cancels it
        QTest::keyClick(v, Qt::Key_Escape);
    });
    v->findChild<QAction*>("exportarXlsx")->trigger();
    EXPECT_TRUE(exportaba);
    EXPECT_TRUE(etiquetaDurante.startsWith("Exportando: ")) << etiquetaDurante.toStdString();
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isVisible());
    EXPECT_FALSE(v->exportando());
    EXPECT_FALSE(QFile::exists(xlsx));
    EXPECT_TRUE(operador_.mensajes().isEmpty());
    EXPECT_TRUE(v->findChild<QLabel*>("etiquetaPagina")->text().startsWith("Página"));
    // Afterwards an export runs whole.
    operador_.responderArchivo(xlsx);
    v->findChild<QAction*>("exportarXlsx")->trigger();
    EXPECT_TRUE(QFile::exists(xlsx));
    EXPECT_TRUE(operador_.sinInesperadas()) << operador_.resumenInesperadas().toStdString();
    v->close();
}

// PDF and print from the preview run in slices with their progress shown:
// Esc during the layout or the painting cancels them, no file is left and
// the window goes on; afterwards the same export runs whole, as `--export`
// writes it (one PDF writer).
TEST_F(Render, PdfEImpresionDesdeLaVistaPreviaSeCancelanSinDejarArchivo) {
    const int porPagina = filasPorPagina();
    SolicitudReporte s;
    s.plantilla = ruta_;
    EjecutorReporte e(generadas(porPagina * 60), operador_);
    ASSERT_EQ(EjecutorReporte::Resultado::Mostrado, e.ejecutar(s));
    QPointer<VentanaVistaPrevia> v = e.ventana();
    ASSERT_TRUE(v);
    v->fijarLote(porPagina); // a page per turn
    auto* cancelar = v->findChild<QAction*>("cancelarTarea");
    ASSERT_NE(cancelar, nullptr);
    // While the rows arrive the button stops the layout where it is.
    EXPECT_TRUE(cancelar->isVisible());
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    cancelar->trigger();
    EXPECT_FALSE(cancelar->isVisible());
    const int hechas = v->paginasListas();
    v->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v));
    EXPECT_EQ(hechas, v->paginasListas());
    ASSERT_FALSE(v->terminado());
    auto* etiqueta = v->findChild<QLabel*>("etiquetaPagina");
    const QString pdf = base_.dir.filePath("previa.pdf");

    // Cancelled while the pages are still being laid out.
    operador_.responderArchivo(pdf);
    QString durante;
    QTimer::singleShot(0, v, [&] {
        durante = etiqueta->text();
        QTest::keyClick(v, Qt::Key_Escape);
    });
    v->findChild<QAction*>("exportarPdf")->trigger();
    EXPECT_TRUE(durante.startsWith("Componiendo: ")) << durante.toStdString();
    ASSERT_TRUE(v);
    EXPECT_FALSE(v->exportando());
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(v->terminado());
    EXPECT_TRUE(etiqueta->text().startsWith("Página")) << etiqueta->text().toStdString();

    // Cancelled while the pages are painted: the button, as a person clicks it.
    v->terminarAhora();
    operador_.responderArchivo(pdf);
    int paginasDurante = 0;
    std::function<void()> pulsar = [&] {
        if (etiqueta->text().startsWith("Exportando: ")) {
            paginasDurante = 1;
            EXPECT_TRUE(cancelar->isEnabled());
            EXPECT_FALSE(v->findChild<QAction*>("exportarCsv")->isEnabled());
            cancelar->trigger();
        } else {
            QTimer::singleShot(0, v, pulsar);
        }
    };
    QTimer::singleShot(0, v, pulsar);
    v->findChild<QAction*>("exportarPdf")->trigger();
    EXPECT_EQ(1, paginasDurante);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(v->findChild<QAction*>("exportarCsv")->isEnabled());

    // Printing into a PDF file, cancelled, leaves no file either.
    const QString impreso = base_.dir.filePath("impreso.pdf");
    operador_.responderDialogo([&](rp::ui::DialogoModal& m) {
        dynamic_cast<DialogoImpresion&>(m).archivoPdf = impreso;
        return true;
    });
    QTimer::singleShot(0, v, [&] { QTest::keyClick(v, Qt::Key_Escape); });
    v->findChild<QAction*>("imprimir")->trigger();
    EXPECT_FALSE(QFile::exists(impreso));

    // Whole, the preview's PDF has the pages of the report, as --export's.
    operador_.responderArchivo(pdf);
    v->findChild<QAction*>("exportarPdf")->trigger();
    const int paginas = static_cast<int>(v->todasLasPaginas().size());
    EXPECT_EQ(paginas, paginasPdf(pdf));
    const auto rep = ReportePreparado::preparar(LectorPlantilla::leerArchivo(ruta_), {});
    const QString exportado = base_.dir.filePath("exportado.pdf");
    EXPECT_EQ(paginas, SalidaPdf::escribirArchivo(*rep, generadas(porPagina * 60), exportado));
    EXPECT_EQ(paginas, paginasPdf(exportado));
    EXPECT_TRUE(operador_.mensajes().isEmpty());
    EXPECT_TRUE(operador_.sinInesperadas()) << operador_.resumenInesperadas().toStdString();
    v->close();
}

namespace {
// Counts the paint events of a widget.
class ContadorPintado : public QObject {
public:
    int veces = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++veces;
        return QObject::eventFilter(o, e);
    }
};
} // namespace

// While the pages are laid out, the page shown is not repainted for each new
// page (a repaint costs as much as laying out a few pages): its footer's
// count follows a few times a second, and exactly at the end.
TEST_F(Render, LaPaginaMostradaNoSeRepintaPorCadaPaginaNueva) {
    const int porPagina = filasPorPagina();
    SolicitudReporte s;
    s.plantilla = ruta_;
    EjecutorReporte e(generadas(porPagina * 120), operador_);
    ASSERT_EQ(EjecutorReporte::Resultado::Mostrado, e.ejecutar(s));
    QPointer<VentanaVistaPrevia> v = e.ventana();
    ASSERT_TRUE(v);
    v->fijarLote(porPagina / 2);
    ContadorPintado contador;
    v->findChild<QWidget*>("vistaPagina")->installEventFilter(&contador);
    ASSERT_TRUE(QTest::qWaitFor([&] { return v->terminado(); }, 60000));
    QTest::qWait(50);
    EXPECT_LT(contador.veces, 40) << "repaints for 120 pages";
    EXPECT_GE(contador.veces, 1);
    EXPECT_EQ("Página 1 de 120", v->findChild<QLabel*>("etiquetaPagina")->text().toStdString());
    v->close();
}

TEST_F(Render, VistaPreviaInformaUnErrorDeLaConsulta) {
    SolicitudReporte s;
    s.plantilla = ruta_;
    s.orden = {QStringLiteral("+{V_MA_ARTICULOS.NOEXISTE}")};
    operador_.responderMensaje(rp::ui::vbOK);
    EjecutorReporte e(base_.fuente(), operador_);
    ASSERT_EQ(EjecutorReporte::Resultado::Mostrado, e.ejecutar(s));
    ASSERT_EQ(1, operador_.mensajes().size());
    EXPECT_TRUE(operador_.mensajes().at(0).texto.startsWith("Ha ocurrido el siguiente error: "));
    EXPECT_EQ("Aviso al operador", operador_.mensajes().at(0).titulo.toStdString());
    delete e.ventana();
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// A hit deeper than the pages counted so far: the count goes on to its page,
// which is laid out alone from the database and shown with the hit marked.
TEST_F(Render, BusquedaMasAllaDeLasPaginasContadasMuestraSuPagina) {
    base_.ejecutar("BEGIN");
    for (int i = 1; i <= 3000; ++i)
        base_.ejecutar(QStringLiteral("INSERT INTO V_MV_PRECIOSHIS VALUES (%1, '1', "
                                      "'                      200', '2024-06-01 10:00:00', 'u', "
                                      "1.5, 2, 2)")
                           .arg(i + 10));
    base_.ejecutar("COMMIT");
    base_.ejecutar("UPDATE V_MV_PRECIOSHIS SET COSTO = 98765.25 WHERE IDHIS = 2105");
    const auto rep = ReportePreparado::preparar(LectorPlantilla::leerArchivo(ruta_), {});
    VentanaVistaPrevia v(rep, base_.fuente(), operador_);
    v.fijarLote(1); // the count crawls
    v.show();
    v.comenzar();
    while (v.paginasListas() < 1)
        QCoreApplication::processEvents();
    // The cost of one row, as the page shows it (the regional settings'
    // separators).
    int esperada = 0;
    QString buscado;
    const QList<PaginaReporte> todas = v.todasLasPaginas();
    for (const PaginaReporte& p : todas) {
        for (const ElementoPagina& e : p.elementos) {
            if (e.texto.startsWith(QStringLiteral("98")) &&
                e.texto.contains(QStringLiteral("765"))) {
                esperada = p.numero;
                buscado = e.texto;
            }
        }
    }
    ASSERT_GT(esperada, 10);
    ASSERT_LT(v.paginasListas(), esperada);
    v.busqueda().buscar(buscado);
    while (v.busqueda().buscador().actual() < 0 && !v.busqueda().buscador().completa())
        QCoreApplication::processEvents();
    EXPECT_EQ(esperada, v.paginaActual());
    ASSERT_NE(v.paginaMostrada(), nullptr);
    EXPECT_EQ(esperada, v.paginaMostrada()->numero);
    const auto& hit = v.busqueda().buscador().coincidencias().at(v.busqueda().buscador().actual());
    EXPECT_EQ(buscado, v.paginaMostrada()->elementos.at(hit.elemento).texto);
    EXPECT_FALSE(v.terminado());
    EXPECT_TRUE(operador_.mensajes().isEmpty());
}

// The database failing when a page is laid out alone: one message, the
// window stays with what it shows, and asking again does not repeat it.
TEST_F(Render, PaginaQueNoSePuedeLeerSeAvisaUnaVez) {
    base_.ejecutar("BEGIN");
    for (int i = 1; i <= 300; ++i)
        base_.ejecutar(QStringLiteral("INSERT INTO V_MV_PRECIOSHIS VALUES (%1, '1', "
                                      "'                      200', '2024-06-01 10:00:00', 'u', "
                                      "1.5, 2, 2)")
                           .arg(i + 10));
    base_.ejecutar("COMMIT");
    const auto rep = ReportePreparado::preparar(LectorPlantilla::leerArchivo(ruta_), {});
    FuenteDatos fuente = base_.fuente();
    const auto consultar = fuente.consultar;
    fuente.consultar = [consultar](const QString& sql) {
        if (sql.contains(QStringLiteral(" >= ")))
            throw rp::db::DbError(-1, QStringLiteral("se perdió la conexión"));
        return consultar(sql);
    };
    VentanaVistaPrevia v(rep, fuente, operador_);
    v.comenzar();
    v.terminarAhora();
    ASSERT_GT(v.paginasListas(), 3);
    EXPECT_TRUE(operador_.mensajes().isEmpty());
    v.irAPagina(3);
    v.irAPagina(4);
    v.findChild<QAction*>("ultima")->trigger();
    ASSERT_EQ(1, operador_.mensajes().size());
    EXPECT_TRUE(
        operador_.mensajes().first().texto.contains(QStringLiteral("se perdió la conexión")))
        << operador_.mensajes().first().texto.toStdString();
    // The first page is read from the start and still shows.
    v.irAPagina(1);
    ASSERT_NE(v.paginaMostrada(), nullptr);
    EXPECT_EQ(1, v.paginaMostrada()->numero);
}
