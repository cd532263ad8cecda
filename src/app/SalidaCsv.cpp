#include "app/SalidaCsv.h"

#include "db/provider/Recordset.h"

#include <QDateTime>
#include <QStringList>

namespace rp::app {

QString SalidaCsv::citar(const QString& text) {
    static const QString special = QStringLiteral(",\"\r\n");
    bool needs = false;
    for (const QChar c : text) {
        if (special.contains(c)) {
            needs = true;
            break;
        }
    }
    if (!needs)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

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
    default:
        return citar(value.toString());
    }
}

qint64 SalidaCsv::escribir(rp::db::Recordset& rs, QIODevice& out) {
    QStringList header;
    for (int i = 0; i < rs.fieldCount(); ++i)
        header << citar(rs.field(i).name);
    out.write(header.join(QLatin1Char(',')).toUtf8() + "\r\n");
    qint64 rows = 0;
    while (!rs.eof()) {
        QStringList cells;
        cells.reserve(rs.fieldCount());
        for (int i = 0; i < rs.fieldCount(); ++i)
            cells << celda(rs.value(i));
        out.write(cells.join(QLatin1Char(',')).toUtf8() + "\r\n");
        ++rows;
        rs.moveNext();
    }
    return rows;
}

} // namespace rp::app
