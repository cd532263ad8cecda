#include "db/provider/Recordset.h"

#include "db/provider/Connection.h"
#include "db/provider/SqlTokenizer.h"

#include <QRegularExpression>

namespace rp::db {

namespace {

const QString kSource = QStringLiteral("ADODB.Recordset");

[[noreturn]] void raise(qint32 number, const char* text) {
    throw DbError(number, QString::fromLatin1(text), kSource);
}

[[noreturn]] void raiseClosed() {
    raise(errc::NotAllowedClosed, "Operation is not allowed when the object is closed.");
}

[[noreturn]] void raiseNoRecord() {
    raise(errc::EofOrBof, "Either BOF or EOF is True, or the current record has been deleted. "
                          "Requested operation requires a current record.");
}

QString columnName(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (plain.match(name).hasMatch())
        return name;
    QString n = name;
    n.replace(QStringLiteral("]"), QStringLiteral("]]"));
    return u'[' + n + u']';
}

bool isLongType(int type) {
    return type == adtype::LongVarChar || type == adtype::LongVarWChar ||
           type == adtype::LongVarBinary;
}

bool isClauseKeyword(const SqlToken& t) {
    static const char* const words[] = {"WHERE",  "ORDER", "GROUP", "HAVING", "UNION",
                                        "OPTION", "FOR",   "LIMIT", "EXCEPT", "INTERSECT"};
    for (const char* w : words)
        if (t.isWord(w))
            return true;
    return false;
}

} // namespace

struct Recordset::Impl {
    Connection* connection = nullptr;
    std::unique_ptr<Cursor> cursor;
    QList<Field> fields;
    bool open = false;
    bool bof = true;
    bool eof = true;
    // The current row. A streamed row takes each value from the cursor when
    // it is first read (`leido`), so unread columns cost nothing.
    QVariantList current;
    QList<bool> leido;
    bool perezosa = false;
    // Static and keyset record sets keep their rows.
    bool buffered = false;
    QList<QVariantList> rows;
    qsizetype pos = -1;
    // Updating.
    QString table;
    enum Edit { None, Adding, Editing } edit = None;
    QVariantList editValues;
    QList<bool> changed;

