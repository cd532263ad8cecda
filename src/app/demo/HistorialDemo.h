#pragma once

#include "app/demo/MaestroDemo.h"

#include <QString>
#include <cstdint>

struct sqlite3;

namespace rp::demo {

// The price history of the demo: for every article a first price in each of
// its lists and later changes of cost or margin by the demo users, on working
// days between 2022-01-03 and 2025-06-30. Rows go to V_MV_PRECIOSHIS in
// chronological order (ID follows FECHAHORA) with the values before each
// change; the articles receive their current cost and a stored date of last
// cost change (none, an older change, or the latest one of list 1).
class HistorialDemo {
public:
    HistorialDemo(qint64 cambios, std::uint64_t semilla);

    // Generates and inserts the rows; fills `costo` and `fhUltimoCosto` of the
    // articles. False with `error()` on a database failure.
    bool cargar(sqlite3* db, QList<ArticuloDemo>& articulos);
    const QString& error() const { return error_; }

    // ISO text "YYYY-MM-DD HH:MM:SS" of a moment given in seconds from the
    // start of the period.
    static QString textoFechaHora(qint64 segundos);
    // Number of working days of the period, and the start (00:00:00, seconds
    // from the start of the period) of the working day with the given index.
    static int diasHabiles();
    static qint64 inicioDia(int indiceDiaHabil);

private:
    qint64 cambios_;
    std::uint64_t semilla_;
    QString error_;
};

} // namespace rp::demo
