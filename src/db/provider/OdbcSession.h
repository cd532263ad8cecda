#pragma once

#include "db/provider/ProviderError.h"

#include <QList>
#include <QString>

#include <sql.h>
#include <sqlext.h>

namespace rp::db {

class OdbcCursor;

// UTF-16 text to and from the driver manager's SQLWCHAR.
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC must use 16-bit SQLWCHAR");
inline SQLWCHAR* odbcText(const QString& s) {
    return reinterpret_cast<SQLWCHAR*>(const_cast<ushort*>(s.utf16()));
}
inline QString fromOdbcText(const SQLWCHAR* s, qsizetype length) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(s), length);
}
// A length reported by the driver, kept within a buffer of `capacity` characters.
inline qsizetype clampLength(qint64 length, qsizetype capacity) {
    return length < 0 ? 0 : (length > capacity ? capacity : qsizetype(length));
}
inline bool odbcOk(SQLRETURN r) {
    return r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO;
}

// The handles of one ODBC connection, shared by the provider and the cursors
// it hands out, so a cursor that outlives its connection finds its statement
// gone instead of using a freed handle.
class OdbcSession {
public:
    OdbcSession() = default;
    ~OdbcSession();
    OdbcSession(const OdbcSession&) = delete;
    OdbcSession& operator=(const OdbcSession&) = delete;

    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    // Set when a failure showed that the link to the server is gone.
    bool dead = false;
    // 1 when the driver serves one active statement at a time (then pending
    // rows of other cursors are read into memory before a new statement).
    int maxActiveStatements = 0;
    QString source = QStringLiteral("ODBC");
    // The driver has no wide-character entry points (Debian's SQLite ODBC
    // drivers): the driver manager would cut UTF-16 text down to single bytes,
    // so text goes through the narrow calls as UTF-8 instead.
    bool utf8 = false;
    // The database is SQLite (its driver's diagnostics need reading apart).
    bool sqlite = false;

    // Open cursors, in the order they were opened.
    QList<OdbcCursor*> cursors;

    // Frees every handle; cursors still open lose their statements.
    void release();

    // Reads every diagnostic record of `handle`, appends them to `errors`
    // (one entry each; a generic one when the driver left none), notes a lost
    // link and throws DbError for the first record. `call` names the failed
    // ODBC function for the generic entry.
    [[noreturn]] void fail(SQLSMALLINT handleType, SQLHANDLE handle, QList<ProviderError>& errors,
                           const char* call);

    // Diagnostic records of a handle, mapped to provider errors.
    QList<ProviderError> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle) const;

    // Connects with `target`, narrow or wide as `utf8` says.
    SQLRETURN driverConnect(const QString& target);
    // After connecting: whether the loaded driver has wide-character calls.
    // Returns false when it cannot tell.
    bool detectNarrowDriver(const QString& driverFile, bool& narrow) const;
    SQLRETURN execDirect(SQLHSTMT stmt, const QString& sql) const;
    SQLRETURN prepare(SQLHSTMT stmt, const QString& sql) const;
    SQLRETURN tables(SQLHSTMT stmt, const QString& types) const;
    // Catalogue arguments; a null text is passed as a null pointer.
    SQLRETURN columns(SQLHSTMT stmt, const QString& catalog, const QString& schema,
                      const QString& table) const;
    SQLRETURN setCurrentCatalog(const QString& name) const;

    // Error number of the layer for an SQL state.
    static qint32 errorNumber(const QString& sqlState);
    // The same for a SQLite database, whose ODBC driver reports every failure
    // as HY000 with SQLite's own result code as the native error.
    static qint32 sqliteErrorNumber(qint32 nativeError, const QString& description);
    // States that mean the link to the server failed (or a statement timed out
    // waiting for it): the query layer reconnects on these.
    static bool isLostConnection(const QString& sqlState);
};

} // namespace rp::db
