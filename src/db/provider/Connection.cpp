#include "db/provider/Connection.h"

#include "db/provider/ConnectionString.h"
#include "db/provider/OdbcProvider.h"
#include "db/provider/SqlTrace.h"
#include "db/provider/SqliteProvider.h"

#include <QElapsedTimer>
#include <atomic>

namespace rp::db {

namespace {

std::atomic<SqlTrace*> gTrace{nullptr};

const QString kSource = QStringLiteral("ADODB.Connection");

} // namespace

Connection::Connection() = default;

Connection::~Connection() {
    if (provider_)
        provider_->close();
}

SqlTrace* Connection::trace() {
    return gTrace.load();
}

void Connection::setTrace(SqlTrace* trace) {
    gTrace.store(trace);
}

bool Connection::isOpen() const {
    return provider_ && provider_->isOpen();
}

QString Connection::providerName() const {
    return provider_ ? provider_->name() : QString();
}

void Connection::requireOpen() const {
    if (!isOpen())
        throw DbError(errc::ConnectionClosed,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      kSource);
}

void Connection::open(const QString& connectionString, const QString& user,
                      const QString& password) {
    if (isOpen())
        throw DbError(errc::NotAllowedOpen,
                      QStringLiteral("Operation is not allowed when the object is open."), kSource);
    provider_.reset();
    connectionString_ = connectionString;
    const ProviderTarget target =
        translateConnectionString(connectionString, user, password, providerSettings());
    std::unique_ptr<ProviderConnection> provider;
    if (target.kind == ProviderTarget::Sqlite) {
        auto sqlite = std::make_unique<SqliteProvider>();
        if (!target.database.trimmed().isEmpty())
            sqlite->setDefaultDatabase(target.database, errors_);
        provider = std::move(sqlite);
    } else {
        provider = std::make_unique<OdbcProvider>();
    }
    provider->setCommandTimeout(commandTimeout_);
    provider->open(target.target, errors_);
    if (isolationLevel_ != adXactReadCommitted)
        provider->setIsolationLevel(isolationLevel_, errors_);
    provider_ = std::move(provider);
}

void Connection::openWith(std::unique_ptr<ProviderConnection> provider, const QString& target) {
    if (isOpen())
        throw DbError(errc::NotAllowedOpen,
                      QStringLiteral("Operation is not allowed when the object is open."), kSource);
    provider_.reset();
    connectionString_ = target;
    provider->setCommandTimeout(commandTimeout_);
    provider->open(target, errors_);
    if (isolationLevel_ != adXactReadCommitted)
        provider->setIsolationLevel(isolationLevel_, errors_);
    provider_ = std::move(provider);
}

void Connection::close() {
    if (!isOpen())
        throw DbError(errc::NotAllowedClosed,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      kSource);
    provider_->close();
    provider_.reset();
}

std::unique_ptr<Cursor> Connection::execute(const QString& sql, qint64* rowsAffected,
                                            const QVariantList& params) {
    requireOpen();
    const QString sent = provider_->rewrite(sql);
    qint64 rows = -1;
    QElapsedTimer timer;
    timer.start();
    SqlTrace* trace = gTrace.load();
    try {
        std::unique_ptr<Cursor> cursor = provider_->execute(sent, params, rows, errors_);
        if (rowsAffected)
            *rowsAffected = rows;
        if (trace)
            trace->statement(sql, sent, timer.nsecsElapsed() / 1000,
                             cursor ? QStringLiteral("rows")
                                    : QStringLiteral("%1 rows affected").arg(rows));
        return cursor;
    } catch (const DbError& e) {
        if (rowsAffected)
            *rowsAffected = 0;
        if (trace)
            trace->statement(sql, sent, timer.nsecsElapsed() / 1000,
                             QStringLiteral("error %1: %2").arg(e.number()).arg(e.description()));
        throw;
    }
}

void Connection::beginTrans() {
    requireOpen();
    provider_->beginTrans(errors_);
}

void Connection::commitTrans() {
    requireOpen();
    provider_->commitTrans(errors_);
}

void Connection::rollbackTrans() {
    requireOpen();
    provider_->rollbackTrans(errors_);
}

void Connection::setCommandTimeout(int seconds) {
    commandTimeout_ = seconds;
    if (provider_)
        provider_->setCommandTimeout(seconds);
}

void Connection::setIsolationLevel(int level) {
    if (level != adXactReadUncommitted && level != adXactReadCommitted &&
        level != adXactRepeatableRead && level != adXactSerializable)
        throw DbError(
            errc::InvalidArgument,
            QStringLiteral("Arguments are of the wrong type, are out of acceptable range, "
                           "or are in conflict with one another."),
            kSource);
    if (provider_)
        provider_->setIsolationLevel(level, errors_);
    isolationLevel_ = level;
}

QString Connection::defaultDatabase() const {
    return isOpen() ? provider_->defaultDatabase() : QString();
}

void Connection::setDefaultDatabase(const QString& name) {
    requireOpen();
    provider_->setDefaultDatabase(name, errors_);
}

std::unique_ptr<Cursor> Connection::openSchemaTables() {
    requireOpen();
    return provider_->schemaTables(errors_);
}

std::unique_ptr<Cursor> Connection::openSchemaColumns(const QString& catalog,
                                                      const QString& table) {
    requireOpen();
    return provider_->schemaColumns(catalog, table, errors_);
}

} // namespace rp::db
