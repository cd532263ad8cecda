#include "db/provider/OdbcProvider.h"

#include "db/provider/OdbcCursor.h"
#include "db/provider/OdbcParameters.h"

#include <vector>

namespace rp::db {

namespace {

constexpr qint32 kTransactionExists = qint32(0x8004D013);
constexpr qint32 kNoTransaction = qint32(0x8004D00E);
constexpr SQLULEN kLoginTimeoutSeconds = 15;

// Debian's SQLite ODBC drivers have narrow calls only.
bool isNarrowDriverName(const QString& target) {
    const qsizetype at = target.indexOf(QLatin1String("DRIVER"), 0, Qt::CaseInsensitive);
    if (at < 0)
        return false;
    const qsizetype end = target.indexOf(QLatin1Char(';'), at);
    return target.mid(at, end < 0 ? -1 : end - at)
        .contains(QLatin1String("sqlite"), Qt::CaseInsensitive);
}

QString textOf(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// The statement handle of one call, freed on every way out.
class StatementGuard {
public:
    explicit StatementGuard(SQLHSTMT stmt) : stmt_(stmt) {}
    ~StatementGuard() {
        if (stmt_ != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
    }
    StatementGuard(const StatementGuard&) = delete;
    StatementGuard& operator=(const StatementGuard&) = delete;
    SQLHSTMT get() const { return stmt_; }
    SQLHSTMT release() {
        SQLHSTMT s = stmt_;
        stmt_ = SQL_NULL_HSTMT;
        return s;
    }

private:
    SQLHSTMT stmt_;
};

} // namespace

OdbcProvider::OdbcProvider() : session_(std::make_shared<OdbcSession>()) {}

OdbcProvider::~OdbcProvider() {
    close();
}

QString OdbcProvider::name() const {
    return QStringLiteral("ODBC");
}

void OdbcProvider::open(const QString& target, QList<ProviderError>& errors) {
    close();
    session_ = std::make_shared<OdbcSession>();
    OdbcSession& s = *session_;
    if (!odbcOk(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &s.env))) {
        s.env = SQL_NULL_HENV;
        ProviderError e{errc::Unspecified,
                        QStringLiteral("[ODBC] The ODBC driver manager could not be initialised"),
                        QStringLiteral("HY001"), 0, s.source};
        errors.append(e);
        throw DbError(e.number, e.description, e.source);
    }
    SQLSetEnvAttr(s.env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!odbcOk(SQLAllocHandle(SQL_HANDLE_DBC, s.env, &s.dbc))) {
        s.dbc = SQL_NULL_HDBC;
        try {
            s.fail(SQL_HANDLE_ENV, s.env, errors, "SQLAllocHandle");
        } catch (...) {
            s.release();
            throw;
        }
    }
    SQLSetConnectAttr(s.dbc, SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), SQL_IS_UINTEGER);
    // Which calls carry text is known for sure only once the driver is loaded;
    // until then a SQLite driver named in the string is taken as narrow.
    s.utf8 = isNarrowDriverName(target);
    const SQLRETURN r = s.driverConnect(target);
    if (!odbcOk(r)) {
        try {
            s.fail(SQL_HANDLE_DBC, s.dbc, errors, "SQLDriverConnect");
        } catch (...) {
            s.dead = false;
            s.release();
            throw;
        }
    }
    s.connected = true;
    dbmsName_ = infoText(SQL_DBMS_NAME);
    driverName_ = infoText(SQL_DRIVER_NAME);
    s.sqlite = isSqlite();
    bool narrow = false;
    if (s.detectNarrowDriver(driverName_, narrow))
        s.utf8 = narrow;
    else
        s.utf8 = s.utf8 || s.sqlite;
    searchEscape_ = infoText(SQL_SEARCH_PATTERN_ESCAPE);
    catalogs_ = infoText(SQL_CATALOG_NAME) == QLatin1String("Y");
    SQLUSMALLINT maxActive = 0;
    if (odbcOk(SQLGetInfo(s.dbc, SQL_MAX_CONCURRENT_ACTIVITIES, &maxActive, sizeof maxActive,
                          nullptr)))
        s.maxActiveStatements = maxActive;
    inTransaction_ = false;
    defaultDatabase_.clear();
}

void OdbcProvider::close() {
    if (session_->connected && !session_->dead && inTransaction_)
        SQLEndTran(SQL_HANDLE_DBC, session_->dbc, SQL_ROLLBACK);
    session_->release();
    inTransaction_ = false;
    dbmsName_.clear();
    driverName_.clear();
    defaultDatabase_.clear();
}

bool OdbcProvider::isOpen() const {
    return session_->connected && !session_->dead;
}

QString OdbcProvider::rewrite(const QString& sql) const {
    return isSqlite() ? rewriter_.rewrite(sql) : sql;
}

void OdbcProvider::requireOpen() const {
    if (!session_->connected)
        throw DbError(errc::NotAllowedClosed,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      session_->source);
}

QString OdbcProvider::infoText(SQLUSMALLINT info) const {
    if (session_->dbc == SQL_NULL_HDBC)
        return QString();
    SQLWCHAR buf[256] = {};
    SQLSMALLINT bytes = 0;
    if (!odbcOk(SQLGetInfoW(session_->dbc, info, buf, SQLSMALLINT(sizeof buf), &bytes)))
        return QString();
    const qsizetype chars =
        clampLength(bytes / qint64(sizeof(SQLWCHAR)), qsizetype(std::size(buf)) - 1);
    return fromOdbcText(buf, chars);
}

bool OdbcProvider::isSqlServer() const {
    return dbmsName_.contains(QLatin1String("SQL Server"), Qt::CaseInsensitive);
}

bool OdbcProvider::isSqlite() const {
    return dbmsName_.contains(QLatin1String("SQLite"), Qt::CaseInsensitive);
}

SQLHSTMT OdbcProvider::newStatement(QList<ProviderError>& errors) {
    requireOpen();
    OdbcSession& s = *session_;
    if (s.dead) {
        // The link is known to be gone: report it as the driver would.
        ProviderError e{errc::Unspecified,
                        QStringLiteral("[ODBC] Communication link failure: the connection to the "
                                       "server was lost"),
                        QStringLiteral("08S01"), 0, s.source};
        errors.append(e);
        throw DbError(e.number, e.description, e.source);
    }
    if (s.maxActiveStatements == 1) {
        const QList<OdbcCursor*> open = s.cursors;
        for (OdbcCursor* c : open)
            c->drain();
    }
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!odbcOk(SQLAllocHandle(SQL_HANDLE_STMT, s.dbc, &stmt)))
        s.fail(SQL_HANDLE_DBC, s.dbc, errors, "SQLAllocHandle");
    return stmt;
}

