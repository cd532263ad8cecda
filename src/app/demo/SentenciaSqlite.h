#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <sqlite3.h>

namespace rp::demo {

// A prepared SQLite statement owned for the time of a bulk load: bind by
// position (1-based), step, reset. Failures are kept in `error()`.
class SentenciaSqlite {
public:
    SentenciaSqlite(sqlite3* db, const QString& sql) : db_(db) {
        const QByteArray texto = sql.toUtf8();
        if (sqlite3_prepare_v2(db, texto.constData(), static_cast<int>(texto.size()), &stmt_,
                               nullptr) != SQLITE_OK) {
            error_ = QString::fromUtf8(sqlite3_errmsg(db)) + QStringLiteral(" (") + sql +
                     QStringLiteral(")");
            stmt_ = nullptr;
        }
    }
    ~SentenciaSqlite() { sqlite3_finalize(stmt_); }
    SentenciaSqlite(const SentenciaSqlite&) = delete;
    SentenciaSqlite& operator=(const SentenciaSqlite&) = delete;

    bool valida() const { return stmt_ != nullptr; }
    const QString& error() const { return error_; }

    void texto(int i, const QString& v) {
        if (v.isNull()) {
            sqlite3_bind_null(stmt_, i);
            return;
        }
        const QByteArray b = v.toUtf8();
        sqlite3_bind_text(stmt_, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    }
    // UTF-8 text that stays alive and unchanged until the next ejecutar().
    void utf8(int i, const char* v, int bytes) {
        sqlite3_bind_text(stmt_, i, v, bytes, SQLITE_STATIC);
    }
    void entero(int i, qint64 v) { sqlite3_bind_int64(stmt_, i, v); }
    void real(int i, double v) { sqlite3_bind_double(stmt_, i, v); }
    void nulo(int i) { sqlite3_bind_null(stmt_, i); }
    void valor(int i, const QVariant& v) {
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            entero(i, v.toLongLong());
            break;
        case QMetaType::Double:
            real(i, v.toDouble());
            break;
        default:
            if (v.isNull())
                nulo(i);
            else
                texto(i, v.toString());
        }
    }

    // Runs the statement once and makes it ready for the next row.
    bool ejecutar() {
        if (!stmt_)
            return false;
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
            error_ = QString::fromUtf8(sqlite3_errmsg(db_));
            return false;
        }
        return true;
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString error_;
};

} // namespace rp::demo
