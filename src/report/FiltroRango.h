#pragma once

#include <QList>
#include <QString>

namespace rp::report {

// One range of a report filter table: the bounds the operator typed for one
// report field, how the field is typed and how the range joins the ones
// before it. ArmarFiltro turns a table of them into a record selection
// formula.
struct FiltroRango {
    QString ValorDesde;   // lower bound as typed (trimmed); may hold "*" wildcards
    QString ValorHasta;   // upper bound as typed (trimmed); may hold "*" wildcards
    QString CampoReporte; // report field with its braces: "{v_ma_articulos.idrubro}"
    // ADO type code of the field: 7 date, 20 64-bit integer, 2 16-bit integer,
    // 5 double, 4 single, 6 currency; any other value is text.
    qint16 TipoDato = 0;
    // Text fields only: compare the field as stored, without TrimLeft/TrimRight
    // (codes kept right-aligned in their width).
    bool SinRecorte = false;
    // "AND" or "OR" joining this range to the ones before; empty means "AND".
    QString Operador;
};

// A filter table (its first range is the first of the list).
using TablaFiltros = QList<FiltroRango>;

} // namespace rp::report
