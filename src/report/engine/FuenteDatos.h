#pragma once

#include "db/provider/Cursor.h"

#include <QString>
#include <functional>
#include <memory>

namespace rp::motor {

// Where a report's rows come from: a function that runs a statement (SQL
// Server dialect; the database layer rewrites it for its database) and
// returns its rows, and one that runs a stored-procedure call
// ("EXEC name @P='..', ..."); when the second is not set the first runs both.
// Both may throw (rp::db::DbError); a null cursor means no rows.
struct FuenteDatos {
    using Ejecutor = std::function<std::unique_ptr<rp::db::Cursor>(const QString&)>;
    Ejecutor consultar;
    Ejecutor procedimiento;

    std::unique_ptr<rp::db::Cursor> ejecutarProcedimiento(const QString& exec) const {
        return procedimiento ? procedimiento(exec) : consultar(exec);
    }

    // A source over an open connection of the database layer (any type with
    // execute(sql) returning std::unique_ptr<Cursor>, as rp::db::Connection).
    template <class Conexion> static FuenteDatos de(Conexion& conexion) {
        FuenteDatos f;
        f.consultar = [&conexion](const QString& sql) { return conexion.execute(sql); };
        return f;
    }
};

} // namespace rp::motor