std::unique_ptr<Cursor> OdbcProvider::execute(const QString& sql, const QVariantList& params,
                                              qint64& rowsAffected, QList<ProviderError>& errors) {
    rowsAffected = -1;
    StatementGuard stmt(newStatement(errors));
    OdbcSession& s = *session_;
    if (commandTimeout_ > 0)
        SQLSetStmtAttr(stmt.get(), SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(SQLULEN(commandTimeout_)), SQL_IS_UINTEGER);

    OdbcParameters bound;
    SQLRETURN r;
    if (params.isEmpty()) {
        r = s.execDirect(stmt.get(), sql);
        if (r != SQL_NO_DATA && !odbcOk(r))
            s.fail(SQL_HANDLE_STMT, stmt.get(), errors, "SQLExecDirect");
    } else {
        r = s.prepare(stmt.get(), sql);
        if (!odbcOk(r))
            s.fail(SQL_HANDLE_STMT, stmt.get(), errors, "SQLPrepare");
        if (!odbcOk(bound.bind(stmt.get(), params, s.utf8)))
            s.fail(SQL_HANDLE_STMT, stmt.get(), errors, "SQLBindParameter");
        r = SQLExecute(stmt.get());
        if (r != SQL_NO_DATA && !odbcOk(r))
            s.fail(SQL_HANDLE_STMT, stmt.get(), errors, "SQLExecute");
    }

    // The first result with columns is the statement's rows; counts of the
    // results before it add up.
    qint64 total = -1;
    for (;;) {
        SQLSMALLINT columns = 0;
        if (!odbcOk(SQLNumResultCols(stmt.get(), &columns)))
            s.fail(SQL_HANDLE_STMT, stmt.get(), errors, "SQLNumResultCols");
        if (columns > 0) {
            rowsAffected = total;
            return std::make_unique<OdbcCursor>(session_, stmt.release(), errors);
        }
        SQLLEN count = -1;
        if (r == SQL_NO_DATA)
            count = 0;
        else if (!odbcOk(SQLRowCount(stmt.get(), &count)))
            count = -1;
        if (count >= 0)
            total = (total < 0 ? 0 : total) + qint64(count);
        r = SQLMoreResults(stmt.get());
        if (r == SQL_NO_DATA)
            break;
        if (!odbcOk(r))
            s.fail(SQL_HANDLE_STMT, stmt.get(), errors, "SQLMoreResults");
    }
    rowsAffected = total;
    return nullptr;
}

