#pragma once

#include <QIODevice>
#include <QString>
#include <QVariant>

namespace rp::db {
class Recordset;
}

namespace rp::app {

// Writes record-set rows as CSV (RFC 4180, UTF-8, CR LF line ends): a header
// row of field names, then one line per row, streamed from the open record
// set. Numbers use a decimal point, date-times ISO 8601, NULL an empty cell.
class SalidaCsv {
public:
    // Returns the number of data rows written.
    static qint64 escribir(rp::db::Recordset& rs, QIODevice& out);
    static QString celda(const QVariant& value);
    static QString citar(const QString& text);
};

} // namespace rp::app
