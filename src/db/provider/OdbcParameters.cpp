#include "db/provider/OdbcParameters.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace rp::db {

namespace {

template <typename T> QByteArray bytesOf(const T& value) {
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof(T));
}

} // namespace

SQLRETURN OdbcParameters::bind(SQLHSTMT stmt, const QVariantList& values, bool utf8) {
    slots_.clear();
    slots_.resize(values.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QVariant& v = values.at(i);
        Slot& slot = slots_[i];
        SQLSMALLINT cType = SQL_C_WCHAR;
        SQLSMALLINT sqlType = SQL_WVARCHAR;
        SQLULEN columnSize = 1;
        SQLSMALLINT digits = 0;

        if (v.isNull()) {
            slot.data = QByteArray(2, '\0');
            slot.indicator = SQL_NULL_DATA;
            sqlType = SQL_VARCHAR;
            cType = SQL_C_CHAR;
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
                slot.data = bytesOf<unsigned char>(v.toBool() ? 1 : 0);
                cType = SQL_C_BIT;
                sqlType = SQL_BIT;
                break;
            case QMetaType::Int:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Char:
            case QMetaType::SChar:
            case QMetaType::UChar:
                slot.data = bytesOf<SQLINTEGER>(SQLINTEGER(v.toInt()));
                cType = SQL_C_SLONG;
                sqlType = SQL_INTEGER;
                columnSize = 10;
                break;
            case QMetaType::UInt:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::ULong:
            case QMetaType::ULongLong:
                slot.data = bytesOf<SQLBIGINT>(SQLBIGINT(v.toLongLong()));
                cType = SQL_C_SBIGINT;
                sqlType = SQL_BIGINT;
                columnSize = 19;
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                slot.data = bytesOf<SQLDOUBLE>(v.toDouble());
                cType = SQL_C_DOUBLE;
                sqlType = SQL_DOUBLE;
                columnSize = 15;
                break;
            case QMetaType::QDate: {
                const QDate d = v.toDate();
                SQL_DATE_STRUCT s{SQLSMALLINT(d.year()), SQLUSMALLINT(d.month()),
                                  SQLUSMALLINT(d.day())};
                slot.data = bytesOf(s);
                cType = SQL_C_TYPE_DATE;
                sqlType = SQL_TYPE_DATE;
                columnSize = 10;
                break;
            }
            case QMetaType::QDateTime: {
                const QDateTime dt = v.toDateTime();
                const QDate d = dt.date();
                const QTime t = dt.time();
                SQL_TIMESTAMP_STRUCT s{SQLSMALLINT(d.year()),           SQLUSMALLINT(d.month()),
                                       SQLUSMALLINT(d.day()),           SQLUSMALLINT(t.hour()),
                                       SQLUSMALLINT(t.minute()),        SQLUSMALLINT(t.second()),
                                       SQLUINTEGER(t.msec()) * 1000000u};
                slot.data = bytesOf(s);
                cType = SQL_C_TYPE_TIMESTAMP;
                sqlType = SQL_TYPE_TIMESTAMP;
                columnSize = 23;
                digits = 3;
                break;
            }
            case QMetaType::QByteArray:
                slot.data = v.toByteArray();
                slot.indicator = SQLLEN(slot.data.size());
                cType = SQL_C_BINARY;
                sqlType = slot.data.size() > 8000 ? SQL_LONGVARBINARY : SQL_VARBINARY;
                columnSize = SQLULEN(qMax<qsizetype>(slot.data.size(), 1));
                break;
            default: {
                const QString s = v.toString();
                if (utf8) {
                    slot.data = s.toUtf8();
                    slot.indicator = SQLLEN(slot.data.size());
                    slot.data.append('\0');
                    cType = SQL_C_CHAR;
                    sqlType = slot.indicator > 8000 ? SQL_LONGVARCHAR : SQL_VARCHAR;
                    columnSize = SQLULEN(qMax<SQLLEN>(slot.indicator, 1));
                    break;
                }
                slot.data = QByteArray(reinterpret_cast<const char*>(s.utf16()),
                                       (s.size() + 1) * qsizetype(sizeof(char16_t)));
                slot.indicator = SQLLEN(s.size() * qsizetype(sizeof(char16_t)));
                cType = SQL_C_WCHAR;
                sqlType = s.size() > 4000 ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
                columnSize = SQLULEN(qMax<qsizetype>(s.size(), 1));
                break;
            }
            }
            if (cType != SQL_C_WCHAR && cType != SQL_C_CHAR && cType != SQL_C_BINARY)
                slot.indicator = 0;
        }
        SQLLEN* indicator = &slot.indicator;
        if (slot.indicator == 0 && cType != SQL_C_WCHAR && cType != SQL_C_CHAR &&
            cType != SQL_C_BINARY)
            indicator = nullptr; // fixed-size C types need no length
        const SQLRETURN r =
            SQLBindParameter(stmt, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, cType, sqlType, columnSize,
                             digits, slot.data.data(), SQLLEN(slot.data.size()), indicator);
        if (!(r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO))
            return r;
    }
    return SQL_SUCCESS;
}

} // namespace rp::db
