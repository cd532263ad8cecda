#pragma once

#include "db/provider/Field.h"

#include <QList>
#include <QVariant>
#include <memory>

namespace rp::db {

// The rows of one executed statement, as a provider produces them: a
// forward-only stream. Values are QVariant: null for SQL NULL, QString for
// text, qint64 / double for numbers, QDateTime for date-times.
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual const QList<Field>& fields() const = 0;
    // Advances to the next row; false at the end. Throws DbError.
    virtual bool fetch() = 0;
    // Value of column i of the current row.
    virtual QVariant value(int i) const = 0;
};

// A cursor over rows already in memory (schema catalogues, procedure results
// built by the layer itself).
class MemoryCursor : public Cursor {
public:
    MemoryCursor(QList<Field> fields, QList<QVariantList> rows)
        : fields_(std::move(fields)), rows_(std::move(rows)) {}
    const QList<Field>& fields() const override { return fields_; }
    bool fetch() override { return ++pos_ < rows_.size(); }
    QVariant value(int i) const override { return rows_.at(pos_).value(i); }

private:
    QList<Field> fields_;
    QList<QVariantList> rows_;
    qsizetype pos_ = -1;
};

} // namespace rp::db
