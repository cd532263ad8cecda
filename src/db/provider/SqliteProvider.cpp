#include "db/provider/SqliteProvider.h"

#include "db/provider/SqlServerText.h"

#include "db/provider/SqlServerFunctions.h"
#include "db/provider/SqlTokenizer.h"
#include "db/provider/SqliteCursor.h"
#include "db/provider/SqliteProcedures.h"
#include "db/provider/SqliteTypes.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <sqlite3.h>

namespace rp::db {

namespace {

int progressHandler(void* data) {
    auto* s = static_cast<SqliteSession*>(data);
    if (s->timeoutMs > 0 && s->clock.isValid() && s->clock.elapsed() > s->timeoutMs) {
        s->timedOut = true;
        return 1;
    }
    return 0;
}

int bindValue(sqlite3_stmt* st, int index, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return sqlite3_bind_null(st, index);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return sqlite3_bind_int(st, index, v.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return sqlite3_bind_int64(st, index, v.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (v.toULongLong() <= quint64(INT64_MAX))
            return sqlite3_bind_int64(st, index, v.toLongLong());
        return sqlite3_bind_double(st, index, v.toDouble());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(st, index, v.toDouble());
    case QMetaType::QDateTime:
        return sqlite3_bind_text(st, index, isoDateTimeText(v.toDateTime()).toUtf8().constData(),
                                 -1, SQLITE_TRANSIENT);
    case QMetaType::QDate:
        return sqlite3_bind_text(st, index,
                                 isoDateTimeText(v.toDate().startOfDay()).toUtf8().constData(), -1,
                                 SQLITE_TRANSIENT);
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        return sqlite3_bind_blob64(st, index, b.constData(), sqlite3_uint64(b.size()),
                                   SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray text = v.toString().toUtf8();
        return sqlite3_bind_text64(st, index, text.constData(), sqlite3_uint64(text.size()),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

bool onlySpaceOrComments(const char* p, const char* end) {
    const QString rest = QString::fromUtf8(p, end - p);
    for (const SqlToken& t : tokenizeSql(rest))
        if (t.significant() && !t.is(SqlToken::Semicolon))
            return false;
    return true;
}

bool changesRows(sqlite3_stmt* st) {
    if (sqlite3_stmt_readonly(st))
        return false;
    const QString sql = QString::fromUtf8(sqlite3_sql(st)).trimmed();
    for (const SqlToken& t : tokenizeSql(sql)) {
        if (!t.significant())
            continue;
        return t.isWord("INSERT") || t.isWord("UPDATE") || t.isWord("DELETE") ||
               t.isWord("REPLACE") || t.isWord("WITH");
    }
    return false;
}

} // namespace

SqliteProvider::SqliteProvider() = default;

SqliteProvider::SqliteProvider(const Options& options) : options_(options) {}

SqliteProvider::~SqliteProvider() {
    close();
}

bool SqliteProvider::createDatabaseFile(const QString& path, QString* error) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    bool ok = rc == SQLITE_OK &&
              sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok && error)
        *error = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close_v2(db);
    return ok;
}

namespace {

// Opens the file and reads its schema, with the busy time-out in force from
// the first statement. SQLITE_OK or the failing code; `db` is left open only
// on success.
int openHandle(const QString& target, int flags, int busyMs, sqlite3*& db) {
    db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(target).constData(), &db, flags, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, busyMs);
        // A file that is not a database fails here rather than at the first query.
        rc = sqlite3_exec(db, "PRAGMA schema_version", nullptr, nullptr, nullptr);
    }
    return rc;
}

// Rebuilds the indexes ordered by the MSSQL collation of a database stamped
// with an older order (table RP_COLLATION, one row), and stamps it with the
// current one. A database without the stamp, or opened read-only, is left
// as it is.
void refreshCollationIndexes(sqlite3* db) {
    if (sqlite3_db_readonly(db, "main") != 0)
        return;
    sqlite3_stmt* st = nullptr;
    int stamped = -1;
    if (sqlite3_prepare_v2(db, "SELECT VERSION FROM RP_COLLATION", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        stamped = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    if (stamped < 0 || stamped == mssql::kCollationVersion)
        return;
    const QByteArray sql = "BEGIN IMMEDIATE; REINDEX MSSQL; UPDATE RP_COLLATION SET VERSION = " +
                           QByteArray::number(mssql::kCollationVersion) + "; COMMIT;";
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool isBusy(int rc) {
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

} // namespace

void SqliteProvider::open(const QString& target, QList<ProviderError>& errors) {
    close();
    path_ = target;
    auto session = std::make_shared<SqliteSession>();
    session->source = name();
    session->errors = &errors;
    session->timeoutMs = timeoutSeconds_ * 1000;
    const QFileInfo file(target);
    const bool existed = file.exists();
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (options_.createIfMissing)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    int rc = SQLITE_OK;
    QString refusal;
    if (existed && !file.isFile()) {
        refusal = QStringLiteral("The file is not a regular file.");
    } else if (existed && file.size() == 0) {
        // An empty file would silently become an empty database.
        refusal = QStringLiteral("The file is empty.");
    } else {
        // A busy database (another process opening, recovering or switching
        // it) is waited for, up to the time-out, however SQLite reports it.
        const int busyMs = timeoutSeconds_ > 0 ? timeoutSeconds_ * 1000 : 30000;
        QElapsedTimer waited;
        waited.start();
        for (int attempt = 0;; ++attempt) {
            rc = openHandle(target, flags, busyMs, db);
            if (rc != SQLITE_OK && existed &&
                ((rc & 0xff) == SQLITE_CANTOPEN || (rc & 0xff) == SQLITE_READONLY)) {
                // A folder or file the user may not write: read-only reports still run.
                sqlite3_close_v2(db);
                rc = openHandle(target, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, busyMs, db);
                if (rc != SQLITE_OK && !isBusy(rc)) {
                    // A database in WAL mode needs its shared-memory file
                    // beside it even to be read; where that file cannot be
                    // made (a read-only folder) the database is read as it
                    // stands on disk: nobody can write it there either.
                    sqlite3_close_v2(db);
                    const QUrl uri = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
                    rc = openHandle(QStringLiteral("file:") + uri.path(QUrl::FullyEncoded) +
                                        QStringLiteral("?immutable=1"),
                                    SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI,
                                    busyMs, db);
                }
            }
            if (rc == SQLITE_OK || !isBusy(rc) || waited.elapsed() > busyMs)
                break;
            sqlite3_close_v2(db);
            db = nullptr;
            QThread::msleep(std::min(20 + 10 * attempt, 200));
        }
    }
    if (rc != SQLITE_OK || !refusal.isEmpty()) {
        ProviderError e;
        e.number = errc::Unspecified;
        e.sqlState = QStringLiteral("08004");
        e.nativeError =
            refusal.isEmpty() ? (db ? sqlite3_extended_errcode(db) : rc) : SQLITE_NOTADB;
        e.description =
            QStringLiteral("Cannot open database \"%1\" requested by the login. %2")
                .arg(target, !refusal.isEmpty()
                                 ? refusal
                                 : QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
        e.source = name();
        sqlite3_close_v2(db);
        errors.append(e);
        throw DbError(e.number, e.description, e.source);
    }
    session->db = db;
    db_ = db;
    session_ = session;
    registerSqlServerFunctions(db);
    sqlite3_progress_handler(db, 1000, progressHandler, session_.get());
    // The journal mode is the database owner's choice; only a file this
    // provider has just created gets the configured one.
    if (!existed && options_.createIfMissing) {
        const QByteArray journal =
            "PRAGMA journal_mode=" +
            (options_.journalMode.compare(QLatin1String("DELETE"), Qt::CaseInsensitive) == 0
                 ? QByteArray("DELETE")
                 : QByteArray("WAL"));
        sqlite3_exec(db, journal.constData(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr);
    refreshCollationIndexes(db);
    if (catalog_.isEmpty())
        catalog_ = QFileInfo(target).completeBaseName();
}

void SqliteProvider::close() {
    dropPrepared();
    savepoints_.clear();
    schemaVersion_ = -1;
    if (session_) {
        session_->db = nullptr;
        session_.reset();
    }
    if (db_) {
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        // Cursors still open keep their statements; the handle goes with the last.
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void SqliteProvider::requireOpen(QList<ProviderError>& errors) {
    if (!db_) {
        Q_UNUSED(errors);
        throw DbError(errc::ConnectionClosed,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      name());
    }
    session_->errors = &errors;
    session_->startClock();
}

DialectRewriter::Tables SqliteProvider::dialectTables(sqlite3* db) {
    DialectRewriter::Tables tables;
    if (!db)
        return tables;
    QStringList names;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT name FROM sqlite_master WHERE type IN ('table','view') "
                           "AND substr(name, 1, 7) <> 'sqlite_'",
                           -1, &st, nullptr) == SQLITE_OK)
        while (sqlite3_step(st) == SQLITE_ROW)
            names.append(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))));
    sqlite3_finalize(st);
    for (const QString& name : names) {
        st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT name, type FROM pragma_table_info(?1)", -1, &st,
                               nullptr) != SQLITE_OK) {
            sqlite3_finalize(st);
            continue;
        }
        const QByteArray utf8 = name.toUtf8();
        sqlite3_bind_text(st, 1, utf8.constData(), -1, SQLITE_TRANSIENT);
        DialectRewriter::Table table;
        while (sqlite3_step(st) == SQLITE_ROW) {
            table.columns.append(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)))
                    .toUpper());
            table.dates.append(DialectRewriter::isDateType(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)))));
        }
        sqlite3_finalize(st);
        tables.insert(name.toUpper(), table);
    }
    return tables;
}

