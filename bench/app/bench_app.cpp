// bench_app: start-up of rp_tarifario on the demo database (the small demo
// folder, generated once into the data cache).
//   BM_Arranque_VentanaPrincipal: from reading the command line to the main
//     window shown, through the same assembly main runs (app::Ensamblaje), in
//     this process on the offscreen platform (process start and library
//     loading not included).
//   BM_Arranque_Batch: the executable started with --batch and nothing else
//     to do (start-up sequence, then exit), as a child process: load included.
#include "app/Ensamblaje.h"
#include "app/OpcionesPrograma.h"
#include "app/demo/CarpetaDemo.h"
#include "common/DatosBench.h"
#include "common/ResumenBench.h"
#include "report/widgets/VentanaTarifario.h"
#include "suite/SistemaInfo.h"
#include "ui/OperadorGuion.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

using rp::bench::DatosBench;

// The demo program folder, prepared once in the data cache.
QString carpetaDemo(QString* error) {
    const QString carpeta = DatosBench::carpetaCache() + QStringLiteral("/demo");
    if (QFile::exists(carpeta + QLatin1Char('/') + rp::demo::CarpetaDemo::archivoEmpresa()))
        return carpeta;
    rp::demo::CarpetaDemo demo;
    demo.setCarpetaPlantillas(QStringLiteral(RP_SOURCE_DIR "/templates"));
    if (!demo.prepararCarpetaDemo(carpeta)) {
        *error = demo.error();
        return QString();
    }
    return carpeta;
}

double segundosCpuHijos() {
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

void BM_Arranque_VentanaPrincipal(benchmark::State& state) {
    QString error;
    const QString carpeta = carpetaDemo(&error);
    if (carpeta.isEmpty())
        return state.SkipWithError(error.toUtf8().constData());
    rp::ui::OperadorGuion guion;
    for (auto _ : state) {
        const auto opciones = rp::app::OpcionesPrograma::leer(
            {QStringLiteral("--demo"), QStringLiteral("--program-folder"), carpeta}, error);
        if (!opciones)
            return state.SkipWithError(error.toUtf8().constData());
        rp::app::Ensamblaje programa(*opciones, &guion);
        if (programa.arrancar() || !programa.ventana())
            return state.SkipWithError("the program did not reach its main window");
        QWidget* ventana = programa.ventana();
        while (!ventana->isVisible() || !ventana->windowHandle() ||
               !ventana->windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::processEvents();
        state.PauseTiming();
        ventana->close();
        state.ResumeTiming();
    }
}

void BM_Arranque_Batch(benchmark::State& state) {
    QString error;
    const QString carpeta = carpetaDemo(&error);
    if (carpeta.isEmpty())
        return state.SkipWithError(error.toUtf8().constData());
    const double cpuAntes = segundosCpuHijos();
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(RP_PROGRAMA),
                {QStringLiteral("--demo"), QStringLiteral("--program-folder"), carpeta,
                 QStringLiteral("--batch")});
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            return state.SkipWithError(p.readAllStandardError().toStdString().c_str());
    }
    state.counters["cpu_s"] = (segundosCpuHijos() - cpuAntes) / double(state.iterations());
}

BENCHMARK(BM_Arranque_VentanaPrincipal)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_Arranque_Batch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    rp::suite::SistemaInfo::FijarZonaHoraria(); // as the program starts
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return rp::bench::ResumenBench::ejecutar(argc, argv,
                                             QStringLiteral("Start-up (demo database)"));
}
