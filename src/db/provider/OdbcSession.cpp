#include "db/provider/OdbcSession.h"

#include "db/provider/OdbcCursor.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <vector>

namespace rp::db {

OdbcSession::~OdbcSession() {
    release();
}

void OdbcSession::release() {
    const QList<OdbcCursor*> open = cursors;
    for (OdbcCursor* c : open)
        c->detach();
    cursors.clear();
    if (dbc != SQL_NULL_HDBC) {
        if (connected)
            SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        dbc = SQL_NULL_HDBC;
    }
    if (env != SQL_NULL_HENV) {
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        env = SQL_NULL_HENV;
    }
    connected = false;
    dead = false;
    utf8 = false;
    maxActiveStatements = 0;
}

namespace {

SQLCHAR* narrowText(const QByteArray& s) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.constData()));
}

struct LoadedLibrarySearch {
    QByteArray suffix;
    QByteArray path;
};

int findLoadedLibrary(struct dl_phdr_info* info, size_t, void* data) {
    auto* search = static_cast<LoadedLibrarySearch*>(data);
    if (info->dlpi_name && *info->dlpi_name) {
        const QByteArray name(info->dlpi_name);
        if (name.endsWith(search->suffix)) {
            search->path = name;
            return 1;
        }
    }
    return 0;
}

} // namespace

SQLRETURN OdbcSession::driverConnect(const QString& target) {
    if (utf8) {
        const QByteArray t = target.toUtf8();
        return SQLDriverConnect(dbc, nullptr, narrowText(t), SQL_NTS, nullptr, 0, nullptr,
                                SQL_DRIVER_NOPROMPT);
    }
    return SQLDriverConnectW(dbc, nullptr, odbcText(target), SQL_NTS, nullptr, 0, nullptr,
                             SQL_DRIVER_NOPROMPT);
}

bool OdbcSession::detectNarrowDriver(const QString& driverFile, bool& narrow) const {
    if (driverFile.isEmpty())
        return false;
    // The driver manager has loaded the driver into this process: look its
    // entry points up there.
    LoadedLibrarySearch search;
    search.suffix = driverFile.contains(QLatin1Char('/')) ? driverFile.toLocal8Bit()
                                                          : "/" + driverFile.toLocal8Bit();
    dl_iterate_phdr(findLoadedLibrary, &search);
    if (search.path.isEmpty())
        return false;
    void* lib = dlopen(search.path.constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (!lib)
        return false;
    narrow = dlsym(lib, "SQLExecDirectW") == nullptr;
    dlclose(lib);
    return true;
}

SQLRETURN OdbcSession::execDirect(SQLHSTMT stmt, const QString& sql) const {
    if (utf8) {
        const QByteArray t = sql.toUtf8();
        return SQLExecDirect(stmt, narrowText(t), SQLINTEGER(t.size()));
    }
    return SQLExecDirectW(stmt, odbcText(sql), SQLINTEGER(sql.size()));
}

SQLRETURN OdbcSession::prepare(SQLHSTMT stmt, const QString& sql) const {
    if (utf8) {
        const QByteArray t = sql.toUtf8();
        return SQLPrepare(stmt, narrowText(t), SQLINTEGER(t.size()));
    }
    return SQLPrepareW(stmt, odbcText(sql), SQLINTEGER(sql.size()));
}

SQLRETURN OdbcSession::tables(SQLHSTMT stmt, const QString& types) const {
    if (utf8) {
        const QByteArray t = types.toUtf8();
        return SQLTables(stmt, nullptr, 0, nullptr, 0, nullptr, 0, narrowText(t), SQL_NTS);
    }
    return SQLTablesW(stmt, nullptr, 0, nullptr, 0, nullptr, 0, odbcText(types), SQL_NTS);
}

SQLRETURN OdbcSession::columns(SQLHSTMT stmt, const QString& catalog, const QString& schema,
                               const QString& table) const {
    if (utf8) {
        const QByteArray c = catalog.toUtf8(), s = schema.toUtf8(), t = table.toUtf8();
        return SQLColumns(stmt, catalog.isNull() ? nullptr : narrowText(c),
                          catalog.isNull() ? 0 : SQL_NTS, schema.isNull() ? nullptr : narrowText(s),
                          schema.isNull() ? 0 : SQL_NTS, table.isNull() ? nullptr : narrowText(t),
                          table.isNull() ? 0 : SQL_NTS, nullptr, 0);
    }
    return SQLColumnsW(stmt, catalog.isNull() ? nullptr : odbcText(catalog),
                       catalog.isNull() ? 0 : SQL_NTS, schema.isNull() ? nullptr : odbcText(schema),
                       schema.isNull() ? 0 : SQL_NTS, table.isNull() ? nullptr : odbcText(table),
                       table.isNull() ? 0 : SQL_NTS, nullptr, 0);
}

SQLRETURN OdbcSession::setCurrentCatalog(const QString& name) const {
    if (utf8) {
        const QByteArray t = name.toUtf8();
        return SQLSetConnectAttr(dbc, SQL_ATTR_CURRENT_CATALOG, narrowText(t), SQL_NTS);
    }
    return SQLSetConnectAttrW(dbc, SQL_ATTR_CURRENT_CATALOG, odbcText(name), SQL_NTS);
}

QList<ProviderError> OdbcSession::diagnostics(SQLSMALLINT handleType, SQLHANDLE handle) const {
    QList<ProviderError> out;
    if (handle == SQL_NULL_HANDLE)
        return out;
    for (SQLSMALLINT rec = 1;; ++rec) {
        if (utf8) {
            SQLCHAR state[6] = {};
            SQLINTEGER native = 0;
            std::vector<SQLCHAR> text(SQL_MAX_MESSAGE_LENGTH * 4 + 1);
            SQLSMALLINT length = 0;
            SQLRETURN r = SQLGetDiagRec(handleType, handle, rec, state, &native, text.data(),
                                        SQLSMALLINT(text.size()), &length);
            if (r == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(text.size())) {
                text.assign(size_t(length) + 1, 0);
                r = SQLGetDiagRec(handleType, handle, rec, state, &native, text.data(),
                                  SQLSMALLINT(text.size()), &length);
            }
            if (!odbcOk(r))
                break;
            ProviderError e;
            e.sqlState = QString::fromLatin1(reinterpret_cast<const char*>(state), 5);
            e.nativeError = qint32(native);
            e.description = QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                                              clampLength(length, qsizetype(text.size()) - 1));
            e.number = errorNumber(e.sqlState);
            if (sqlite && e.sqlState == QLatin1String("HY000"))
                e.number = sqliteErrorNumber(e.nativeError, e.description);
            e.source = source;
            out.append(e);
            continue;
        }
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLWCHAR> text(SQL_MAX_MESSAGE_LENGTH + 1);
        SQLSMALLINT length = 0;
        SQLRETURN r = SQLGetDiagRecW(handleType, handle, rec, state, &native, text.data(),
                                     SQLSMALLINT(text.size()), &length);
        if (r == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(text.size())) {
            // Longer message than the buffer: read the same record again.
            text.assign(size_t(length) + 1, 0);
            r = SQLGetDiagRecW(handleType, handle, rec, state, &native, text.data(),
                               SQLSMALLINT(text.size()), &length);
        }
        if (!odbcOk(r))
            break;
        ProviderError e;
        e.sqlState = fromOdbcText(state, 5);
        e.nativeError = qint32(native);
        e.description = fromOdbcText(text.data(), clampLength(length, qsizetype(text.size()) - 1));
        e.number = errorNumber(e.sqlState);
        if (sqlite && e.sqlState == QLatin1String("HY000"))
            e.number = sqliteErrorNumber(e.nativeError, e.description);
        e.source = source;
        out.append(e);
    }
    return out;
}

