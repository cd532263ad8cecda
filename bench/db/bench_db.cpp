// Database layer on the large demo database (1,000,000 price changes): the
// full history join the change-history report reads, opened and fetched
// through DB_Dll::AbrirRecordset, and the sqlite3 command-line tool running
// the same statement (in the SQLite form the dialect rewrite produces, with
// the function module loaded, output to /dev/null) in the same run.
#include "common/DatosBench.h"
#include "common/HerramientaSqlite.h"
#include "common/ResumenBench.h"
#include "db/DB_Dll.h"
#include "db/provider/SqliteProvider.h"
#include "suite/SistemaInfo.h"

#include <QCoreApplication>
#include <QTextStream>
#include <benchmark/benchmark.h>

namespace {

using namespace rp::bench;
using rp::db::DB_Dll;
using rp::db::DbError;
using rp::db::Recordset;

// The history with its article and its list, every column the change-history
// report shows, in the report's order; written as the program writes it.
const QString kHistorial = QStringLiteral(
    "SELECT V_MV_PRECIOSHIS.IDARTICULO, V_MA_ARTICULOS.DESCRIPCION, V_MV_PRECIOSHIS.IDLISTA, "
    "V_MA_PRECIOSCAB.NOMBRE, V_MV_PRECIOSHIS.FECHAHORA, V_MV_PRECIOSHIS.USUARIO, "
    "V_MV_PRECIOSHIS.COSTO, V_MV_PRECIOSHIS.COSTOANT, "
    "V_MV_PRECIOSHIS.PRECIO1, V_MV_PRECIOSHIS.PRECIO1ANT, "
    "V_MV_PRECIOSHIS.PRECIO2, V_MV_PRECIOSHIS.PRECIO2ANT, "
    "V_MV_PRECIOSHIS.PRECIO3, V_MV_PRECIOSHIS.PRECIO3ANT, "
    "V_MV_PRECIOSHIS.PRECIO4, V_MV_PRECIOSHIS.PRECIO4ANT, "
    "V_MV_PRECIOSHIS.PRECIO5, V_MV_PRECIOSHIS.PRECIO5ANT, "
    "V_MV_PRECIOSHIS.PRECIO6, V_MV_PRECIOSHIS.PRECIO6ANT, "
    "V_MV_PRECIOSHIS.PRECIO7, V_MV_PRECIOSHIS.PRECIO7ANT, "
    "V_MV_PRECIOSHIS.PRECIO8, V_MV_PRECIOSHIS.PRECIO8ANT, "
    "V_MV_PRECIOSHIS.IMPUESTOS, V_MV_PRECIOSHIS.IMPUESTOSANT "
    "FROM dbo.V_MV_PRECIOSHIS with(nolock) "
    "LEFT OUTER JOIN dbo.V_MA_ARTICULOS with(nolock) "
    "ON V_MA_ARTICULOS.IDARTICULO = V_MV_PRECIOSHIS.IDARTICULO "
    "LEFT OUTER JOIN dbo.V_MA_PRECIOSCAB with(nolock) "
    "ON V_MA_PRECIOSCAB.IDLISTA = V_MV_PRECIOSHIS.IDLISTA "
    "ORDER BY V_MV_PRECIOSHIS.IDARTICULO, V_MV_PRECIOSHIS.FECHAHORA");

// The statement in the form the embedded provider sends to SQLite.
QString formaSqlite() {
    const DB_Dll& db = rp::db::baseCompartida();
    auto* proveedor = dynamic_cast<rp::db::SqliteProvider*>(db.gCnn->provider());
    return proveedor ? proveedor->rewrite(kHistorial) : QString();
}

// Rows of the statement, counted once by the tool (both benchmarks check
// theirs against it).
qint64 filasEsperadas(QString* error) {
    static qint64 filas = -2;
    static QString motivo;
    if (filas == -2)
        filas = HerramientaSqlite::contarFilas(DatosBench::baseGrande(), formaSqlite(), &motivo);
    if (error)
        *error = motivo;
    return filas;
}

void ponerFilas(benchmark::State& state, qint64 filas) {
    state.counters["rows"] = benchmark::Counter(double(filas) * double(state.iterations()),
                                                benchmark::Counter::kAvgIterations);
    state.counters["rows_per_s"] =
        benchmark::Counter(double(filas) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Historial_AbrirRecordset(benchmark::State& state) {
    QString error = DatosBench::abrirBaseCompartida();
    const qint64 esperadas = error.isEmpty() ? filasEsperadas(&error) : -1;
    if (!error.isEmpty() || esperadas < 0) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    DB_Dll& db = rp::db::baseCompartida();
    qint64 filas = 0;
    for (auto _ : state) {
        filas = 0;
        QString sentencia = kHistorial;
        Recordset rs;
        db.AbrirRecordset(sentencia, rs);
        if (!rs.isOpen()) {
            state.SkipWithError("AbrirRecordset no abrio el conjunto de registros");
            return;
        }
        const int campos = rs.fieldCount();
        while (!rs.eof()) {
            for (int i = 0; i < campos; ++i) {
                QVariant v = rs.value(i);
                benchmark::DoNotOptimize(v);
            }
            ++filas;
            rs.moveNext();
        }
        db.CierraRecordset(rs);
    }
    if (filas != esperadas) {
        const QByteArray msg = QStringLiteral("AbrirRecordset leyo %1 filas, sqlite3 cuenta %2")
                                   .arg(filas)
                                   .arg(esperadas)
                                   .toUtf8();
        state.SkipWithError(msg.constData());
        return;
    }
    ponerFilas(state, filas);
}

void BM_Historial_Sqlite3Tool(benchmark::State& state) {
    QString error = DatosBench::abrirBaseCompartida();
    const qint64 esperadas = error.isEmpty() ? filasEsperadas(&error) : -1;
    if (!error.isEmpty() || esperadas < 0) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    const QString guion = QStringLiteral(".output /dev/null\n") + formaSqlite() + QLatin1Char(';');
    const QString base = DatosBench::baseGrande();
    double cpu = 0;
    for (auto _ : state) {
        const HerramientaSqlite::Resultado r = HerramientaSqlite::ejecutar(base, guion);
        if (!r.ok) {
            state.SkipWithError(r.error.toUtf8().constData());
            return;
        }
        cpu += r.segundosCpu;
    }
    ponerFilas(state, esperadas);
    state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_Historial_AbrirRecordset)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Historial_Sqlite3Tool)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    rp::suite::SistemaInfo::FijarZonaHoraria(); // as the program starts
    QCoreApplication app(argc, argv);
    QString error = DatosBench::abrirBaseCompartida();
    QTextStream out(stdout);
    if (error.isEmpty()) {
        out << "Base: " << DatosBench::baseGrande() << "\n";
        out << "sqlite3: " << HerramientaSqlite::programa() << " " << HerramientaSqlite::version()
            << ", modulo " << DatosBench::moduloFunciones() << "\n";
        out << "Sentencia del programa:\n  " << kHistorial << "\n";
        out << "Forma SQLite (reescritura del dialecto):\n  " << formaSqlite() << "\n";
        out.flush();
    }
    return ResumenBench::ejecutar(
        argc, argv, QStringLiteral("Database layer: full history join (large scale)"),
        {{QStringLiteral("BM_Historial_AbrirRecordset"), QStringLiteral("BM_Historial_Sqlite3Tool"),
          QStringLiteral("AbrirRecordset against the sqlite3 tool")}});
}
