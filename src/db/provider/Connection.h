#pragma once

#include "db/provider/Cursor.h"
#include "db/provider/ProviderConnection.h"
#include "db/provider/ProviderError.h"

#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

namespace rp::db {

class SqlTrace;

// ADO IsolationLevel values.
constexpr int adXactReadUncommitted = 256;
constexpr int adXactReadCommitted = 4096;
constexpr int adXactRepeatableRead = 65536;
constexpr int adXactSerializable = 1048576;

// ADO-style connection. Opened with a connection string in one of the
// layouts the program builds (SQL Server, Oracle, or a plain ODBC string);
// `ConnectionString` translation picks the provider:
//  - Server=sqlite (any case): the embedded SQLite provider; Database is a
//    file path, a bare name meaning <program folder>/<name>.db;
//  - otherwise ODBC, the layout translated to an ODBC connection string.
// Failing calls throw DbError and leave the provider's diagnostics in
// `errors()` until a caller clears them.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void open(const QString& connectionString, const QString& user = QString(),
              const QString& password = QString());
    // Opens a provider made by the caller (tests, the demo database builder)
    // on its own target, e.g. a SqliteProvider created with createIfMissing.
    void openWith(std::unique_ptr<ProviderConnection> provider, const QString& target);
    void close(); // throws DbError(3704) when already closed
    bool isOpen() const;
    // 0 closed, 1 open (ADO State).
    int state() const { return isOpen() ? 1 : 0; }

    const QString& connectionString() const { return connectionString_; }
    QString providerName() const;

    // Runs a statement written in the program's dialect. Returns its rows or
    // nullptr. rowsAffected may be null; it receives the rows changed (-1 when
    // the statement changes none, as a SELECT). The cursor must not be used
    // after the connection is closed (it then throws DbError 3704).
    std::unique_ptr<Cursor> execute(const QString& sql, qint64* rowsAffected = nullptr,
                                    const QVariantList& params = {});

    void beginTrans();
    void commitTrans();
    void rollbackTrans();

    int commandTimeout() const { return commandTimeout_; }
    void setCommandTimeout(int seconds);
    int cursorLocation() const { return cursorLocation_; }
    void setCursorLocation(int location) { cursorLocation_ = location; }
    QString defaultDatabase() const;
    void setDefaultDatabase(const QString& name);
    // ADO IsolationLevel (adXactReadUncommitted 256, adXactReadCommitted 4096,
    // ...); kept across reopening. An unknown value throws DbError 3001.
    int isolationLevel() const { return isolationLevel_; }
    void setIsolationLevel(int level);

    // adSchemaTables (20) and adSchemaColumns (4).
    std::unique_ptr<Cursor> openSchemaTables();
    std::unique_ptr<Cursor> openSchemaColumns(const QString& catalog, const QString& table);

    QList<ProviderError>& errors() { return errors_; }
    const QList<ProviderError>& errors() const { return errors_; }
    void clearErrors() { errors_.clear(); }

    // Test and diagnostics access to the provider in use (null when closed).
    ProviderConnection* provider() const { return provider_.get(); }

    // Every statement, as written and as sent, with its duration, goes to the
    // trace when one is installed (process-wide, set by --trace-sql).
    static void setTrace(SqlTrace* trace);
    static SqlTrace* trace();

private:
    void requireOpen() const;

    std::unique_ptr<ProviderConnection> provider_;
    QString connectionString_;
    QList<ProviderError> errors_;
    int commandTimeout_ = 30;
    int cursorLocation_ = 2;
    int isolationLevel_ = adXactReadCommitted;
};

} // namespace rp::db
