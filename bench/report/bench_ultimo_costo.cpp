// The last-cost scan of tab 2 over the whole catalogue of the large database
// (every article, price list "1"), as the program runs it under the progress
// banner, against one set-based UPDATE that computes the same dates. Each
// runs on its own copy of the database; after both ran, the copies are
// compared article by article (final FHULTIMOCOSTO values).
#include "banner/Dll_Display.h"
#include "banner/widgets/VentanaCartel.h"
#include "common/DatosBench.h"
#include "common/HerramientaSqlite.h"
#include "db/DB_Dll.h"
#include "report/EscaneoUltimoCosto.h"

#include <QDir>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace {

using namespace rp::bench;
using rp::db::DB_Dll;

const QString kLista = QStringLiteral("1");

// The dates the scan computes, for every article at once: the latest change
// of the list with a cost above 0, written when the article has no stored
// date or the change is more than 10 seconds later than it.
const QString kActualizacion = QStringLiteral(
    "UPDATE V_MA_ARTICULOS SET FHULTIMOCOSTO = m.FECHA "
    "FROM (SELECT IDARTICULO, MAX(FECHAHORA) AS FECHA FROM dbo.V_MV_PRECIOSHIS with(nolock) "
    "WHERE IDLISTA = '1' AND COSTO > 0 GROUP BY IDARTICULO) m "
    "WHERE m.IDARTICULO = V_MA_ARTICULOS.IDARTICULO "
    "AND (V_MA_ARTICULOS.FHULTIMOCOSTO IS NULL "
    "OR DATEDIFF(second, V_MA_ARTICULOS.FHULTIMOCOSTO, m.FECHA) > 10)");

QString carpetaCopias() {
    const QString carpeta = DatosBench::carpetaCache() + QStringLiteral("/copias");
    QDir().mkpath(carpeta);
    return carpeta;
}
QString copiaEscaneo() {
    return carpetaCopias() + QStringLiteral("/ultimo-costo-escaneo.db");
}
QString copiaConjunto() {
    return carpetaCopias() + QStringLiteral("/ultimo-costo-update.db");
}

// A database object of its own on a copy of the large database.
bool abrirCopia(DB_Dll& base, const QString& nombre, benchmark::State& state) {
    QString error = DatosBench::abrirBaseCompartida(); // session values and data
    QString ruta;
    if (error.isEmpty())
        ruta = DatosBench::copiarBase(carpetaCopias(), nombre, &error);
    if (ruta.isEmpty()) {
        state.SkipWithError(error.toUtf8().constData());
        return false;
    }
    base.gServidor = QStringLiteral("sqlite");
    base.gDBName = ruta;
    base.gUsuario = QStringLiteral("demo");
    base.OpenServerADODB(false, 3, QString(), false, false);
    if (!base.gOpenFlag)
        state.SkipWithError("no se pudo abrir la copia de la base");
    return base.gOpenFlag;
}

void cerrar(DB_Dll& base) {
    if (base.gCnn && base.gCnn->isOpen())
        base.gCnn->close();
}

// Articles whose FHULTIMOCOSTO differs between two databases (as dates), and
// articles whose value differs from the original data; -1 on failure.
qint64 diferencias(const QString& a, const QString& b, QString* error) {
    const HerramientaSqlite::Resultado r = HerramientaSqlite::ejecutar(
        a, QStringLiteral("ATTACH '%1' AS b;\n"
                          "SELECT COUNT(*) FROM V_MA_ARTICULOS x JOIN b.V_MA_ARTICULOS y "
                          "ON y.IDARTICULO = x.IDARTICULO "
                          "WHERE datetime(x.FHULTIMOCOSTO) IS NOT datetime(y.FHULTIMOCOSTO);")
               .arg(b));
    bool ok = false;
    const qint64 n = QString::fromUtf8(r.salida).trimmed().toLongLong(&ok);
    if (r.ok && ok)
        return n;
    if (error)
        *error = r.ok ? QString::fromUtf8(r.salida) : r.error;
    return -1;
}

void BM_UltimoCosto_Escaneo(benchmark::State& state) {
    DB_Dll base;
    if (!abrirCopia(base, QFileInfo(copiaEscaneo()).fileName(), state))
        return;
    rp::report::EscaneoUltimoCosto::Resultado r;
    int repintados = 0;
    for (auto _ : state) {
        rp::banner::Dll_Display cartel(rp::banner::VentanaCartel::fabrica());
        cartel.CartelInicio(QStringLiteral("Calculando.."), false);
        rp::report::EscaneoUltimoCosto escaneo(base, cartel);
        r = escaneo.ejecutar(kLista, QString());
        repintados = cartel.repintados();
    }
    cerrar(base);
    if (!r.completo)
        return state.SkipWithError("el escaneo no llego al final");
    const double filas = double(r.filas) * double(state.iterations());
    state.counters["rows"] = benchmark::Counter(filas, benchmark::Counter::kAvgIterations);
    state.counters["rows_per_s"] = benchmark::Counter(filas, benchmark::Counter::kIsRate);
    state.counters["updated"] = double(r.actualizados);
    state.counters["banner_repaints"] = repintados;
}

void BM_UltimoCosto_UpdateConjunto(benchmark::State& state) {
    DB_Dll base;
    if (!abrirCopia(base, QFileInfo(copiaConjunto()).fileName(), state))
        return;
    qint32 actualizados = 0;
    for (auto _ : state) {
        QString sentencia = kActualizacion;
        base.EjecutaConsultaRSQL(sentencia, actualizados);
        if (!base.conexion().errors().isEmpty())
            return state.SkipWithError(
                base.conexion().errors().first().description.toUtf8().constData());
    }
    cerrar(base);
    state.counters["updated"] = actualizados;
    QString error;
    const qint64 cambiadas = diferencias(copiaConjunto(), DatosBench::baseGrande(), &error);
    if (cambiadas < 0)
        return state.SkipWithError(error.toUtf8().constData());
    state.counters["changed_vs_original"] = double(cambiadas);
    // The comparison with the scan, when it ran before in this folder.
    if (QFileInfo::exists(copiaEscaneo())) {
        const qint64 distintas = diferencias(copiaConjunto(), copiaEscaneo(), &error);
        if (distintas < 0)
            return state.SkipWithError(error.toUtf8().constData());
        state.counters["differ_from_scan"] = double(distintas);
    }
}

BENCHMARK(BM_UltimoCosto_Escaneo)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_UltimoCosto_UpdateConjunto)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace
