// The change-history report on the large database (1,000,000 changes) to an
// Excel workbook through the engine's streamed writer (libxlsxwriter in its
// constant-memory mode), with the file size and the peak resident memory of
// the export: compared in the summary with the CSV export of the same rows.
#include "HistorialBench.h"
#include "common/DatosBench.h"
#include "common/MemoriaPico.h"
#include "db/provider/ProviderError.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/EscritorXlsx.h"

#include <QDir>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace {

using namespace rp::bench;

void exportarXlsx(benchmark::State& state, const QString& formula) {
    const QString error = DatosBench::abrirBaseCompartida();
    if (!error.isEmpty())
        return state.SkipWithError(error.toUtf8().constData());
    QString fallo;
    const auto reporte = HistorialBench::preparar(formula, &fallo);
    if (!reporte)
        return state.SkipWithError(fallo.toUtf8().constData());
    const QString carpeta = DatosBench::carpetaCache() + QStringLiteral("/salidas");
    QDir().mkpath(carpeta);
    const QString archivo = carpeta + QStringLiteral("/historial-motor.xlsx");
    const bool conPico = MemoriaPico::reiniciarPico();
    const qint64 antes = MemoriaPico::actualKb();
    qint64 filas = 0;
    for (auto _ : state) {
        try {
            filas = rp::motor::EscritorXlsx::escribirArchivo(*reporte, HistorialBench::fuente(),
                                                             archivo);
        } catch (const rp::motor::ErrorMotor& e) {
            return state.SkipWithError(e.texto().toUtf8().constData());
        } catch (const rp::db::DbError& e) {
            return state.SkipWithError(e.description().toUtf8().constData());
        }
    }
    const double total = double(filas) * double(state.iterations());
    state.counters["rows"] = benchmark::Counter(total, benchmark::Counter::kAvgIterations);
    state.counters["rows_per_s"] = benchmark::Counter(total, benchmark::Counter::kIsRate);
    state.counters["file_mb"] = QFileInfo(archivo).size() / 1048576.0;
    state.counters["rss_before_mb"] = antes / 1024.0;
    if (conPico)
        state.counters["peak_rss_rise_mb"] = (MemoriaPico::picoKb() - antes) / 1024.0;
    QFile::remove(archivo);
}

void BM_Xlsx_Motor_Historial(benchmark::State& state) {
    exportarXlsx(state, QString());
}

void BM_Xlsx_Motor_Decima(benchmark::State& state) {
    exportarXlsx(state, HistorialBench::hastaArticulo(10000));
}

} // namespace

BENCHMARK(BM_Xlsx_Motor_Historial)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Xlsx_Motor_Decima)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