void OdbcSession::fail(SQLSMALLINT handleType, SQLHANDLE handle, QList<ProviderError>& errors,
                       const char* call) {
    QList<ProviderError> found = diagnostics(handleType, handle);
    if (found.isEmpty()) {
        ProviderError e;
        e.number = errc::Unspecified;
        e.sqlState = QStringLiteral("HY000");
        e.description =
            QStringLiteral("[ODBC] %1 failed without diagnostics").arg(QString::fromLatin1(call));
        e.source = source;
        found.append(e);
    }
    bool lost = false;
    bool linkState = false;
    for (const ProviderError& e : found) {
        if (isLostConnection(e.sqlState)) {
            lost = true;
            linkState = linkState || !e.sqlState.startsWith(QLatin1String("HYT"));
        }
    }
    if (lost && dbc != SQL_NULL_HDBC) {
        // The diagnostics are read; now the driver may be asked whether the
        // link survived (a statement time-out usually leaves it alive).
        SQLUINTEGER isDead = SQL_CD_FALSE;
        const SQLRETURN r = SQLGetConnectAttr(dbc, SQL_ATTR_CONNECTION_DEAD, &isDead, 0, nullptr);
        if (odbcOk(r))
            dead = dead || isDead == SQL_CD_TRUE || linkState;
        else
            dead = dead || linkState;
    }
    errors.append(found);
    const ProviderError& first = found.first();
    throw DbError(lost ? errc::Unspecified : first.number, first.description, source);
}

qint32 OdbcSession::errorNumber(const QString& state) {
    if (state == QLatin1String("42S02") || state == QLatin1String("42P01") ||
        state == QLatin1String("42S12"))
        return errc::ObjectNotFound;
    if (state.startsWith(QLatin1String("23")))
        return errc::IntegrityViolation;
    if (state.startsWith(QLatin1String("42")) || state == QLatin1String("37000"))
        return errc::SyntaxError;
    return errc::Unspecified;
}

qint32 OdbcSession::sqliteErrorNumber(qint32 nativeError, const QString& description) {
    constexpr qint32 sqliteConstraint = 19;
    if ((nativeError & 0xff) == sqliteConstraint)
        return errc::IntegrityViolation;
    if (description.contains(QLatin1String("no such table"), Qt::CaseInsensitive) ||
        description.contains(QLatin1String("no such view"), Qt::CaseInsensitive))
        return errc::ObjectNotFound;
    static const char* const syntax[] = {"syntax error",       "no such column",
                                         "no such function",   "incomplete input",
                                         "unrecognized token", "ambiguous column name"};
    for (const char* text : syntax)
        if (description.contains(QLatin1String(text), Qt::CaseInsensitive))
            return errc::SyntaxError;
    return errc::Unspecified;
}

bool OdbcSession::isLostConnection(const QString& state) {
    static const char* const states[] = {"08S01", "08003", "08007", "08006", "HYT00",
                                         "HYT01", "57P01", "57P02", "57P03"};
    for (const char* s : states)
        if (state == QLatin1String(s))
            return true;
    return false;
}

} // namespace rp::db
