// The change-history report on the large database (1,000,000 changes): CSV
// export through the engine's streamed writer against the sqlite3 tool with
// ".mode csv" on the same statement, with the peak resident memory of the
// export; PDF pages per second; time to the first page of the preview.
#include "HistorialBench.h"
#include "common/DatosBench.h"
#include "common/HerramientaSqlite.h"
#include "common/MemoriaPico.h"
#include "db/provider/ProviderError.h"
#include "report/ExportarReporte.h"
#include "report/engine/DisenoPagina.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/EscritorCsv.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/Paginador.h"
#include "report/engine/widgets/SalidaPdf.h"
#include "report/engine/widgets/VentanaVistaPrevia.h"
#include "report/engine/widgets/VistaPagina.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace rp::bench;

// Articles of the partial runs: about a tenth of the history for the memory
// comparison, a hundredth for the PDF.
constexpr int kArticulosParte = 10000;
constexpr int kArticulosPdf = 1000;

bool preparado(benchmark::State& state) {
    const QString error = DatosBench::abrirBaseCompartida();
    if (!error.isEmpty())
        state.SkipWithError(error.toUtf8().constData());
    return error.isEmpty();
}

void fallo(benchmark::State& state, const QString& texto) {
    state.SkipWithError(texto.toUtf8().constData());
}

// A work folder next to the data (the outputs are hundreds of megabytes).
QString carpetaSalida() {
    const QString carpeta = DatosBench::carpetaCache() + QStringLiteral("/salidas");
    QDir().mkpath(carpeta);
    return carpeta;
}

void ponerFilas(benchmark::State& state, qint64 filas) {
    const double total = double(filas) * double(state.iterations());
    state.counters["rows"] = benchmark::Counter(total, benchmark::Counter::kAvgIterations);
    state.counters["rows_per_s"] = benchmark::Counter(total, benchmark::Counter::kIsRate);
}

// The engine's CSV writer on the history selected by `formula`; reports the
// rows, the file size and how far the resident memory rose above what it was
// before the export.
void exportarCsv(benchmark::State& state, const QString& formula) {
    if (!preparado(state))
        return;
    QString error;
    const auto reporte = HistorialBench::preparar(formula, &error);
    if (!reporte)
        return fallo(state, error);
    const QString archivo = carpetaSalida() + QStringLiteral("/historial-motor.csv");
    const bool conPico = MemoriaPico::reiniciarPico();
    const qint64 antes = MemoriaPico::actualKb();
    qint64 filas = 0;
    for (auto _ : state) {
        try {
            filas = rp::motor::EscritorCsv::escribirArchivo(*reporte, HistorialBench::fuente(),
                                                            archivo);
        } catch (const rp::motor::ErrorMotor& e) {
            return fallo(state, e.texto());
        } catch (const rp::db::DbError& e) {
            return fallo(state, e.description());
        }
    }
    ponerFilas(state, filas);
    state.counters["file_mb"] = QFileInfo(archivo).size() / 1048576.0;
    state.counters["rss_before_mb"] = antes / 1024.0;
    if (conPico)
        state.counters["peak_rss_rise_mb"] = (MemoriaPico::picoKb() - antes) / 1024.0;
    QFile::remove(archivo);
}

void BM_Csv_Motor_Historial(benchmark::State& state) {
    exportarCsv(state, QString());
}

void BM_Csv_Motor_Decima(benchmark::State& state) {
    exportarCsv(state, HistorialBench::hastaArticulo(kArticulosParte));
}

// The headless export of the program (--export FILE --tab 0, no ranges): the
// form, the report run and the request hand-over in front of the same writer.
void BM_Csv_ExportarReporte_Historial(benchmark::State& state) {
    if (!preparado(state))
        return;
    const QString archivo = carpetaSalida() + QStringLiteral("/historial-programa.csv");
    const bool conPico = MemoriaPico::reiniciarPico();
    const qint64 antes = MemoriaPico::actualKb();
    for (auto _ : state) {
        const int estado =
            rp::report::ExportarReporte(archivo, 0, {}, std::nullopt, std::nullopt, std::nullopt);
        if (estado != 0)
            return fallo(state, QStringLiteral("ExportarReporte termino con %1").arg(estado));
    }
    // Data rows: the lines of the file after the header (no cell of this
    // report holds a line break).
    qint64 lineas = 0;
    QFile f(archivo);
    if (f.open(QIODevice::ReadOnly)) {
        while (!f.atEnd())
            lineas += f.readLine().isEmpty() ? 0 : 1;
    }
    ponerFilas(state, lineas - 1);
    state.counters["file_mb"] = QFileInfo(archivo).size() / 1048576.0;
    if (conPico)
        state.counters["peak_rss_rise_mb"] = (MemoriaPico::picoKb() - antes) / 1024.0;
    QFile::remove(archivo);
}

