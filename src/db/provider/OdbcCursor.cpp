#include "db/provider/OdbcCursor.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <vector>

namespace rp::db {

namespace {

constexpr SQLLEN kChunkChars = 1024;

// Text values in chunks: a driver returns 01004 (data truncated) while more
// remains, with the remaining length or SQL_NO_TOTAL in the indicator.
bool readText(SQLHSTMT stmt, SQLUSMALLINT column, QVariant& out) {
    std::vector<SQLWCHAR> buf(kChunkChars);
    const SQLLEN bufBytes = SQLLEN(buf.size() * sizeof(SQLWCHAR));
    QString text;
    bool any = false;
    for (;;) {
        SQLLEN ind = 0;
        const SQLRETURN r = SQLGetData(stmt, column, SQL_C_WCHAR, buf.data(), bufBytes, &ind);
        if (r == SQL_NO_DATA)
            break;
        if (!odbcOk(r))
            return false;
        if (ind == SQL_NULL_DATA) {
            out = QVariant();
            return true;
        }
        any = true;
        const bool truncated =
            r == SQL_SUCCESS_WITH_INFO && (ind == SQL_NO_TOTAL || ind >= bufBytes);
        const qsizetype chars =
            truncated ? qsizetype(buf.size()) - 1 : qsizetype(ind / SQLLEN(sizeof(SQLWCHAR)));
        text.append(fromOdbcText(buf.data(), chars));
        if (!truncated)
            break;
    }
    out = any ? QVariant(text) : QVariant(QString(""));
    return true;
}

// Reads a column in chunks of `bufBytes` bytes with SQLGetData as `cType`;
// `terminator` is the size of the terminating NUL the driver adds to each
// chunk (1 for text, 0 for binary). `isNull` tells a NULL value.
bool readChunks(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT cType, SQLLEN bufBytes,
                SQLLEN terminator, QByteArray& data, bool& isNull) {
    std::vector<char> buf(static_cast<size_t>(bufBytes));
    isNull = false;
    for (;;) {
        SQLLEN ind = 0;
        const SQLRETURN r = SQLGetData(stmt, column, cType, buf.data(), bufBytes, &ind);
        if (r == SQL_NO_DATA)
            break;
        if (!odbcOk(r))
            return false;
        if (ind == SQL_NULL_DATA) {
            isNull = true;
            return true;
        }
        const bool truncated =
            r == SQL_SUCCESS_WITH_INFO && (ind == SQL_NO_TOTAL || ind > bufBytes - terminator);
        data.append(buf.data(), truncated ? bufBytes - terminator : ind);
        if (!truncated)
            break;
    }
    return true;
}

// The same through the narrow call, for drivers that speak UTF-8 there.
bool readUtf8Text(SQLHSTMT stmt, SQLUSMALLINT column, QVariant& out) {
    QByteArray bytes;
    bool isNull = false;
    if (!readChunks(stmt, column, SQL_C_CHAR, SQLLEN(kChunkChars * 4), 1, bytes, isNull))
        return false;
    out = isNull ? QVariant() : QVariant(QString::fromUtf8(bytes));
    return true;
}

bool readBinary(SQLHSTMT stmt, SQLUSMALLINT column, QVariant& out) {
    QByteArray data;
    bool isNull = false;
    if (!readChunks(stmt, column, SQL_C_BINARY, 8192, 0, data, isNull))
        return false;
    out = isNull ? QVariant() : QVariant(data);
    return true;
}

QVariant numberFromText(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    if (!t.contains(QLatin1Char('.')) && !t.contains(QLatin1Char('e'), Qt::CaseInsensitive)) {
        const qint64 n = t.toLongLong(&ok);
        if (ok)
            return n;
    }
    const double d = t.toDouble(&ok);
    return ok ? QVariant(d) : QVariant(text);
}

} // namespace

OdbcCursor::OdbcCursor(std::shared_ptr<OdbcSession> session, SQLHSTMT stmt,
                       QList<ProviderError>& errors)
    : session_(std::move(session)), stmt_(stmt), errors_(&errors) {
    fields_ = describe(stmt_, types_, session_->utf8);
    session_->cursors.append(this);
}

OdbcCursor::~OdbcCursor() {
    freeStatement();
}

QList<Field> OdbcCursor::describe(SQLHSTMT stmt, QList<OdbcColumnType>& types, bool utf8) {
    QList<Field> fields;
    types.clear();
    SQLSMALLINT count = 0;
    if (!odbcOk(SQLNumResultCols(stmt, &count)))
        return fields;
    for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(count); ++c) {
        SQLSMALLINT sqlType = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        QString name;
        QString typeName;
        if (utf8) {
            SQLCHAR text[1024] = {};
            SQLSMALLINT length = 0;
            SQLDescribeCol(stmt, c, text, SQLSMALLINT(sizeof text), &length, &sqlType, &size,
                           &digits, &nullable);
            name = QString::fromUtf8(reinterpret_cast<const char*>(text),
                                     clampLength(length, qsizetype(sizeof text) - 1));
            SQLCHAR type[256] = {};
            SQLSMALLINT typeLength = 0;
            SQLColAttribute(stmt, c, SQL_DESC_TYPE_NAME, type, SQLSMALLINT(sizeof type),
                            &typeLength, nullptr);
            typeName = QString::fromUtf8(reinterpret_cast<const char*>(type),
                                         clampLength(typeLength, qsizetype(sizeof type) - 1));
        } else {
            SQLWCHAR text[512] = {};
            SQLSMALLINT length = 0;
            SQLDescribeColW(stmt, c, text, SQLSMALLINT(std::size(text)), &length, &sqlType, &size,
                            &digits, &nullable);
            name = fromOdbcText(text, clampLength(length, qsizetype(std::size(text)) - 1));
            SQLWCHAR type[128] = {};
            SQLSMALLINT typeBytes = 0;
            SQLColAttributeW(stmt, c, SQL_DESC_TYPE_NAME, type, SQLSMALLINT(sizeof type),
                             &typeBytes, nullptr);
            typeName = fromOdbcText(type, clampLength(typeBytes / qint64(sizeof(SQLWCHAR)),
                                                      qsizetype(std::size(type)) - 1));
        }
        SQLLEN isUnsigned = SQL_FALSE;
        SQLColAttribute(stmt, c, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned);
        // Integer kinds report themselves unsigned only where the database
        // really has unsigned columns; exact types other than integers ignore it.
        const OdbcColumnType t = odbcColumnType(sqlType, size, digits, typeName,
                                                isUnsigned == SQL_TRUE && sqlType == SQL_TINYINT);
        Field f;
        f.name = name;
        f.type = t.adoType;
        f.definedSize = t.definedSize;
        fields.append(f);
        types.append(t);
    }
    return fields;
}

