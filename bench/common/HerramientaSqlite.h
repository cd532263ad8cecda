#pragma once

#include <QByteArray>
#include <QString>

namespace rp::bench {

// The sqlite3 command-line tool ($RP_SQLITE3 when set, else "sqlite3" on the
// PATH), run as a separate process on a database file with the SQL Server
// function module loaded, as a reference for the program's own figures.
// Benchmarks that run it set the counter "cpu_s" to the tool's CPU time.
class HerramientaSqlite {
public:
    struct Resultado {
        bool ok = false;
        double segundos = 0;    // wall time from start to exit
        double segundosCpu = 0; // the tool's user + system time
        QByteArray salida;      // what the tool wrote on stdout
        QString error;
    };

    static QString programa();
    // The tool's version line; empty when it cannot run.
    static QString version();
    // Runs `guion` (dot-commands and statements, ";"-terminated) on `base`,
    // after ".bail on" and ".load" of the function module.
    static Resultado ejecutar(const QString& base, const QString& guion);
    // Rows of `consulta` (SQLite form) counted by the tool; -1 with a message
    // in `error` on failure.
    static qint64 contarFilas(const QString& base, const QString& consulta,
                              QString* error = nullptr);
};

} // namespace rp::bench