// The same statement written by the sqlite3 tool as CSV with a header row.
void BM_Csv_Sqlite3Tool_Historial(benchmark::State& state) {
    if (!preparado(state))
        return;
    QString error;
    const auto reporte = HistorialBench::preparar(QString(), &error);
    if (!reporte)
        return fallo(state, error);
    const QString consulta = HistorialBench::formaSqlite(reporte->sentencia());
    const QString base = DatosBench::baseGrande();
    const qint64 filas = HerramientaSqlite::contarFilas(base, consulta, &error);
    if (filas < 0)
        return fallo(state, error);
    const QString archivo = carpetaSalida() + QStringLiteral("/historial-sqlite3.csv");
    const QString guion = QStringLiteral(".headers on\n.mode csv\n.output ") + archivo +
                          QLatin1Char('\n') + consulta + QLatin1Char(';');
    double cpu = 0;
    for (auto _ : state) {
        const HerramientaSqlite::Resultado r = HerramientaSqlite::ejecutar(base, guion);
        if (!r.ok)
            return fallo(state, r.error);
        cpu += r.segundosCpu;
    }
    ponerFilas(state, filas);
    state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
    state.counters["file_mb"] = QFileInfo(archivo).size() / 1048576.0;
    QFile::remove(archivo);
}

// The counters of a PDF run of `paginas` pages per iteration into `archivo`,
// which it then removes.
void contarPaginasPdf(benchmark::State& state, int paginas, const QString& archivo) {
    const double total = double(paginas) * double(state.iterations());
    state.counters["pages"] = benchmark::Counter(total, benchmark::Counter::kAvgIterations);
    state.counters["pages_per_s"] = benchmark::Counter(total, benchmark::Counter::kIsRate);
    state.counters["file_mb"] = QFileInfo(archivo).size() / 1048576.0;
    QFile::remove(archivo);
}

// PDF of the history of the first articles: pages written per second.
void BM_Pdf_Historial(benchmark::State& state) {
    if (!preparado(state))
        return;
    QString error;
    const auto reporte =
        HistorialBench::preparar(HistorialBench::hastaArticulo(kArticulosPdf), &error);
    if (!reporte)
        return fallo(state, error);
    const QString archivo = carpetaSalida() + QStringLiteral("/historial.pdf");
    int paginas = 0;
    for (auto _ : state) {
        try {
            paginas =
                rp::motor::SalidaPdf::escribirArchivo(*reporte, HistorialBench::fuente(), archivo);
        } catch (const rp::motor::ErrorMotor& e) {
            return fallo(state, e.texto());
        } catch (const rp::db::DbError& e) {
            return fallo(state, e.description());
        }
    }
    contarPaginasPdf(state, paginas, archivo);
}

// The same pages as BM_Pdf_Historial through Qt's PDF engine (QPdfWriter),
// painted by the same page painter with its glyph runs: how SalidaPdf wrote
// them before it wrote page streams itself.
void BM_Pdf_HistorialMotorQt(benchmark::State& state) {
    if (!preparado(state))
        return;
    QString error;
    const auto reporte =
        HistorialBench::preparar(HistorialBench::hastaArticulo(kArticulosPdf), &error);
    if (!reporte)
        return fallo(state, error);
    const QString archivo = carpetaSalida() + QStringLiteral("/historial-qt.pdf");
    int paginas = 0;
    for (auto _ : state) {
        try {
            auto filas = reporte->abrir(HistorialBench::fuente(), true);
            const QList<rp::motor::PaginaReporte> lista =
                rp::motor::Paginador::componer(*reporte, *filas);
            const rp::motor::DisenoPagina d = rp::motor::DisenoPagina::calcular(*reporte);
            const rp::motor::Plantilla& p = reporte->plantilla();
            QPdfWriter pdf(archivo);
            pdf.setResolution(300);
            double ancho = 0, alto = 0;
            rp::motor::DisenoPagina::tamanoPapel(p.papel, ancho, alto);
            pdf.setPageLayout(
                QPageLayout(QPageSize(QSizeF(ancho, alto), QPageSize::Millimeter),
                            d.horizontal ? QPageLayout::Landscape : QPageLayout::Portrait,
                            QMarginsF(0, 0, 0, 0)));
            QPainter pintor(&pdf);
            const rp::motor::PintorPagina pintorPagina(p.letra, p.tamanoLetra);
            const QRectF area(0, 0, pdf.width(), pdf.height());
            for (qsizetype i = 0; i < lista.size(); ++i) {
                if (i > 0)
                    pdf.newPage();
                pintorPagina.pintar(pintor, lista.at(i), area, d.anchoPapel, d.altoPapel,
                                    static_cast<int>(lista.size()));
            }
            pintor.end();
            paginas = static_cast<int>(lista.size());
        } catch (const rp::motor::ErrorMotor& e) {
            return fallo(state, e.texto());
        } catch (const rp::db::DbError& e) {
            return fallo(state, e.description());
        }
    }
    contarPaginasPdf(state, paginas, archivo);
}

