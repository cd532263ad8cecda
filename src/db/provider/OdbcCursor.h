#pragma once

#include "db/provider/Cursor.h"
#include "db/provider/OdbcSession.h"
#include "db/provider/OdbcTypes.h"

#include <QList>
#include <QVariantList>
#include <memory>

namespace rp::db {

// The rows of an ODBC statement, fetched one at a time with SQLGetData
// (long texts and binaries in chunks). Owns its statement handle. When the
// driver serves one active statement at a time, the connection asks open
// cursors to read their remaining rows into memory before it runs another
// statement (`drain`).
class OdbcCursor : public Cursor {
public:
    // Takes over `stmt`, which has a result set. Failing calls append their
    // diagnostics to `errors` (the connection's list).
    OdbcCursor(std::shared_ptr<OdbcSession> session, SQLHSTMT stmt, QList<ProviderError>& errors);
    ~OdbcCursor() override;

    const QList<Field>& fields() const override { return fields_; }
    bool fetch() override;
    QVariant value(int i) const override { return row_.value(i); }

    // Reads the remaining rows into memory and frees the statement.
    void drain();
    // The connection is closing: the statement is freed; rows already read
    // into memory stay readable.
    void detach();

    // Describes the columns of a result (used for schema results too).
    // `utf8`: narrow calls with UTF-8 text (see OdbcSession::utf8).
    static QList<Field> describe(SQLHSTMT stmt, QList<OdbcColumnType>& types, bool utf8);
    // Reads column `column` (1-based) of the current row as `type` says.
    // Returns false on failure (diagnostics left on the statement).
    static bool readValue(SQLHSTMT stmt, SQLUSMALLINT column, const OdbcColumnType& type,
                          QVariant& out, bool utf8);

private:
    bool fetchFromStatement(QVariantList& row);
    void freeStatement();

    std::shared_ptr<OdbcSession> session_;
    SQLHSTMT stmt_;
    QList<ProviderError>* errors_;
    QList<Field> fields_;
    QList<OdbcColumnType> types_;
    QVariantList row_;
    QList<QVariantList> pending_; // rows drained into memory
    bool drained_ = false;
    bool finished_ = false;
};

} // namespace rp::db