void OdbcProvider::beginTrans(QList<ProviderError>& errors) {
    requireOpen();
    if (inTransaction_) {
        ProviderError e{kTransactionExists,
                        QStringLiteral("Only one transaction can be active on this session."),
                        QStringLiteral("25000"), 0, session_->source};
        errors.append(e);
        throw DbError(e.number, e.description, e.source);
    }
    const SQLRETURN r = SQLSetConnectAttr(session_->dbc, SQL_ATTR_AUTOCOMMIT,
                                          reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_AUTOCOMMIT_OFF)),
                                          SQL_IS_UINTEGER);
    if (!odbcOk(r))
        session_->fail(SQL_HANDLE_DBC, session_->dbc, errors, "SQLSetConnectAttr");
    inTransaction_ = true;
}

void OdbcProvider::endTransaction(SQLSMALLINT completion, QList<ProviderError>& errors) {
    requireOpen();
    if (!inTransaction_) {
        ProviderError e{kNoTransaction, QStringLiteral("No transaction is active."),
                        QStringLiteral("25000"), 0, session_->source};
        errors.append(e);
        throw DbError(e.number, e.description, e.source);
    }
    if (!odbcOk(SQLEndTran(SQL_HANDLE_DBC, session_->dbc, completion)))
        session_->fail(SQL_HANDLE_DBC, session_->dbc, errors, "SQLEndTran");
    inTransaction_ = false;
    const SQLRETURN r = SQLSetConnectAttr(session_->dbc, SQL_ATTR_AUTOCOMMIT,
                                          reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_AUTOCOMMIT_ON)),
                                          SQL_IS_UINTEGER);
    if (!odbcOk(r))
        session_->fail(SQL_HANDLE_DBC, session_->dbc, errors, "SQLSetConnectAttr");
}

void OdbcProvider::commitTrans(QList<ProviderError>& errors) {
    endTransaction(SQL_COMMIT, errors);
}

void OdbcProvider::rollbackTrans(QList<ProviderError>& errors) {
    endTransaction(SQL_ROLLBACK, errors);
}

void OdbcProvider::setCommandTimeout(int seconds) {
    commandTimeout_ = qMax(0, seconds);
}

void OdbcProvider::setIsolationLevel(int adoLevel, QList<ProviderError>& errors) {
    requireOpen();
    SQLULEN nivel = SQL_TXN_READ_COMMITTED;
    switch (adoLevel) {
    case 256:
        nivel = SQL_TXN_READ_UNCOMMITTED;
        break;
    case 65536:
        nivel = SQL_TXN_REPEATABLE_READ;
        break;
    case 1048576:
        nivel = SQL_TXN_SERIALIZABLE;
        break;
    default:
        break;
    }
    const SQLRETURN r = SQLSetConnectAttr(session_->dbc, SQL_ATTR_TXN_ISOLATION,
                                          reinterpret_cast<SQLPOINTER>(nivel), SQL_IS_UINTEGER);
    if (odbcOk(r))
        return;
    // A driver that offers one isolation only (SQLite's, for one) keeps the
    // one it has, as ADO does with a level the provider cannot honour; any
    // other failure is the caller's.
    const QList<ProviderError> diagnosticos = session_->diagnostics(SQL_HANDLE_DBC, session_->dbc);
    for (const ProviderError& e : diagnosticos) {
        if (e.sqlState != QLatin1String("HYC00") && e.sqlState != QLatin1String("HY024") &&
            e.sqlState != QLatin1String("HY092")) {
            errors.append(diagnosticos);
            throw DbError(diagnosticos.first().number, diagnosticos.first().description,
                          diagnosticos.first().source);
        }
    }
}