    void readFirst() {
        rows.clear();
        pos = -1;
        if (buffered) {
            while (cursor->fetch()) {
                QVariantList row;
                for (int i = 0; i < fields.size(); ++i)
                    row.append(cursor->value(i));
                rows.append(row);
            }
            cursor.reset();
            setPosition(0);
            return;
        }
        fetchNext();
        bof = eof;
    }
    void fetchNext() {
        if (cursor && cursor->fetch()) {
            const qsizetype n = fields.size();
            if (current.size() != n) {
                current.resize(n);
                leido.resize(n);
            }
            leido.fill(false);
            perezosa = true;
            eof = false;
        } else {
            cursor.reset();
            current.clear();
            perezosa = false;
            eof = true;
        }
        bof = false;
    }
    const QVariant& valor(int i) {
        if (perezosa && !leido.at(i)) {
            current[i] = cursor->value(i);
            leido[i] = true;
        }
        return current.at(i);
    }
    // The whole current row in `current`.
    void cargarFila() {
        if (!perezosa)
            return;
        for (int i = 0; i < current.size(); ++i)
            valor(i);
        perezosa = false;
    }
    void setPosition(qsizetype p) {
        if (rows.isEmpty()) {
            pos = -1;
            bof = eof = true;
            perezosa = false;
            current.clear();
            return;
        }
        pos = p;
        bof = p < 0;
        eof = p >= rows.size();
        perezosa = false;
        current = (bof || eof) ? QVariantList() : rows.at(p);
    }
};

Recordset::Recordset() : d(std::make_unique<Impl>()) {}

Recordset::~Recordset() = default;

void Recordset::open(const QString& sql, Connection& connection, int cursorType, int lockType,
                     int options) {
    Q_UNUSED(options);
    if (d->open)
        raise(errc::NotAllowedOpen, "Operation is not allowed when the object is open.");
    cursorType_ = cursorType;
    lockType_ = lockType;
    source_ = sql;
    std::unique_ptr<Cursor> cursor = connection.execute(sql);
    *d = Impl();
    if (!cursor)
        return; // a statement without rows leaves the record set closed
    d->connection = &connection;
    d->cursor = std::move(cursor);
    d->fields = d->cursor->fields();
    d->open = true;
    // An updatable record set reads its rows first, so its INSERT / UPDATE
    // never meets a result still pending on the connection (ODBC drivers
    // allow one active statement per connection).
    d->buffered =
        cursorType == adOpenStatic || cursorType == adOpenKeyset || lockType != adLockReadOnly;
    if (lockType != adLockReadOnly)
        d->table = baseTable(sql);
    d->readFirst();
}

void Recordset::attach(std::unique_ptr<Cursor> cursor) {
    if (d->open)
        raise(errc::NotAllowedOpen, "Operation is not allowed when the object is open.");
    *d = Impl();
    if (!cursor)
        return;
    d->cursor = std::move(cursor);
    d->fields = d->cursor->fields();
    d->open = true;
    d->buffered = cursorType_ == adOpenStatic || cursorType_ == adOpenKeyset;
    d->readFirst();
}

void Recordset::close() {
    if (!d->open)
        raiseClosed();
    if (d->edit != Impl::None)
        raise(errc::NotAllowedContext, "Operation is not allowed in this context.");
    *d = Impl();
}

bool Recordset::isOpen() const {
    return d->open;
}

bool Recordset::bof() const {
    if (!d->open)
        raiseClosed();
    return d->bof;
}

bool Recordset::eof() const {
    if (!d->open)
        raiseClosed();
    return d->eof;
}

void Recordset::moveNext() {
    if (!d->open)
        raiseClosed();
    if (d->edit != Impl::None)
        update();
    if (d->eof)
        raiseNoRecord();
    if (d->buffered)
        d->setPosition(d->pos + 1);
    else
        d->fetchNext();
}

void Recordset::moveFirst() {
    if (!d->open)
        raiseClosed();
    if (d->edit != Impl::None)
        update();
    if (d->buffered) {
        d->setPosition(0);
        return;
    }
    if (!d->connection)
        raise(errc::NotSupported, "Rowset does not support fetching backward.");
    std::unique_ptr<Cursor> cursor = d->connection->execute(source_);
    d->cursor = std::move(cursor);
    if (d->cursor)
        d->readFirst();
    else
        d->bof = d->eof = true;
}

void Recordset::movePrevious() {
    if (!d->open)
        raiseClosed();
    if (!d->buffered)
        raise(errc::NotSupported, "Rowset does not support fetching backward.");
    if (d->edit != Impl::None)
        update();
    if (d->bof)
        raiseNoRecord();
    d->setPosition(d->pos - 1);
}

void Recordset::moveLast() {
    if (!d->open)
        raiseClosed();
    if (!d->buffered)
        raise(errc::NotSupported, "Rowset does not support fetching backward.");
    if (d->edit != Impl::None)
        update();
    d->setPosition(d->rows.size() - 1);
}

qint64 Recordset::recordCount() const {
    if (!d->open)
        raiseClosed();
    return d->buffered ? d->rows.size() : -1;
}

int Recordset::fieldCount() const {
    if (!d->open)
        raiseClosed();
    return d->fields.size();
}

const QList<Field>& Recordset::fields() const {
    if (!d->open)
        raiseClosed();
    return d->fields;
}

const Field& Recordset::field(int i) const {
    if (!d->open)
        raiseClosed();
    if (i < 0 || i >= d->fields.size())
        raise(errc::ItemNotFound, "Item cannot be found in the collection corresponding to the "
                                  "requested name or ordinal.");
    return d->fields.at(i);
}

int Recordset::fieldIndex(const QString& name) const {
    if (!d->open)
        return -1;
    const QString n = name.trimmed();
    for (int i = 0; i < d->fields.size(); ++i)
        if (d->fields.at(i).name.compare(n, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Recordset::value(int i) const {
    field(i);
    if (d->edit != Impl::None)
        return d->editValues.at(i);
    if (d->bof || d->eof)
        raiseNoRecord();
    return i < d->current.size() ? d->valor(i) : QVariant();
}

QVariant Recordset::value(const QString& name) const {
    if (!d->open)
        raiseClosed();
    const int i = fieldIndex(name);
    if (i < 0)
        raise(errc::ItemNotFound, "Item cannot be found in the collection corresponding to the "
                                  "requested name or ordinal.");
    return value(i);
}

bool Recordset::isUpdatable() const {
    return d->open && d->connection && !d->table.isEmpty() && lockType_ != adLockReadOnly;
}

QString Recordset::updateTable() const {
    return d->table;
}

bool Recordset::editPending() const {
    return d->edit != Impl::None;
}

void Recordset::addNew() {
    if (!d->open)
        raiseClosed();
    if (!isUpdatable())
        raise(errc::NotSupported,
              "Current Recordset does not support updating. This may be a limitation of the "
              "provider, or of the selected locktype.");
    if (d->edit != Impl::None)
        update();
    d->edit = Impl::Adding;
    d->editValues = QVariantList(d->fields.size());
    d->changed = QList<bool>(d->fields.size(), false);
}

void Recordset::setValue(const QString& name, const QVariant& value) {
    if (!d->open)
        raiseClosed();
    const int i = fieldIndex(name);
    if (i < 0)
        raise(errc::ItemNotFound, "Item cannot be found in the collection corresponding to the "
                                  "requested name or ordinal.");
    if (d->edit == Impl::None) {
        if (!isUpdatable())
            raise(errc::NotSupported,
                  "Current Recordset does not support updating. This may be a limitation of the "
                  "provider, or of the selected locktype.");
        if (d->bof || d->eof)
            raiseNoRecord();
        d->edit = Impl::Editing;
        d->cargarFila();
        d->editValues = d->current;
        d->changed = QList<bool>(d->fields.size(), false);
    }
    d->editValues[i] = value;
    d->changed[i] = true;
}

void Recordset::update() {
    if (!d->open)
        raiseClosed();
    if (d->edit == Impl::None)
        return;
    QStringList columns;
    QVariantList params;
    for (int i = 0; i < d->fields.size(); ++i) {
        if (!d->changed.at(i))
            continue;
        columns.append(columnName(d->fields.at(i).name));
        params.append(d->editValues.at(i));
    }
    d->cargarFila();
    QString sql;
    if (d->edit == Impl::Adding) {
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO ") + d->table + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marks;
            for (qsizetype k = 0; k < columns.size(); ++k)
                marks.append(QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO ") + d->table + QStringLiteral(" (") +
                  columns.join(u',') + QStringLiteral(") VALUES (") + marks.join(u',') + u')';
        }
    } else {
        if (columns.isEmpty()) {
            d->edit = Impl::None;
            return;
        }
        QStringList sets;
        for (const QString& c : columns)
            sets.append(c + QStringLiteral(" = ?"));
        QStringList where;
        for (int i = 0; i < d->fields.size(); ++i) {
            const Field& f = d->fields.at(i);
            if (isLongType(f.type))
                continue;
            const QVariant original = d->current.value(i);
            if (original.isNull()) {
                where.append(columnName(f.name) + QStringLiteral(" IS NULL"));
            } else {
                where.append(columnName(f.name) + QStringLiteral(" = ?"));
                params.append(original);
            }
        }
        sql = QStringLiteral("UPDATE ") + d->table + QStringLiteral(" SET ") +
              sets.join(QStringLiteral(", "));
        if (!where.isEmpty())
            sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    }
    qint64 rows = 0;
    d->connection->execute(sql, &rows, params);
    if (d->edit == Impl::Editing && rows == 0)
        raise(errc::RowNotFound, "Row cannot be located for updating. Some values may have been "
                                 "changed since it was last read.");
    d->perezosa = false;
    d->current = d->editValues;
    if (d->buffered) {
        if (d->edit == Impl::Adding) {
            d->rows.append(d->current);
            d->pos = d->rows.size() - 1;
        } else if (d->pos >= 0 && d->pos < d->rows.size()) {
            d->rows[d->pos] = d->current;
        }
    }
    d->bof = d->eof = false;
    d->edit = Impl::None;
    d->editValues.clear();
    d->changed.clear();
}

void Recordset::cancelUpdate() {
    d->edit = Impl::None;
    d->editValues.clear();
    d->changed.clear();
}

QString Recordset::baseTable(const QString& sql) {
    QList<SqlToken> t;
    for (const SqlToken& tok : tokenizeSql(sql))
        if (tok.significant())
            t.append(tok);
    qsizetype i = 0;
    if (t.isEmpty() || !t[0].isWord("SELECT"))
        return {};
    int depth = 0;
    for (i = 1; i < t.size(); ++i) {
        if (t[i].is(SqlToken::OpenParen))
            ++depth;
        else if (t[i].is(SqlToken::CloseParen))
            --depth;
        else if (depth == 0 && t[i].isWord("FROM"))
            break;
    }
    if (++i >= t.size())
        return {};
    QString name;
    while (i < t.size() && (t[i].is(SqlToken::Word) || t[i].is(SqlToken::QuotedName))) {
        name += t[i].text;
        ++i;
        if (i < t.size() && t[i].is(SqlToken::Dot)) {
            while (i < t.size() && t[i].is(SqlToken::Dot)) {
                name += t[i].text;
                ++i;
            }
            continue;
        }
        break;
    }
    if (name.isEmpty() || name.endsWith(u'.'))
        return {};
    // Optional alias and table hints.
    if (i < t.size() && t[i].isWord("AS"))
        ++i;
    if (i < t.size() && (t[i].is(SqlToken::Word) || t[i].is(SqlToken::QuotedName)) &&
        !t[i].isWord("WITH") && !isClauseKeyword(t[i]) && !t[i].isWord("JOIN") &&
        !t[i].isWord("INNER") && !t[i].isWord("LEFT") && !t[i].isWord("RIGHT") &&
        !t[i].isWord("FULL") && !t[i].isWord("CROSS") && !t[i].isWord("OUTER"))
        ++i;
    if (i < t.size() && t[i].isWord("WITH"))
        ++i;
    if (i < t.size() && t[i].is(SqlToken::OpenParen)) {
        int level = 0;
        for (; i < t.size(); ++i) {
            if (t[i].is(SqlToken::OpenParen))
                ++level;
            else if (t[i].is(SqlToken::CloseParen) && --level == 0) {
                ++i;
                break;
            }
        }
    }
    if (i < t.size() && !isClauseKeyword(t[i]) && !t[i].is(SqlToken::Semicolon))
        return {};
    return name;
}

} // namespace rp::db
