// The lookups on the large database with "TopConsArt" 100000: the article
// list (statement, rows fetched once, the window painted), type-ahead over
// the last rows, a header-click sort and the tree of every family.
#include "common/DatosBench.h"
#include "common/ResumenBench.h"
#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"
#include "lookup/SentenciaConsulta.h"
#include "lookup/widgets/VentanaConsulta.h"
#include "suite/SistemaInfo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTextStream>
#include <benchmark/benchmark.h>

namespace {

using rp::lookup::Lib_FrmCons3;
using rp::lookup::Lib_FrmCons3Tree;

// The statement the article field lookup builds with the default
// definition rows and "TopConsArt" 100000.
const QString kArticulos = QStringLiteral(
    "SELECT TOP 100000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE "
    "SUSPENDIDO = 0 ORDER BY DESCRIPCION");

bool abierta(benchmark::State& state) {
    static const QString error = rp::bench::DatosBench::abrirBaseCompartida();
    if (!error.isEmpty())
        state.SkipWithError(error.toStdString().c_str());
    return error.isEmpty();
}

// From the lookup's statement to the first painted rows.
void BM_Consulta_ListaArticulos(benchmark::State& state) {
    if (!abierta(state))
        return;
    qint64 filas = 0;
    for (auto _ : state) {
        Lib_FrmCons3 f;
        f.SQL = kArticulos;
        f.CampoDevuelto = QStringLiteral("idarticulo");
        f.Load();
        rp::lookup::VentanaConsulta v(f);
        v.resize(900, 600);
        QPixmap imagen = v.grab();
        benchmark::DoNotOptimize(imagen);
        filas = f.modelo().filas();
    }
    state.counters["rows"] = double(filas);
}

// One key of type-ahead whose first match is the last row.
void BM_Consulta_BusquedaAlFinal(benchmark::State& state) {
    if (!abierta(state))
        return;
    Lib_FrmCons3 f;
    f.SQL = kArticulos;
    f.Load();
    const int n = f.modelo().filas();
    const QString ultima = f.modelo().celda(n - 1, 1);
    for (auto _ : state) {
        f.cambioBusqueda(1, ultima);
        benchmark::DoNotOptimize(f.seleccionada());
    }
    state.counters["rows"] = double(n);
}

// A header click on the description column.
void BM_Consulta_OrdenEncabezado(benchmark::State& state) {
    if (!abierta(state))
        return;
    Lib_FrmCons3 f;
    f.SQL = kArticulos;
    f.Load();
    for (auto _ : state)
        f.modelo().clicEncabezado(0);
    state.counters["rows"] = double(f.modelo().filas());
}

// The tree of every family (parents worked out by the database).
void BM_Consulta_ArbolFamilias(benchmark::State& state) {
    if (!abierta(state))
        return;
    int nodos = 0;
    for (auto _ : state) {
        Lib_FrmCons3Tree a;
        a.SQL =
            QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA");
        a.Load();
        nodos = a.nodos();
    }
    state.counters["rows"] = double(nodos);
}

BENCHMARK(BM_Consulta_ListaArticulos)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Consulta_BusquedaAlFinal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Consulta_OrdenEncabezado)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Consulta_ArbolFamilias)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    rp::suite::SistemaInfo::FijarZonaHoraria(); // as the program starts
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream(stdout) << "Base: " << rp::bench::DatosBench::baseGrande() << "\n";
    return rp::bench::ResumenBench::ejecutar(argc, argv, QStringLiteral("Lookups (large scale)"),
                                             {});
}
