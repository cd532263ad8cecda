#pragma once

#include "db/provider/DialectRewriter.h"
#include "db/provider/OdbcSession.h"
#include "db/provider/ProviderConnection.h"

#include <memory>

namespace rp::db {

// Database provider over the unixODBC driver manager (wide-character calls,
// so any Unicode text round-trips). Serves SQL Server through an ODBC driver
// for SQL Server, Oracle through an Oracle driver and any other ODBC source.
// Every ODBC diagnostic record of a failed call becomes one ProviderError;
// a lost link (08S01, 08003, 08007, HYT00 and the like) raises
// errc::Unspecified so the query layer reconnects.
class OdbcProvider : public ProviderConnection {
public:
    OdbcProvider();
    ~OdbcProvider() override;

    QString name() const override;
    void open(const QString& target, QList<ProviderError>& errors) override;
    void close() override;
    bool isOpen() const override;

    // Identity, except on a SQLite database reached through its ODBC driver:
    // there the SQL Server dialect is rewritten as for the embedded provider
    // (the driver must load the SQL Server function module, LoadExt=).
    QString rewrite(const QString& sql) const override;
    DialectRewriter& rewriter() { return rewriter_; }

    std::unique_ptr<Cursor> execute(const QString& sql, const QVariantList& params,
                                    qint64& rowsAffected, QList<ProviderError>& errors) override;

    void beginTrans(QList<ProviderError>& errors) override;
    void commitTrans(QList<ProviderError>& errors) override;
    void rollbackTrans(QList<ProviderError>& errors) override;

    void setCommandTimeout(int seconds) override;
    int commandTimeout() const { return commandTimeout_; }
    void setDefaultDatabase(const QString& name, QList<ProviderError>& errors) override;
    void setIsolationLevel(int adoLevel, QList<ProviderError>& errors) override;
    QString defaultDatabase() const override;

    std::unique_ptr<Cursor> schemaTables(QList<ProviderError>& errors) override;
    std::unique_ptr<Cursor> schemaColumns(const QString& catalog, const QString& table,
                                          QList<ProviderError>& errors) override;

    // What the driver reports about the open connection (empty when closed).
    QString dbmsName() const { return dbmsName_; }
    QString driverName() const { return driverName_; }
    bool inTransaction() const { return inTransaction_; }
    // Whether the driver serves one active statement at a time (as FreeTDS
    // does); then the pending rows of open cursors are read into memory before
    // another statement runs. Taken from the driver on open; can be forced for
    // drivers that do not report it.
    bool singleActiveStatement() const { return session_->maxActiveStatements == 1; }
    void setSingleActiveStatement(bool single) { session_->maxActiveStatements = single ? 1 : 0; }

private:
    SQLHSTMT newStatement(QList<ProviderError>& errors);
    void requireOpen() const;
    QString infoText(SQLUSMALLINT info) const;
    bool isSqlServer() const;
    bool isSqlite() const;
    void endTransaction(SQLSMALLINT completion, QList<ProviderError>& errors);
    // Reads a catalogue result completely (columns by number, as text or number).
    QList<QVariantList> readAll(SQLHSTMT stmt, QList<ProviderError>& errors);

    std::shared_ptr<OdbcSession> session_;
    DialectRewriter rewriter_;
    QString dbmsName_;
    QString driverName_;
    QString defaultDatabase_;
    QString searchEscape_;
    bool catalogs_ = true;
    bool inTransaction_ = false;
    int commandTimeout_ = 30;
};

} // namespace rp::db