void OdbcProvider::setDefaultDatabase(const QString& name, QList<ProviderError>& errors) {
    requireOpen();
    if (isSqlServer()) {
        QString quoted = name;
        quoted.replace(QLatin1String("]"), QLatin1String("]]"));
        qint64 rows = 0;
        execute(QStringLiteral("USE [") + quoted + QLatin1Char(']'), {}, rows, errors);
        defaultDatabase_ = name;
        return;
    }
    // Elsewhere the current catalogue is a connection attribute; drivers that
    // cannot change it (one database per connection) keep the one they have.
    const SQLRETURN r = session_->setCurrentCatalog(name);
    if (!odbcOk(r))
        session_->diagnostics(SQL_HANDLE_DBC, session_->dbc); // read and dropped
    defaultDatabase_ = name;
}

QString OdbcProvider::defaultDatabase() const {
    if (!session_->connected)
        return defaultDatabase_;
    if (!defaultDatabase_.isEmpty() && !isSqlServer())
        return defaultDatabase_;
    SQLWCHAR buf[256] = {};
    SQLINTEGER bytes = 0;
    if (odbcOk(SQLGetConnectAttrW(session_->dbc, SQL_ATTR_CURRENT_CATALOG, buf,
                                  SQLINTEGER(sizeof buf), &bytes))) {
        const qsizetype chars =
            clampLength(bytes / qint64(sizeof(SQLWCHAR)), qsizetype(std::size(buf)) - 1);
        const QString current = fromOdbcText(buf, chars);
        if (!current.isEmpty())
            return current;
    } else {
        session_->diagnostics(SQL_HANDLE_DBC, session_->dbc);
    }
    return defaultDatabase_;
}

QList<QVariantList> OdbcProvider::readAll(SQLHSTMT stmt, QList<ProviderError>& errors) {
    QList<OdbcColumnType> types;
    OdbcCursor::describe(stmt, types, session_->utf8);
    QList<QVariantList> rows;
    for (;;) {
        const SQLRETURN r = SQLFetch(stmt);
        if (r == SQL_NO_DATA)
            break;
        if (!odbcOk(r))
            session_->fail(SQL_HANDLE_STMT, stmt, errors, "SQLFetch");
        QVariantList row;
        for (qsizetype i = 0; i < types.size(); ++i) {
            QVariant v;
            if (!OdbcCursor::readValue(stmt, SQLUSMALLINT(i + 1), types.at(i), v, session_->utf8))
                session_->fail(SQL_HANDLE_STMT, stmt, errors, "SQLGetData");
            row.append(v);
        }
        rows.append(row);
    }
    return rows;
}

std::unique_ptr<Cursor> OdbcProvider::schemaTables(QList<ProviderError>& errors) {
    StatementGuard stmt(newStatement(errors));
    const QString types = QStringLiteral("TABLE,VIEW");
    if (!odbcOk(session_->tables(stmt.get(), types)))
        session_->fail(SQL_HANDLE_STMT, stmt.get(), errors, "SQLTables");
    QList<QVariantList> rows;
    for (const QVariantList& r : readAll(stmt.get(), errors)) {
        const QString type = textOf(r.value(3)).trimmed().toUpper();
        if (type != QLatin1String("TABLE") && type != QLatin1String("VIEW"))
            continue;
        rows.append({r.value(0), r.value(1), r.value(2), type});
    }
    const QList<Field> fields{{QStringLiteral("TABLE_CATALOG"), adtype::VarWChar, 128},
                              {QStringLiteral("TABLE_SCHEMA"), adtype::VarWChar, 128},
                              {QStringLiteral("TABLE_NAME"), adtype::VarWChar, 128},
                              {QStringLiteral("TABLE_TYPE"), adtype::VarWChar, 32}};
    return std::make_unique<MemoryCursor>(fields, rows);
}

