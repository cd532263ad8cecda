#pragma once

#include <QIODevice>
#include <QString>
#include <QVariant>

namespace rp::db {
class Recordset;
}

namespace rp::app {

// Writes record-set rows as CSV through the report engine's writer
// (rp::motor::EscritorCsv: RFC 4180, UTF-8, CR LF line ends, text cells
// guarded against spreadsheet formulas, every write checked): a header row
// of field names, then one line per row, streamed from the open record set.
// Numbers use a decimal point, date-times ISO 8601 (a date alone at
// midnight), NULL an empty cell.
class SalidaCsv {
public:
    // Returns the number of data rows written. Throws rp::motor::ErrorMotor
    // when the output cannot be written.
    static qint64 escribir(rp::db::Recordset& rs, QIODevice& out);
    static QString celda(const QVariant& value);
};

} // namespace rp::app