void SqliteProvider::refreshDialectTables() const {
    if (!db_)
        return;
    int version = -1;
    if (!versionStatement_ && sqlite3_prepare_v2(db_, "PRAGMA schema_version", -1,
                                                 &versionStatement_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(versionStatement_);
        versionStatement_ = nullptr;
    }
    if (versionStatement_ && sqlite3_step(versionStatement_) == SQLITE_ROW)
        version = sqlite3_column_int(versionStatement_, 0);
    if (versionStatement_)
        sqlite3_reset(versionStatement_);
    if (version == schemaVersion_ && version >= 0)
        return;
    schemaVersion_ = version;
    rewriter_.setTables(dialectTables(db_));
}

QString SqliteProvider::rewrite(const QString& sql) const {
    SqliteProcedures::Call call;
    if (SqliteProcedures::parseCall(sql, call))
        return sql; // the body is rewritten when the call runs
    refreshDialectTables();
    return rewriter_.rewrite(sql);
}

std::unique_ptr<Cursor> SqliteProvider::execute(const QString& sql, const QVariantList& params,
                                                qint64& rowsAffected,
                                                QList<ProviderError>& errors) {
    requireOpen(errors);
    SqliteProcedures::Call call;
    if (SqliteProcedures::parseCall(sql, call))
        return runProcedure(sql, params, rowsAffected, errors);
    return runStatements(sql, params, rowsAffected, errors);
}

std::unique_ptr<Cursor> SqliteProvider::runStatements(const QString& sql,
                                                      const QVariantList& params,
                                                      qint64& rowsAffected,
                                                      QList<ProviderError>& errors) {
    session_->errors = &errors;
    const QByteArray utf8 = sql.toUtf8();
    const char* p = utf8.constData();
    const char* end = p + utf8.size();
    rowsAffected = -1;
    int paramOffset = 0;
    while (p < end) {
        sqlite3_stmt* st = nullptr;
        const char* next = nullptr;
        session_->startClock();
        int rc = SQLITE_OK;
        // A whole text run before as one statement without rows is taken
        // back prepared (it leaves the kept ones while it runs).
        const bool whole = p == utf8.constData();
        if (whole)
            st = reused_.take(utf8);
        if (st) {
            next = end;
        } else {
            rc = sqlite3_prepare_v2(db_, p, int(end - p), &st, &next);
            if (rc != SQLITE_OK)
                session_->fail(rc);
        }
        p = next;
        if (!st)
            continue;
        const int count = sqlite3_bind_parameter_count(st);
        for (int i = 1; i <= count; ++i) {
            const char* pname = sqlite3_bind_parameter_name(st, i);
            const int index = (pname && pname[0] == '?') ? i - 1 : paramOffset + i - 1;
            rc = bindValue(st, i, params.value(index));
            if (rc != SQLITE_OK) {
                sqlite3_finalize(st);
                session_->fail(rc);
            }
        }
        paramOffset += count;
        const bool last = onlySpaceOrComments(p, end);
        if (last && sqlite3_column_count(st) > 0)
            return std::make_unique<SqliteCursor>(session_, st);
        const bool counts = changesRows(st);
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            const ProviderError e = session_->error(rc);
            sqlite3_finalize(st);
            session_->failWith(e);
        }
        if (counts)
            rowsAffected = (rowsAffected < 0 ? 0 : rowsAffected) + sqlite3_changes64(db_);
        if (whole && last && sqlite3_column_count(st) == 0)
            keepPrepared(utf8, st);
        else
            sqlite3_finalize(st);
    }
    return nullptr;
}

