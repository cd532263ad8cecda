#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantList>

#include <sql.h>
#include <sqlext.h>

namespace rp::db {

// The values bound to the "?" markers of one prepared statement. Holds the
// buffers the driver reads at execution, so it must outlive SQLExecute.
class OdbcParameters {
public:
    OdbcParameters() = default;
    OdbcParameters(const OdbcParameters&) = delete;
    OdbcParameters& operator=(const OdbcParameters&) = delete;

    // Binds every value in order. Returns the first failing SQLBindParameter
    // result (diagnostics are then on the statement), or SQL_SUCCESS.
    // `utf8`: texts go as UTF-8 narrow characters (see OdbcSession::utf8).
    SQLRETURN bind(SQLHSTMT stmt, const QVariantList& values, bool utf8);

private:
    struct Slot {
        QByteArray data; // the C value
        SQLLEN indicator = 0;
    };
    QList<Slot> slots_;
};

} // namespace rp::db
