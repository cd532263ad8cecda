#pragma once

#include "db/provider/Cursor.h"
#include "report/engine/ContextoReporte.h"

#include <QHash>
#include <QList>
#include <QVariantList>
#include <memory>

namespace rp::motor {

class ReportePreparado;

// The rows of a prepared report, selected and sorted, one at a time. Rows
// stream from the cursor; only a sort the database could not do (procedure
// results) holds the selected rows in memory.
class LectorFilas {
public:
    // `paginas`: a sort done in memory follows the pages' order (the group
    // field first) instead of the files'.
    LectorFilas(const ReportePreparado& reporte, std::unique_ptr<rp::db::Cursor> cursor,
                bool paginas = false);

    // Advances to the next row; false at the end. Throws ErrorMotor (formula
    // errors) and what the cursor throws.
    bool siguiente();
    // The current row's values, one per field of campos() of the report.
    const QVariantList& valores() const { return actual_; }
    // Number of the current row (from 1).
    qint64 numero() const { return numero_; }
    // The context of the current row.
    const ContextoReporte& contexto() const { return contexto_; }
    // The statement starts after `filas` rows of the whole report (a page
    // laid out alone): the rows are numbered from there.
    void numerarDesde(qint64 filas) { numero_ = filas; }
    // Rows read from the database so far.
    qint64 leidas() const { return leidas_; }

    // Field key "TABLA.CAMPO" -> index in valores().
    const QHash<QString, int>& indices() const { return indices_; }

private:
    bool leerDelCursor(QVariantList& fila);
    void ordenarEnMemoria();

    const ReportePreparado& rep_;
    std::unique_ptr<rp::db::Cursor> cursor_;
    QHash<QString, int> indices_;
    QList<int> columnasCursor_; // cursor column of each field
    QVariantList actual_;
    ContextoReporte contexto_;
    qint64 numero_ = 0;
    qint64 leidas_ = 0;
    bool ordenado_ = false;
    bool paginas_ = false;
    QList<QVariantList> memoria_;
    qsizetype posMemoria_ = 0;
};

} // namespace rp::motor
