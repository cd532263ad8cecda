#pragma once

#include <QString>
#include <cstdint>

struct sqlite3;

namespace rp::demo {

// Size and seed of a generated demo database.
struct OpcionesDemo {
    int articulos = 2000;
    qint64 cambios = 50000;
    std::uint64_t semilla = 1;

    // "demo" (about 2,000 articles and 50,000 price changes) or "large"
    // (100,000 articles, 1,000,000 changes); ok = false for any other name.
    static OpcionesDemo escala(const QString& nombre, bool* ok = nullptr);
};

// Generator of the demo databases: the business database (schema of every
// object the program reads or writes, master data, eight price lists, years of
// price changes by several users, the stored procedure) and the statistics
// database. Deterministic: the same options give the same contents.
class DemoDatos {
public:
    explicit DemoDatos(const OpcionesDemo& opciones = OpcionesDemo());

    // Create the file; an existing file is never overwritten (false).
    bool generarEmpresa(const QString& archivo);
    bool generarEstadisticas(const QString& archivo);
    const QString& error() const { return error_; }

    // Digest of a database's schema and contents (every table, rows in rowid
    // order); empty when the file cannot be read.
    static QString sumaDeControl(const QString& archivo);

    // Registers the collation MSSQL (and, when the database provider is part
    // of the build, its SQL Server functions) on a handle.
    static bool registrarFunciones(sqlite3* db);

    // The schema and procedure texts shipped with the library.
    static QString textoSql(const QString& nombre);
    // Body of the stored procedure "KS_RP_CambiosPreciosHis" (comments removed).
    static QString cuerpoProcedimiento();
    static QString parametrosProcedimiento() {
        return QStringLiteral("@FECHA,@LISTA,@CLASE,@WHERE");
    }
    static QString nombreProcedimiento() { return QStringLiteral("KS_RP_CambiosPreciosHis"); }

private:
    sqlite3* abrirNuevo(const QString& archivo);
    bool ejecutar(sqlite3* db, const QString& sql);
    bool cerrar(sqlite3* db, const QString& archivo, bool ok);
    bool cargarTablasFijas(sqlite3* db);
    bool cargarMaestros(sqlite3* db);

    OpcionesDemo opciones_;
    QString error_;
};

} // namespace rp::demo
