#include "common/ResumenBench.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <unistd.h>

namespace rp::bench {

namespace {

QString numero(double v, int decimales) {
    if (v < 0)
        return QStringLiteral("-");
    return QString::number(v, 'f', decimales);
}

QString relleno(const QString& texto, int ancho, bool derecha) {
    return derecha ? texto.rightJustified(ancho) : texto.leftJustified(ancho);
}

} // namespace

ResumenBench::ResumenBench(QString titulo, QList<Comparacion> comparaciones)
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular), titulo_(std::move(titulo)),
      comparaciones_(std::move(comparaciones)) {}

void ResumenBench::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        // With repetitions only the mean is summarised.
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean")
            continue;
        Linea l;
        // The function name and its arguments, without the run settings.
        l.nombre = QString::fromStdString(run.run_name.function_name);
        if (!run.run_name.args.empty())
            l.nombre += QLatin1Char('/') + QString::fromStdString(run.run_name.args);
        if (run.run_type == Run::RT_Aggregate)
            l.nombre += QStringLiteral(" (mean)");
        if (run.error_occurred) {
            l.error = QString::fromStdString(run.error_message);
            lineas_ << l;
            continue;
        }
        if (run.iterations > 0) {
            l.segundos = run.real_accumulated_time / double(run.iterations);
            l.segundosCpu = run.cpu_accumulated_time / double(run.iterations);
        }
        QStringList otros;
        for (const auto& [nombre, contador] : run.counters) {
            if (nombre == "rows")
                l.filas = contador.value;
            else if (nombre == "rows_per_s")
                l.filasPorSegundo = contador.value;
            else if (nombre == "cpu_s")
                l.segundosCpu = contador.value;
            else
                otros << QString::fromStdString(nombre) + QLatin1Char('=') +
                             QString::number(contador.value, 'g', 6);
        }
        l.otros = otros.join(QLatin1Char(' '));
        lineas_ << l;
    }
}

const ResumenBench::Linea* ResumenBench::buscar(const QString& prefijo) const {
    for (const Linea& l : lineas_) {
        if (l.error.isEmpty() && l.nombre.startsWith(prefijo))
            return &l;
    }
    return nullptr;
}

void ResumenBench::Finalize() {
    ConsoleReporter::Finalize();
    QTextStream out(stdout);
    int ancho = 9;
    for (const Linea& l : lineas_)
        ancho = std::max(ancho, int(l.nombre.size()));
    out << "\n== " << titulo_ << " ==\n";
    out << relleno(QStringLiteral("benchmark"), ancho, false) << "  "
        << relleno(QStringLiteral("rows"), 10, true) << "  "
        << relleno(QStringLiteral("seconds"), 9, true) << "  "
        << relleno(QStringLiteral("cpu s"), 9, true) << "  "
        << relleno(QStringLiteral("rows/s"), 11, true) << "  "
        << relleno(QStringLiteral("ratio"), 7, true) << "  other\n";
    // The ratio column: wall time against the reference of the comparison the
    // benchmark is measured in, if any.
    const auto razon = [&](const QString& nombre) {
        for (const Comparacion& c : comparaciones_) {
            const Linea* a = buscar(c.medida);
            const Linea* b = buscar(c.referencia);
            if (c.medida == nombre && a && b && a->error.isEmpty() && b->error.isEmpty() &&
                b->segundos > 0)
                return numero(a->segundos / b->segundos, 2) + QLatin1Char('x');
        }
        return QStringLiteral("-");
    };
    QFile tsv(qEnvironmentVariable("RP_BENCH_RESUMEN"));
    const bool conTsv = !tsv.fileName().isEmpty() && tsv.open(QIODevice::Append | QIODevice::Text);
    QTextStream tsvOut(&tsv);
    const QString programa = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    for (const Linea& l : lineas_) {
        if (!l.error.isEmpty()) {
            out << relleno(l.nombre, ancho, false) << "  ERROR: " << l.error << "\n";
            if (conTsv)
                tsvOut << programa << '\t' << l.nombre << "\t-\t-\t-\t-\t-\tERROR: " << l.error
                       << '\n';
            continue;
        }
        const QString filas = numero(l.filas, 0);
        const QString segundos = numero(l.segundos, 3);
        const QString cpu = numero(l.segundosCpu, 3);
        const QString porSegundo = numero(l.filasPorSegundo, 0);
        out << relleno(l.nombre, ancho, false) << "  " << relleno(filas, 10, true) << "  "
            << relleno(segundos, 9, true) << "  " << relleno(cpu, 9, true) << "  "
            << relleno(porSegundo, 11, true) << "  " << relleno(razon(l.nombre), 7, true) << "  "
            << l.otros << "\n";
        if (conTsv)
            tsvOut << programa << '\t' << l.nombre << '\t' << filas << '\t' << segundos << '\t'
                   << cpu << '\t' << porSegundo << '\t' << razon(l.nombre) << '\t' << l.otros
                   << '\n';
    }
    for (const Comparacion& c : comparaciones_) {
        const Linea* a = buscar(c.medida);
        const Linea* b = buscar(c.referencia);
        if (!a || !b || b->segundos <= 0 || b->segundosCpu <= 0)
            continue;
        const QString pared = numero(a->segundos / b->segundos, 2);
        const QString cpu = numero(a->segundosCpu / b->segundosCpu, 2);
        const QString detalle =
            QStringLiteral("wall %1x (%2 s against %3 s), cpu %4x (%5 s against %6 s)")
                .arg(pared, numero(a->segundos, 3), numero(b->segundos, 3), cpu,
                     numero(a->segundosCpu, 3), numero(b->segundosCpu, 3));
        out << "  " << c.texto << ": " << detalle << "\n";
        if (conTsv)
            tsvOut << programa << '\t' << c.texto << "\t-\t-\t-\t-\t-\t" << detalle << '\n';
    }
    out.flush();
}

int ResumenBench::ejecutar(int argc, char** argv, const QString& titulo,
                           const QList<Comparacion>& comparaciones) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    ResumenBench reporter(titulo, comparaciones);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const Linea& l : reporter.lineas_) {
        if (!l.error.isEmpty())
            return 1;
    }
    return 0;
}

} // namespace rp::bench