std::unique_ptr<Cursor> OdbcProvider::schemaColumns(const QString& catalog, const QString& table,
                                                    QList<ProviderError>& errors) {
    // Table names match without regard to case, as on the suite's servers:
    // the catalogue's own spelling of each matching table is looked up first
    // and its columns asked for by that name.
    struct TableRef {
        QVariant catalog, schema;
        QString name;
    };
    QList<TableRef> tables;
    if (!table.trimmed().isEmpty()) {
        std::unique_ptr<Cursor> all = schemaTables(errors);
        while (all->fetch()) {
            const QString name = textOf(all->value(2));
            if (name.trimmed().compare(table.trimmed(), Qt::CaseInsensitive) == 0)
                tables.append({all->value(0), all->value(1), name});
        }
        if (tables.isEmpty())
            tables.append({QVariant(), QVariant(), table.trimmed()});
    } else {
        tables.append({QVariant(), QVariant(), QString()});
    }

    QList<QVariantList> rows;
    for (const TableRef& t : tables) {
        StatementGuard stmt(newStatement(errors));
        const QString cat = textOf(t.catalog);
        const QString schema = textOf(t.schema);
        const bool useCat = catalogs_ && !cat.isEmpty();
        // Pattern arguments are passed unescaped: "_" may match more tables
        // than asked for, and the rows are filtered on the exact name below.
        const SQLRETURN r = session_->columns(stmt.get(), useCat ? cat : QString(),
                                              schema.isEmpty() ? QString() : schema,
                                              t.name.isEmpty() ? QString() : t.name);
        if (!odbcOk(r))
            session_->fail(SQL_HANDLE_STMT, stmt.get(), errors, "SQLColumns");
        for (const QVariantList& c : readAll(stmt.get(), errors)) {
            const QString rowTable = textOf(c.value(2));
            if (!t.name.isEmpty() && rowTable.compare(t.name, Qt::CaseInsensitive) != 0)
                continue;
            const QString rowCat = textOf(c.value(0));
            if (!catalog.trimmed().isEmpty() && !rowCat.isEmpty() &&
                rowCat.compare(catalog.trimmed(), Qt::CaseInsensitive) != 0)
                continue;
            const SQLSMALLINT sqlType = SQLSMALLINT(c.value(4).toInt());
            const OdbcColumnType type =
                odbcColumnType(sqlType, SQLULEN(qMax<qint64>(0, c.value(6).toLongLong())),
                               SQLSMALLINT(c.value(8).toInt()), textOf(c.value(5)), false);
            const bool text = type.adoType == adtype::Char || type.adoType == adtype::VarChar ||
                              type.adoType == adtype::LongVarChar ||
                              type.adoType == adtype::WChar || type.adoType == adtype::VarWChar ||
                              type.adoType == adtype::LongVarWChar;
            rows.append({c.value(0), c.value(1), rowTable, c.value(3), qint64(type.adoType),
                         text ? QVariant(qint64(type.definedSize)) : QVariant()});
        }
    }
    // DATA_TYPE and CHARACTER_MAXIMUM_LENGTH carry ADO's unsigned small
    // integer (18) and unsigned integer (19) types, as ADO's own catalogue.
    const QList<Field> fields{{QStringLiteral("TABLE_CATALOG"), adtype::VarWChar, 128},
                              {QStringLiteral("TABLE_SCHEMA"), adtype::VarWChar, 128},
                              {QStringLiteral("TABLE_NAME"), adtype::VarWChar, 128},
                              {QStringLiteral("COLUMN_NAME"), adtype::VarWChar, 128},
                              {QStringLiteral("DATA_TYPE"), 18, 2},
                              {QStringLiteral("CHARACTER_MAXIMUM_LENGTH"), 19, 4}};
    return std::make_unique<MemoryCursor>(fields, rows);
}

} // namespace rp::db