void SqliteProvider::keepPrepared(const QByteArray& sql, sqlite3_stmt* st) {
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    if (reused_.size() >= kReused)
        dropPrepared();
    reused_.insert(sql, st);
}

void SqliteProvider::dropPrepared() {
    sqlite3_finalize(versionStatement_);
    versionStatement_ = nullptr;
    for (sqlite3_stmt* st : std::as_const(reused_))
        sqlite3_finalize(st);
    reused_.clear();
}

std::unique_ptr<Cursor> SqliteProvider::runProcedure(const QString& sql, const QVariantList& params,
                                                     qint64& rowsAffected,
                                                     QList<ProviderError>& errors) {
    SqliteProcedures::Call call;
    SqliteProcedures::parseCall(sql, call);
    QString parameters, body;
    {
        qint64 ignored = 0;
        std::unique_ptr<Cursor> c;
        try {
            c = runStatements(QStringLiteral("SELECT PARAMETROS, CUERPO FROM RP_PROCEDIMIENTOS "
                                             "WHERE NOMBRE = ?1 COLLATE MSSQL"),
                              {call.procedure}, ignored, errors);
        } catch (const DbError&) {
            errors.removeLast(); // a database without procedures has none
        }
        if (!c || !c->fetch()) {
            ProviderError e;
            e.number = errc::SyntaxError;
            e.sqlState = QStringLiteral("42000");
            e.nativeError = 2812;
            e.source = name();
            e.description =
                QStringLiteral("Could not find stored procedure '%1'.").arg(call.procedure);
            session_->failWith(e);
        }
        parameters = c->value(0).toString();
        body = c->value(1).toString();
    }
    SqliteProcedures::Expansion x;
    try {
        x = SqliteProcedures::expand(call, parameters, body, params, rewriter_);
    } catch (const DbError& err) {
        ProviderError e;
        e.number = err.number();
        e.sqlState = QStringLiteral("42000");
        e.description = err.description();
        e.source = name();
        session_->failWith(e);
    }
    refreshDialectTables();
    return runStatements(rewriter_.rewrite(x.sql), x.values, rowsAffected, errors);
}

