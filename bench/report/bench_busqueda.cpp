// Search in the preview of the whole history (1,000,000 changes, 18,000+
// pages): from Enter in the search bar to the first hit shown, for a text on
// the first page and for one on page 1000 (its footer "Página 1000 de"), with
// the search laying the pages out in its own pass.
#include "HistorialBench.h"
#include "common/DatosBench.h"
#include "report/engine/widgets/BarraBusqueda.h"
#include "report/engine/widgets/VentanaVistaPrevia.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {

using namespace rp::bench;

void buscar(benchmark::State& state, const QString& texto) {
    const QString error = rp::bench::DatosBench::abrirBaseCompartida();
    if (!error.isEmpty())
        return state.SkipWithError(error.toUtf8().constData());
    QString fallo;
    const auto reporte = HistorialBench::preparar(QString(), &fallo);
    if (!reporte)
        return state.SkipWithError(fallo.toUtf8().constData());
    int pagina = 0, revisadas = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto* ventana = HistorialBench::abrirVistaPrevia(reporte);
        state.ResumeTiming();
        rp::motor::BarraBusqueda& barra = ventana->busqueda();
        barra.abrir();
        barra.buscar(texto);
        while (barra.buscador().actual() < 0 && !barra.buscador().completa())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        state.PauseTiming();
        pagina = ventana->paginaActual();
        revisadas = barra.buscador().paginasRevisadas();
        const bool hallada = barra.buscador().actual() >= 0;
        delete ventana;
        QCoreApplication::processEvents();
        state.ResumeTiming();
        if (!hallada)
            return state.SkipWithError("la búsqueda no halló el texto");
    }
    state.counters["hit_page"] = pagina;
    state.counters["pages_searched"] = revisadas;
}

void BM_Busqueda_PrimeraPagina(benchmark::State& state) {
    buscar(state, QStringLiteral("fixer"));
}

void BM_Busqueda_Pagina1000(benchmark::State& state) {
    buscar(state, QStringLiteral("Página 1000 de"));
}

} // namespace

BENCHMARK(BM_Busqueda_PrimeraPagina)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Busqueda_Pagina1000)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
