#pragma once

#include "db/provider/Cursor.h"
#include "db/provider/Field.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>

namespace rp::db {

class Connection;

enum CursorTypeEnum {
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3
};
enum LockTypeEnum {
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};

// ADO-style record set, owned by the routine that opens it. Rows stream from
// the provider: only the current row is held (static and keyset cursors keep
// all rows, so they can move back and count them; so do updatable ones). A record set opened with a
// lock type other than read-only on a single-table SELECT is updatable:
// AddNew / field assignment / Update insert a row (a parameterised INSERT);
// assignment on a current row followed by Update changes that row (an UPDATE
// matched on the row's original values, NULL-safe). The statements are plain
// SQL, so updating works on every provider.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Opens `sql` (already in the program's dialect) on `connection`. Throws
    // DbError(3705) when already open.
    void open(const QString& sql, Connection& connection, int cursorType = adOpenForwardOnly,
              int lockType = adLockReadOnly, int options = -1);
    // Takes over rows produced elsewhere (a command's result, a schema).
    void attach(std::unique_ptr<Cursor> cursor);
    void close(); // throws DbError(3704) when closed, 3219 with an edit pending
    bool isOpen() const;
    int state() const { return isOpen() ? 1 : 0; }

    int cursorType() const { return cursorType_; }
    void setCursorType(int t) { cursorType_ = t; }
    int lockType() const { return lockType_; }
    void setLockType(int t) { lockType_ = t; }
    const QString& source() const { return source_; }

    bool bof() const;
    bool eof() const;
    void moveNext(); // throws DbError(3021) at EOF
    // Forward-only record sets run the statement again; the others move in
    // the rows they keep. movePrevious / moveLast need a static or keyset set.
    void moveFirst();
    void movePrevious();
    void moveLast();
    // Rows of a record set that keeps its rows (static, keyset or updatable);
    // -1 for read-only forward-only and dynamic ones.
    qint64 recordCount() const;

    int fieldCount() const;
    const QList<Field>& fields() const;
    const Field& field(int i) const;
    int fieldIndex(const QString& name) const; // case-insensitive; -1 when absent
    QVariant value(int i) const;
    QVariant value(const QString& name) const; // throws DbError(3265) when absent

    // Updating (single-table record sets only).
    void addNew();
    void setValue(const QString& name, const QVariant& value);
    void update();
    void cancelUpdate();
    bool editPending() const;
    bool isUpdatable() const;
    // The table an updatable record set writes to, as the statement names it.
    QString updateTable() const;

    // The single table a "SELECT ... FROM table [alias] [hints] [WHERE ...]"
    // reads (name as written, owner prefixes included); empty when the
    // statement reads more than one table or is no SELECT.
    static QString baseTable(const QString& sql);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    int cursorType_ = adOpenForwardOnly;
    int lockType_ = adLockReadOnly;
    QString source_;
};

} // namespace rp::db
