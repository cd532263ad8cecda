#pragma once

#include "db/provider/DialectRewriter.h"
#include "db/provider/ProviderConnection.h"
#include "db/provider/SqliteSession.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace rp::db {

// The embedded provider: one SQLite database file, spoken to in the SQL Server
// dialect. Statements pass through `DialectRewriter`; the SQL Server functions
// and the MSSQL collation are registered on the handle; "EXEC name args"
// runs a procedure body kept in the table RP_PROCEDIMIENTOS.
class SqliteProvider : public ProviderConnection {
public:
    struct Options {
        bool createIfMissing = false;                // a missing file is an error by default
        QString journalMode = QStringLiteral("WAL"); // of a file it creates: "WAL" or "DELETE"
    };

    SqliteProvider();
    explicit SqliteProvider(const Options& options);
    ~SqliteProvider() override;

    // Creates an empty database file (journal mode WAL) when it does not exist.
    // Returns false with a message in `error` when it cannot be created.
    static bool createDatabaseFile(const QString& path, QString* error = nullptr);

    QString name() const override { return QStringLiteral("SQLite"); }
    void open(const QString& target, QList<ProviderError>& errors) override;
    void close() override;
    bool isOpen() const override { return db_ != nullptr; }
    QString rewrite(const QString& sql) const override;
    std::unique_ptr<Cursor> execute(const QString& sql, const QVariantList& params,
                                    qint64& rowsAffected, QList<ProviderError>& errors) override;
    void beginTrans(QList<ProviderError>& errors) override;
    void commitTrans(QList<ProviderError>& errors) override;
    void rollbackTrans(QList<ProviderError>& errors) override;
    void setCommandTimeout(int seconds) override;
    void setDefaultDatabase(const QString& name, QList<ProviderError>& errors) override;
    QString defaultDatabase() const override { return catalog_; }
    void setIsolationLevel(int adoLevel, QList<ProviderError>& errors) override;
    std::unique_ptr<Cursor> schemaTables(QList<ProviderError>& errors) override;
    std::unique_ptr<Cursor> schemaColumns(const QString& catalog, const QString& table,
                                          QList<ProviderError>& errors) override;

    // The dialect rewrite in use (date order and separator are its settings).
    DialectRewriter& rewriter() { return rewriter_; }
    // The tables and views of a database with their date columns, as the
    // dialect rewrite needs them; a table that cannot be read is left out.
    static DialectRewriter::Tables dialectTables(sqlite3* db);
    const QString& filePath() const { return path_; }
    sqlite3* handle() const { return db_; }

private:
    std::unique_ptr<Cursor> runStatements(const QString& sql, const QVariantList& params,
                                          qint64& rowsAffected, QList<ProviderError>& errors);
    std::unique_ptr<Cursor> runProcedure(const QString& sql, const QVariantList& params,
                                         qint64& rowsAffected, QList<ProviderError>& errors);
    void simple(const QString& sql, QList<ProviderError>& errors);
    void requireOpen(QList<ProviderError>& errors);
    bool catalogMatches(const QString& catalog) const;
    void refreshDialectTables() const;
    // Statements without rows run again and again (an UPDATE per row of a
    // loop) are kept prepared, by their text, up to kReused of them.
    void keepPrepared(const QByteArray& sql, sqlite3_stmt* st);
    void dropPrepared();
    static constexpr int kReused = 32;

    Options options_;
    std::shared_ptr<SqliteSession> session_;
    sqlite3* db_ = nullptr;
    QString path_;
    QString catalog_;
    int timeoutSeconds_ = 30;
    QStringList savepoints_;
    mutable DialectRewriter rewriter_; // its tables follow the schema
    mutable int schemaVersion_ = -1;
    mutable sqlite3_stmt* versionStatement_ = nullptr; // PRAGMA schema_version, kept prepared
    QHash<QByteArray, sqlite3_stmt*> reused_;
};

} // namespace rp::db