void SqliteProvider::simple(const QString& sql, QList<ProviderError>& errors) {
    requireOpen(errors);
    qint64 ignored = 0;
    runStatements(sql, {}, ignored, errors);
}

void SqliteProvider::beginTrans(QList<ProviderError>& errors) {
    requireOpen(errors);
    if (sqlite3_get_autocommit(db_)) {
        simple(QStringLiteral("BEGIN"), errors);
    } else {
        const QString sp = QStringLiteral("rp_level_%1").arg(savepoints_.size() + 2);
        simple(QStringLiteral("SAVEPOINT ") + sp, errors);
        savepoints_.append(sp);
    }
}

void SqliteProvider::commitTrans(QList<ProviderError>& errors) {
    requireOpen(errors);
    if (!savepoints_.isEmpty()) {
        simple(QStringLiteral("RELEASE ") + savepoints_.takeLast(), errors);
        return;
    }
    simple(QStringLiteral("COMMIT"), errors);
}

void SqliteProvider::rollbackTrans(QList<ProviderError>& errors) {
    requireOpen(errors);
    if (!savepoints_.isEmpty()) {
        const QString sp = savepoints_.takeLast();
        simple(QStringLiteral("ROLLBACK TO ") + sp + QStringLiteral("; RELEASE ") + sp, errors);
        return;
    }
    simple(QStringLiteral("ROLLBACK"), errors);
}

void SqliteProvider::setCommandTimeout(int seconds) {
    timeoutSeconds_ = seconds < 0 ? 0 : seconds;
    if (session_)
        session_->timeoutMs = timeoutSeconds_ * 1000;
    if (db_)
        sqlite3_busy_timeout(db_, timeoutSeconds_ * 1000);
}

void SqliteProvider::setIsolationLevel(int adoLevel, QList<ProviderError>& errors) {
    Q_UNUSED(errors);
    // SQLite has no dirty reads between connections: "PRAGMA read_uncommitted"
    // only lets connections that share one cache see each other's pending
    // writes, and this provider never shares a cache. What read uncommitted
    // is asked for, readers that never wait for writers, is what a database
    // in WAL mode gives anyway (each read sees the last committed state);
    // with a rollback journal a reader waits for a writer's commit up to the
    // busy time-out. So every level is accepted and reads stay committed
    // reads; the pragma is set for the record and for shared-cache builds.
    if (db_)
        sqlite3_exec(
            db_, adoLevel == 256 ? "PRAGMA read_uncommitted = 1" : "PRAGMA read_uncommitted = 0",
            nullptr, nullptr, nullptr);
}

