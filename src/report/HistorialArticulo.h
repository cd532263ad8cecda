#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QPointF>
#include <QString>
#include <array>
#include <optional>

namespace rp::db {
class DB_Dll;
}

namespace rp::report {

// The whole price history of one article across every list, oldest first:
// what a drill-down from a report line shows, and the series of its chart.
class HistorialArticulo {
public:
    // Value classes of a change: 0 the cost, 1..8 the price classes.
    static constexpr int CantidadClases = 9;

    struct Cambio {
        QString lista;       // list code, trimmed
        QString nombreLista; // the list's name (empty when it has no header)
        QDateTime fecha;
        QString usuario;
        std::array<double, CantidadClases> valores{};
    };
    // One point of a list's line in the chart.
    struct Punto {
        QDateTime fecha;
        double valor = 0;
        QString usuario;
    };

    // Reads the history of the article `codigo` (as shown, trimmed or not)
    // through the database object, with the code bound as a value. Empty
    // when it has none or the statement failed (the database layer has
    // reported that).
    static QList<Cambio> leer(rp::db::DB_Dll& base, const QString& codigo);
    // The statement it runs (one "?" for the stored code).
    static QString sentencia();
    // One line per list (by list code) of class `clase`, oldest first.
    static QMap<QString, QList<Punto>> series(const QList<Cambio>& cambios, int clase);
    // The line a list draws: a price holds until its next change, so each
    // change after the first is a step (x: milliseconds since the epoch).
    static QList<QPointF> trazo(const QList<Punto>& serie);
    // The point of `serie` nearest in time to `momento` (null when empty):
    // what the chart's hover shows.
    static const Punto* puntoCercano(const QList<Punto>& serie, const QDateTime& momento);
    // A point's tooltip: list, date and time, value (regional settings) and user.
    static QString textoPunto(const QString& lista, const Punto& punto);
};

} // namespace rp::report
