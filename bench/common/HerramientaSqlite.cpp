#include "common/HerramientaSqlite.h"

#include "common/DatosBench.h"

#include <QElapsedTimer>
#include <QProcess>
#include <sys/resource.h>

namespace rp::bench {

namespace {

// User + system time of the children waited for so far.
double segundosHijos() {
    rusage uso{};
    getrusage(RUSAGE_CHILDREN, &uso);
    return double(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) +
           double(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}

} // namespace

QString HerramientaSqlite::programa() {
    const QString entorno = qEnvironmentVariable("RP_SQLITE3");
    return entorno.isEmpty() ? QStringLiteral("sqlite3") : entorno;
}

QString HerramientaSqlite::version() {
    QProcess p;
    p.start(programa(), {QStringLiteral("-version")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

HerramientaSqlite::Resultado HerramientaSqlite::ejecutar(const QString& base,
                                                         const QString& guion) {
    Resultado r;
    const QString texto = QStringLiteral(".bail on\n.load ") + DatosBench::moduloFunciones() +
                          QLatin1Char('\n') + guion + QLatin1Char('\n');
    QProcess p;
    const double cpuAntes = segundosHijos();
    QElapsedTimer reloj;
    reloj.start();
    p.start(programa(), {QStringLiteral("-batch"), base});
    if (!p.waitForStarted(30000)) {
        r.error = QStringLiteral("no se puede ejecutar ") + programa();
        return r;
    }
    p.write(texto.toUtf8());
    p.closeWriteChannel();
    // Read as it comes: a full pipe would stop the tool.
    while (p.state() != QProcess::NotRunning) {
        p.waitForReadyRead(100);
        r.salida += p.readAllStandardOutput();
    }
    p.waitForFinished(-1);
    r.segundos = reloj.nsecsElapsed() / 1e9;
    r.segundosCpu = segundosHijos() - cpuAntes;
    r.salida += p.readAllStandardOutput();
    const QByteArray errores = p.readAllStandardError();
    r.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && errores.isEmpty();
    if (!r.ok)
        r.error = QStringLiteral("sqlite3 (salida %1): %2")
                      .arg(p.exitCode())
                      .arg(QString::fromUtf8(errores).trimmed());
    return r;
}

qint64 HerramientaSqlite::contarFilas(const QString& base, const QString& consulta,
                                      QString* error) {
    const Resultado r =
        ejecutar(base, QStringLiteral("SELECT COUNT(*) FROM (") + consulta + QStringLiteral(");"));
    bool ok = false;
    const qint64 filas = QString::fromUtf8(r.salida).trimmed().toLongLong(&ok);
    if (r.ok && ok)
        return filas;
    if (error)
        *error =
            r.ok ? QStringLiteral("respuesta inesperada: ") + QString::fromUtf8(r.salida) : r.error;
    return -1;
}

} // namespace rp::bench