void SqliteProvider::setDefaultDatabase(const QString& name, QList<ProviderError>& errors) {
    Q_UNUSED(errors);
    // One file is one database: the name is the catalogue the schema reports.
    if (!name.trimmed().isEmpty())
        catalog_ = name.trimmed();
}

bool SqliteProvider::catalogMatches(const QString& catalog) const {
    const QString c = catalog.trimmed();
    return c.isEmpty() || c.compare(catalog_, Qt::CaseInsensitive) == 0 ||
           c.compare(QFileInfo(path_).completeBaseName(), Qt::CaseInsensitive) == 0 ||
           c.compare(QLatin1String("main"), Qt::CaseInsensitive) == 0;
}

std::unique_ptr<Cursor> SqliteProvider::schemaTables(QList<ProviderError>& errors) {
    requireOpen(errors);
    qint64 ignored = 0;
    auto c = runStatements(
        QStringLiteral("SELECT name, type FROM sqlite_master WHERE type IN ('table','view') "
                       "AND substr(name, 1, 7) <> 'sqlite_' ORDER BY name"),
        {}, ignored, errors);
    QList<QVariantList> rows;
    while (c && c->fetch())
        rows.append({catalog_, QStringLiteral("dbo"), c->value(0).toString(),
                     c->value(1).toString().toUpper()});
    const QList<Field> fields = {{QStringLiteral("TABLE_CATALOG"), adtype::VarWChar, 128},
                                 {QStringLiteral("TABLE_SCHEMA"), adtype::VarWChar, 128},
                                 {QStringLiteral("TABLE_NAME"), adtype::VarWChar, 128},
                                 {QStringLiteral("TABLE_TYPE"), adtype::VarWChar, 128}};
    return std::make_unique<MemoryCursor>(fields, rows);
}

std::unique_ptr<Cursor> SqliteProvider::schemaColumns(const QString& catalog, const QString& table,
                                                      QList<ProviderError>& errors) {
    requireOpen(errors);
    const QList<Field> fields = {{QStringLiteral("TABLE_CATALOG"), adtype::VarWChar, 128},
                                 {QStringLiteral("TABLE_SCHEMA"), adtype::VarWChar, 128},
                                 {QStringLiteral("TABLE_NAME"), adtype::VarWChar, 128},
                                 {QStringLiteral("COLUMN_NAME"), adtype::VarWChar, 128},
                                 {QStringLiteral("DATA_TYPE"), adtype::UnsignedTinyInt, 2},
                                 {QStringLiteral("CHARACTER_MAXIMUM_LENGTH"), adtype::Integer, 4},
                                 {QStringLiteral("ORDINAL_POSITION"), adtype::Integer, 4},
                                 {QStringLiteral("IS_NULLABLE"), adtype::Boolean, 2},
                                 {QStringLiteral("COLUMN_DEFAULT"), adtype::VarWChar, 255}};
    QList<QVariantList> rows;
    if (!catalogMatches(catalog))
        return std::make_unique<MemoryCursor>(fields, rows);
    qint64 ignored = 0;
    auto c = runStatements(
        QStringLiteral("SELECT m.name, p.cid, p.name, p.type, p.\"notnull\", p.dflt_value "
                       "FROM sqlite_master m, pragma_table_info(m.name) p "
                       "WHERE m.type IN ('table','view') AND substr(m.name, 1, 7) <> 'sqlite_' "
                       "AND (?1 = '' OR m.name = ?1 COLLATE NOCASE) ORDER BY m.name, p.cid"),
        {table.trimmed()}, ignored, errors);
    while (c && c->fetch()) {
        const Field f = fieldForDeclaredType(c->value(2).toString(), c->value(3).toString());
        const bool text = f.type == adtype::VarChar || f.type == adtype::Char ||
                          f.type == adtype::VarWChar || f.type == adtype::WChar ||
                          f.type == adtype::LongVarChar || f.type == adtype::LongVarWChar;
        rows.append({catalog_, QStringLiteral("dbo"), c->value(0).toString(), f.name, f.type,
                     text ? QVariant(qint64(f.definedSize)) : QVariant(),
                     c->value(1).toLongLong() + 1, c->value(4).toLongLong() == 0, c->value(5)});
    }
    return std::make_unique<MemoryCursor>(fields, rows);
}

} // namespace rp::db
