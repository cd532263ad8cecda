#pragma once

#include <QList>
#include <QString>
#include <benchmark/benchmark.h>
#include <vector>

namespace rp::bench {

// Console output of Google Benchmark followed by a summary table: one line per
// run with its rows, wall seconds per run, CPU seconds per run, rows per second
// and the other counters, then the comparisons asked for ("A against B": the
// ratios of their wall and CPU seconds). CPU seconds are the process's own,
// or the counter "cpu_s" when a benchmark sets it (work done by a child
// process); on a shared machine they vary less than the wall time.
// Each line is also appended to the file named by $RP_BENCH_RESUMEN (tab
// separated), so scripts/bench.sh can print one table for every benchmark.
//
// Counters the benchmarks set: "rows" (per run, kAvgIterations) and
// "rows_per_s" (kIsRate, with UseRealTime); any other counter is listed as it
// is.
class ResumenBench : public benchmark::ConsoleReporter {
public:
    struct Comparacion {
        QString medida;     // benchmark name (prefix)
        QString referencia; // benchmark name (prefix)
        QString texto;      // what the ratio means
    };

    ResumenBench(QString titulo, QList<Comparacion> comparaciones);

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // Initialises Google Benchmark from the command line, runs the selected
    // benchmarks with this reporter and prints the table. Returns the
    // process status (1 when a benchmark failed).
    static int ejecutar(int argc, char** argv, const QString& titulo,
                        const QList<Comparacion>& comparaciones = {});

private:
    struct Linea {
        QString nombre;
        double filas = -1;
        double segundos = 0;
        double segundosCpu = 0;
        double filasPorSegundo = -1;
        QString otros;
        QString error;
    };
    const Linea* buscar(const QString& prefijo) const;

    QString titulo_;
    QList<Comparacion> comparaciones_;
    QList<Linea> lineas_;
};

} // namespace rp::bench
