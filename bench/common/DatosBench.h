#pragma once

#include <QString>

namespace rp::bench {

// The data the benchmarks run on: a demo program folder at the large scale
// (100,000 articles, 1,000,000 price changes), generated once into a cache
// folder and reused while it is there. The cache folder is $RP_BENCH_DATA
// when set, else "bench-data" in the build folder.
class DatosBench {
public:
    static QString carpetaCache();
    // The large demo program folder inside the cache.
    static QString carpetaGrande();
    // Path of the large business database; generates the folder when it is
    // missing. Empty, with a message in `error`, when it cannot be made.
    static QString baseGrande(QString* error = nullptr);
    // A copy of the large database in `carpeta` (for benchmarks that change
    // data). Empty, with a message in `error`, on failure.
    static QString copiarBase(const QString& carpeta, const QString& nombre,
                              QString* error = nullptr);
    // The SQLite module with the SQL Server functions and the MSSQL collation
    // ($RP_SQLEXT when set, else the one built with the benchmarks).
    static QString moduloFunciones();
    // Opens the shared database object on the large database as the program
    // opens its demo database (Server "sqlite", the bare database name in the
    // program folder), with the Spanish regional settings. Empty text when
    // open, else the reason.
    static QString abrirBaseCompartida();
};

} // namespace rp::bench