// The preview of the whole history: from opening the window to the first page
// laid out and painted (offscreen).
void BM_VistaPrevia_PrimeraPagina(benchmark::State& state) {
    if (!preparado(state))
        return;
    QString error;
    const auto reporte = HistorialBench::preparar(QString(), &error);
    if (!reporte)
        return fallo(state, error);
    int filasPorPagina = 0;
    for (auto _ : state) {
        auto* ventana = HistorialBench::abrirVistaPrevia(reporte);
        auto* vista = ventana->findChild<rp::motor::VistaPagina*>();
        QPixmap imagen = vista ? vista->grab() : ventana->grab();
        benchmark::DoNotOptimize(imagen);
        state.PauseTiming();
        filasPorPagina = ventana->filasPorPagina();
        const bool vacia = ventana->paginasListas() < 1;
        delete ventana;
        QCoreApplication::processEvents();
        state.ResumeTiming();
        if (vacia)
            return fallo(state, QStringLiteral("la vista previa no compuso ninguna pagina"));
    }
    state.counters["rows_per_page"] = filasPorPagina;
}

// A plain QPdfWriter loop as the reference of the PDF figure: the pages of
// BM_Pdf_Historial (189, A4 landscape, 300 dpi, DejaVu Sans 6.5 pt) with 50
// rows of 16 cells each, every cell a number or a date through drawText in
// its box, nothing read or laid out.
void BM_Pdf_QPdfWriterSimple(benchmark::State& state) {
    constexpr int kPaginas = 189, kFilas = 50, kCeldas = 16;
    const QString archivo = carpetaSalida() + QStringLiteral("/simple.pdf");
    for (auto _ : state) {
        QPdfWriter pdf(archivo);
        pdf.setResolution(300);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        QPainter p(&pdf);
        QFont letra(QStringLiteral("DejaVu Sans"));
        letra.setPixelSize(qRound(6.5 / 72 * 300));
        p.setFont(letra);
        const double ancho = pdf.width() / double(kCeldas), alto = pdf.height() / 60.0;
        for (int n = 0; n < kPaginas; ++n) {
            if (n > 0)
                pdf.newPage();
            for (int f = 0; f < kFilas; ++f) {
                for (int c = 0; c < kCeldas; ++c) {
                    const int v = n * kFilas * kCeldas + f * kCeldas + c;
                    const QString texto = c == 3 ? QStringLiteral("%1/%2/2024 10:%3:00")
                                                       .arg(v % 28 + 1, 2, 10, QLatin1Char('0'))
                                                       .arg(v % 12 + 1, 2, 10, QLatin1Char('0'))
                                                       .arg(v % 60, 2, 10, QLatin1Char('0'))
                                                 : QString::number(v * 1.25, 'f', 2);
                    p.drawText(QRectF(c * ancho, (f + 5) * alto, ancho, alto),
                               Qt::AlignRight | Qt::AlignVCenter, texto);
                }
            }
        }
    }
    contarPaginasPdf(state, kPaginas, archivo);
}

// The preview of the whole history as a person uses it: the first page shown,
// then the last page asked for (the ">|" button, pressed again while the
// pages are still being counted, as a person waiting for the end would).
// Wall time of the whole run; `last_page_s` from the first press to the last
// page of the report shown; `peak_rss_mb` the process's peak resident size
// during the run (VmHWM after lowering it to the size before).
void BM_VistaPrevia_UltimaPagina(benchmark::State& state) {
    if (!preparado(state))
        return;
    QString error;
    const auto reporte = HistorialBench::preparar(QString(), &error);
    if (!reporte)
        return fallo(state, error);
    const bool conPico = MemoriaPico::reiniciarPico();
    double primera = 0, ultima = 0;
    int paginas = 0;
    for (auto _ : state) {
        QElapsedTimer reloj;
        reloj.start();
        auto* ventana = HistorialBench::abrirVistaPrevia(reporte);
        auto* vista = ventana->findChild<rp::motor::VistaPagina*>();
        benchmark::DoNotOptimize(vista ? vista->grab() : ventana->grab());
        primera = reloj.elapsed() / 1000.0;
        auto* boton = ventana->findChild<QAction*>(QStringLiteral("ultima"));
        if (!boton) {
            delete ventana;
            return fallo(state, QStringLiteral("la vista previa no tiene la accion \"ultima\""));
        }
        QElapsedTimer salto;
        salto.start();
        boton->trigger();
        while (!ventana->terminado() || ventana->paginaActual() < ventana->paginasListas()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            if (ventana->paginaActual() < ventana->paginasListas())
                boton->trigger();
        }
        benchmark::DoNotOptimize(vista ? vista->grab() : ventana->grab());
        ultima = salto.elapsed() / 1000.0;
        paginas = ventana->paginasListas();
        state.PauseTiming();
        delete ventana;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["first_page_s"] = primera;
    state.counters["last_page_s"] = ultima;
    state.counters["pages"] = paginas;
    if (conPico)
        state.counters["peak_rss_mb"] = MemoriaPico::picoKb() / 1024.0;
}

BENCHMARK(BM_Csv_Motor_Historial)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Csv_Sqlite3Tool_Historial)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Csv_ExportarReporte_Historial)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Csv_Motor_Decima)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Pdf_Historial)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Pdf_HistorialMotorQt)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Pdf_QPdfWriterSimple)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_VistaPrevia_PrimeraPagina)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_VistaPrevia_UltimaPagina)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace
