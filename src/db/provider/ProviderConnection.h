#pragma once

#include "db/provider/Cursor.h"
#include "db/provider/ProviderError.h"

#include <QString>
#include <QVariantList>
#include <memory>

namespace rp::db {

// What the facade `Connection` needs of a database provider. Implemented by
// SqliteProvider (embedded) and OdbcProvider (unixODBC). Every failing call
// appends its diagnostics to `errors` and throws DbError.
class ProviderConnection {
public:
    virtual ~ProviderConnection() = default;

    virtual QString name() const = 0;
    // `target` is the provider's own connection target (a database file for
    // SQLite, an ODBC connection string for ODBC).
    virtual void open(const QString& target, QList<ProviderError>& errors) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Statement as the program wrote it -> statement as it is sent (dialect
    // rewrite). Identity where the database speaks the program's dialect.
    virtual QString rewrite(const QString& sql) const = 0;

    // Runs an already rewritten statement. Parameters bind to "?" markers.
    // Returns the rows it produces (nullptr when it produces none);
    // rowsAffected receives the count of changed rows (-1 when unknown).
    virtual std::unique_ptr<Cursor> execute(const QString& sql, const QVariantList& params,
                                            qint64& rowsAffected, QList<ProviderError>& errors) = 0;

    virtual void beginTrans(QList<ProviderError>& errors) = 0;
    virtual void commitTrans(QList<ProviderError>& errors) = 0;
    virtual void rollbackTrans(QList<ProviderError>& errors) = 0;

    // Seconds; 0 means no limit.
    virtual void setCommandTimeout(int seconds) = 0;
    virtual void setDefaultDatabase(const QString& name, QList<ProviderError>& errors) = 0;
    virtual QString defaultDatabase() const = 0;
    // Transaction isolation of the session, as an ADO IsolationLevel value
    // (256 read uncommitted, 4096 read committed, 65536 repeatable read,
    // 1048576 serializable). Applies to the transactions begun afterwards.
    virtual void setIsolationLevel(int adoLevel, QList<ProviderError>& errors) = 0;

    // Schema catalogue. Tables: TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME,
    // TABLE_TYPE ("TABLE" or "VIEW"). Columns: TABLE_CATALOG, TABLE_SCHEMA,
    // TABLE_NAME, COLUMN_NAME, DATA_TYPE (ADO code), CHARACTER_MAXIMUM_LENGTH.
    // An empty restriction matches anything.
    virtual std::unique_ptr<Cursor> schemaTables(QList<ProviderError>& errors) = 0;
    virtual std::unique_ptr<Cursor> schemaColumns(const QString& catalog, const QString& table,
                                                  QList<ProviderError>& errors) = 0;
};

} // namespace rp::db
