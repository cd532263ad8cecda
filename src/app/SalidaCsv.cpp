#include "app/SalidaCsv.h"

#include "db/provider/Recordset.h"
#include "report/engine/EscritorCsv.h"

#include <QDateTime>
#include <QStringList>

namespace rp::app {

using rp::motor::EscritorCsv;

QString SalidaCsv::celda(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                        : dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return value.toString();
    default:
        return EscritorCsv::celdaTexto(value.toString());
    }
}

qint64 SalidaCsv::escribir(rp::db::Recordset& rs, QIODevice& out) {
    QStringList header;
    for (int i = 0; i < rs.fieldCount(); ++i)
        header << EscritorCsv::celdaTexto(rs.field(i).name);
    EscritorCsv::escribirLinea(out, header);
    qint64 rows = 0;
    QStringList cells;
    while (!rs.eof()) {
        cells.clear();
        for (int i = 0; i < rs.fieldCount(); ++i)
            cells << celda(rs.value(i));
        EscritorCsv::escribirLinea(out, cells);
        ++rows;
        rs.moveNext();
    }
    return rows;
}

} // namespace rp::app
