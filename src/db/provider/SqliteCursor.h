#pragma once

#include "db/provider/Cursor.h"
#include "db/provider/SqliteSession.h"

#include <memory>

struct sqlite3_stmt;

namespace rp::db {

// The rows of one prepared SQLite statement, stepped one at a time. The first
// row is stepped when the cursor is made, so failures of the statement and the
// types of expression columns are known before the caller sees the cursor.
// A column's value is converted when it is first asked for on a row, so a
// reader that takes a few columns of a wide row pays for those only.
class SqliteCursor : public Cursor {
public:
    // Takes ownership of `stmt`. Throws DbError when the first step fails.
    SqliteCursor(std::shared_ptr<SqliteSession> session, sqlite3_stmt* stmt);
    ~SqliteCursor() override;
    SqliteCursor(const SqliteCursor&) = delete;
    SqliteCursor& operator=(const SqliteCursor&) = delete;

    const QList<Field>& fields() const override { return fields_; }
    bool fetch() override;
    QVariant value(int i) const override;

private:
    int step();
    void readRow();
    QVariant columnValue(int i) const;
    void finish();

    std::shared_ptr<SqliteSession> session_;
    sqlite3_stmt* stmt_;
    QList<Field> fields_;
    QList<bool> fromExpression_;
    // The current row's values converted so far (leido_).
    mutable QVariantList row_;
    mutable QList<bool> leido_;
    bool firstPending_ = false;
    bool done_ = false;
};

} // namespace rp::db
