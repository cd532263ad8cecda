#include "db/provider/SqliteCursor.h"

#include "db/provider/SqliteTypes.h"

#include <QDateTime>
#include <sqlite3.h>

namespace rp::db {

SqliteCursor::SqliteCursor(std::shared_ptr<SqliteSession> session, sqlite3_stmt* stmt)
    : session_(std::move(session)), stmt_(stmt) {
    const int n = sqlite3_column_count(stmt_);
    for (int i = 0; i < n; ++i) {
        const char* decl = sqlite3_column_decltype(stmt_, i);
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt_, i));
        fields_.append(fieldForDeclaredType(name, decl ? QString::fromUtf8(decl) : QString()));
        fromExpression_.append(decl == nullptr);
    }
    const int rc = step();
    if (rc == SQLITE_ROW) {
        // Expression columns take their type from the first row's values.
        for (int i = 0; i < n; ++i) {
            if (!fromExpression_.at(i))
                continue;
            Field& f = fields_[i];
            switch (sqlite3_column_type(stmt_, i)) {
            case SQLITE_INTEGER: {
                const qint64 v = sqlite3_column_int64(stmt_, i);
                f.type = (v >= INT32_MIN && v <= INT32_MAX) ? adtype::Integer : adtype::BigInt;
                f.definedSize = f.type == adtype::Integer ? 4 : 8;
                break;
            }
            case SQLITE_FLOAT:
                f.type = adtype::Double;
                f.definedSize = 8;
                break;
            case SQLITE_TEXT: {
                const QString text =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i)),
                                      sqlite3_column_bytes(stmt_, i));
                if (text.size() >= 19 && parseIsoDateTime(text).isValid()) {
                    f.type = adtype::DBTimeStamp;
                    f.definedSize = 16;
                }
                break;
            }
            case SQLITE_BLOB:
                f.type = adtype::LongVarBinary;
                f.definedSize = 2147483647;
                break;
            default:
                break;
            }
        }
        firstPending_ = true;
        readRow();
    } else {
        finish();
    }
}

SqliteCursor::~SqliteCursor() {
    finish();
}

void SqliteCursor::finish() {
    if (stmt_) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
    done_ = true;
}

int SqliteCursor::step() {
    if (!session_->db) {
        finish();
        throw DbError(errc::NotAllowedClosed,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      session_->source);
    }
    session_->startClock();
    const int rc = sqlite3_step(stmt_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        const ProviderError e = session_->error(rc);
        finish();
        session_->failWith(e);
    }
    return rc;
}

bool SqliteCursor::fetch() {
    if (firstPending_) {
        firstPending_ = false;
        return true;
    }
    if (done_)
        return false;
    if (step() != SQLITE_ROW) {
        finish();
        row_.clear();
        leido_.clear();
        return false;
    }
    readRow();
    return true;
}

void SqliteCursor::readRow() {
    const qsizetype n = fields_.size();
    if (row_.size() != n) {
        row_.resize(n);
        leido_.resize(n);
    }
    leido_.fill(false);
}

QVariant SqliteCursor::value(int i) const {
    if (done_ || i < 0 || i >= row_.size())
        return {};
    if (!leido_.at(i)) {
        row_[i] = columnValue(i);
        leido_[i] = true;
    }
    return row_.at(i);
}

QVariant SqliteCursor::columnValue(int i) const {
    const int type = fields_.at(i).type;
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        if (isFractionalType(type))
            return sqlite3_column_double(stmt_, i);
        return qint64(sqlite3_column_int64(stmt_, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt_, i);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt_, i)),
                          sqlite3_column_bytes(stmt_, i));
    default:
        break;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i)),
                          sqlite3_column_bytes(stmt_, i));
    if (isDateType(type)) {
        const QDateTime dt = parseIsoDateTime(text);
        if (dt.isValid())
            return type == adtype::DBDate ? QVariant(dt.date()) : QVariant(dt);
    }
    return text;
}

} // namespace rp::db
