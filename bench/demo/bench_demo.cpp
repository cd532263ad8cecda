// The demo database generator at the large scale: the business database with
// 100,000 articles and 1,000,000 price changes written into a scratch file
// (the cached data of the other benchmarks is left alone). The target is
// under a minute.
#include "app/demo/DemoDatos.h"
#include "common/DatosBench.h"
#include "common/ResumenBench.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace {

using namespace rp::bench;

void BM_Demo_GenerarGrande(benchmark::State& state) {
    const QString carpeta = DatosBench::carpetaCache() + QStringLiteral("/copias");
    QDir().mkpath(carpeta);
    const QString archivo = carpeta + QStringLiteral("/generada.db");
    bool ok = false;
    const rp::demo::OpcionesDemo opciones =
        rp::demo::OpcionesDemo::escala(QStringLiteral("large"), &ok);
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* resto : {"", "-wal", "-shm", "-journal"})
            QFile::remove(archivo + QLatin1String(resto));
        state.ResumeTiming();
        rp::demo::DemoDatos datos(opciones);
        if (!ok || !datos.generarEmpresa(archivo))
            return state.SkipWithError(datos.error().toUtf8().constData());
        bytes = QFileInfo(archivo).size();
    }
    const double filas = double(opciones.cambios) * double(state.iterations());
    state.counters["rows"] = benchmark::Counter(filas, benchmark::Counter::kAvgIterations);
    state.counters["rows_per_s"] = benchmark::Counter(filas, benchmark::Counter::kIsRate);
    state.counters["articles"] = opciones.articulos;
    state.counters["file_mb"] = bytes / 1048576.0;
    QFile::remove(archivo);
}

BENCHMARK(BM_Demo_GenerarGrande)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return ResumenBench::ejecutar(argc, argv, QStringLiteral("Demo data: large scale generation"));
}