bool OdbcCursor::readValue(SQLHSTMT stmt, SQLUSMALLINT column, const OdbcColumnType& type,
                           QVariant& out, bool utf8) {
    SQLLEN ind = 0;
    SQLRETURN r = SQL_SUCCESS;
    switch (type.cType) {
    case SQL_C_SBIGINT: {
        SQLBIGINT v = 0;
        r = SQLGetData(stmt, column, SQL_C_SBIGINT, &v, 0, &ind);
        if (odbcOk(r))
            out = ind == SQL_NULL_DATA ? QVariant() : QVariant(qint64(v));
        break;
    }
    case SQL_C_DOUBLE: {
        SQLDOUBLE v = 0;
        r = SQLGetData(stmt, column, SQL_C_DOUBLE, &v, 0, &ind);
        if (odbcOk(r))
            out = ind == SQL_NULL_DATA ? QVariant() : QVariant(double(v));
        break;
    }
    case SQL_C_TYPE_DATE: {
        SQL_DATE_STRUCT v{};
        r = SQLGetData(stmt, column, SQL_C_TYPE_DATE, &v, sizeof v, &ind);
        if (odbcOk(r))
            out = ind == SQL_NULL_DATA
                      ? QVariant()
                      : QVariant(QDateTime(QDate(v.year, v.month, v.day), QTime(0, 0)));
        break;
    }
    case SQL_C_TYPE_TIME: {
        SQL_TIME_STRUCT v{};
        r = SQLGetData(stmt, column, SQL_C_TYPE_TIME, &v, sizeof v, &ind);
        if (odbcOk(r))
            out = ind == SQL_NULL_DATA
                      ? QVariant()
                      : QVariant(QDateTime(QDate(1899, 12, 30), QTime(v.hour, v.minute, v.second)));
        break;
    }
    case SQL_C_TYPE_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT v{};
        r = SQLGetData(stmt, column, SQL_C_TYPE_TIMESTAMP, &v, sizeof v, &ind);
        if (odbcOk(r))
            out = ind == SQL_NULL_DATA ? QVariant()
                                       : QVariant(QDateTime(QDate(v.year, v.month, v.day),
                                                            QTime(v.hour, v.minute, v.second,
                                                                  int(v.fraction / 1000000u))));
        break;
    }
    case SQL_C_BINARY:
        return readBinary(stmt, column, out);
    default:
        if (!(utf8 ? readUtf8Text(stmt, column, out) : readText(stmt, column, out)))
            return false;
        if (!out.isNull() && (type.adoType == adtype::Numeric || type.adoType == adtype::Currency))
            out = numberFromText(out.toString());
        return true;
    }
    return odbcOk(r);
}

bool OdbcCursor::fetchFromStatement(QVariantList& row) {
    const SQLRETURN r = SQLFetch(stmt_);
    if (r == SQL_NO_DATA)
        return false;
    if (!odbcOk(r))
        session_->fail(SQL_HANDLE_STMT, stmt_, *errors_, "SQLFetch");
    row.clear();
    row.reserve(types_.size());
    for (qsizetype i = 0; i < types_.size(); ++i) {
        QVariant v;
        if (!readValue(stmt_, SQLUSMALLINT(i + 1), types_.at(i), v, session_->utf8))
            session_->fail(SQL_HANDLE_STMT, stmt_, *errors_, "SQLGetData");
        row.append(v);
    }
    return true;
}

bool OdbcCursor::fetch() {
    if (!pending_.isEmpty()) {
        row_ = pending_.takeFirst();
        return true;
    }
    if (drained_ || finished_) {
        row_.clear();
        return false;
    }
    if (stmt_ == SQL_NULL_HSTMT)
        throw DbError(errc::NotAllowedClosed,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      session_->source);
    QVariantList row;
    if (!fetchFromStatement(row)) {
        finished_ = true;
        freeStatement();
        row_.clear();
        return false;
    }
    row_ = row;
    return true;
}

void OdbcCursor::drain() {
    if (stmt_ == SQL_NULL_HSTMT || finished_)
        return;
    QVariantList row;
    while (fetchFromStatement(row))
        pending_.append(row);
    drained_ = true;
    freeStatement();
}

void OdbcCursor::detach() {
    freeStatement();
}

void OdbcCursor::freeStatement() {
    if (stmt_ != SQL_NULL_HSTMT) {
        SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
        stmt_ = SQL_NULL_HSTMT;
    }
    session_->cursors.removeAll(this);
}

} // namespace rp::db
