#include "db/provider/SqliteSession.h"

#include <sqlite3.h>

namespace rp::db {

void SqliteSession::startClock() {
    timedOut = false;
    clock.start();
}

ProviderError SqliteSession::error(int rc) const {
    ProviderError e;
    e.source = source;
    const int ext = db ? sqlite3_extended_errcode(db) : rc;
    e.nativeError = ext;
    e.description = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    const QString msg = e.description.toLower();
    switch (ext & 0xff) {
    case SQLITE_CONSTRAINT:
        e.number = errc::IntegrityViolation;
        e.sqlState = QStringLiteral("23000");
        // The program reads constraint failures by the server's numbers:
        // 2627 duplicate key, 547 foreign-key or check conflict, 515 NULL.
        switch (ext) {
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_UNIQUE:
            e.nativeError = 2627;
            break;
        case SQLITE_CONSTRAINT_FOREIGNKEY:
        case SQLITE_CONSTRAINT_CHECK:
            e.nativeError = 547;
            break;
        case SQLITE_CONSTRAINT_NOTNULL:
            e.nativeError = 515;
            break;
        default:
            break;
        }
        break;
    case SQLITE_INTERRUPT:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        e.number = errc::Timeout;
        e.sqlState = QStringLiteral("HYT00");
        if ((ext & 0xff) == SQLITE_INTERRUPT || timedOut)
            e.description = QStringLiteral("Query timeout expired");
        break;
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
        e.number = errc::Unspecified;
        e.sqlState = QStringLiteral("08004");
        break;
    case SQLITE_TOOBIG:
        e.number = errc::Unspecified;
        e.sqlState = QStringLiteral("22001");
        break;
    case SQLITE_MISMATCH:
        e.number = errc::Unspecified;
        e.sqlState = QStringLiteral("22018");
        break;
    case SQLITE_ERROR:
        if (msg.startsWith(QLatin1String("no such table")) ||
            msg.startsWith(QLatin1String("no such view"))) {
            e.number = errc::ObjectNotFound;
            e.sqlState = QStringLiteral("42S02");
        } else if (msg.startsWith(QLatin1String("no such column"))) {
            e.number = errc::SyntaxError;
            e.sqlState = QStringLiteral("42S22");
        } else if (msg.contains(QLatin1String("already exists"))) {
            e.number = errc::SyntaxError;
            e.sqlState = QStringLiteral("42S01");
        } else if (msg.contains(QLatin1String("syntax error")) ||
                   msg.startsWith(QLatin1String("near ")) ||
                   msg.startsWith(QLatin1String("incomplete input")) ||
                   msg.startsWith(QLatin1String("unrecognized token")) ||
                   msg.startsWith(QLatin1String("no such function")) ||
                   msg.startsWith(QLatin1String("wrong number of arguments")) ||
                   msg.startsWith(QLatin1String("ambiguous column")) ||
                   msg.contains(QLatin1String("no such collation"))) {
            e.number = errc::SyntaxError;
            e.sqlState = QStringLiteral("42000");
        } else {
            e.number = errc::Unspecified;
            e.sqlState = QStringLiteral("HY000");
        }
        break;
    default:
        e.number = errc::Unspecified;
        e.sqlState = QStringLiteral("HY000");
        break;
    }
    return e;
}

void SqliteSession::fail(int rc) {
    failWith(error(rc));
}

void SqliteSession::failWith(const ProviderError& e) {
    if (errors)
        errors->append(e);
    throw DbError(e.number, e.description, e.source);
}

} // namespace rp::db
