#pragma once

#include "db/provider/Connection.h"
#include "db/provider/SqliteProvider.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace rp::db::test {

// A fresh SQLite database file in a private temporary folder, opened through
// the facade.
struct TempDatabase {
    QTemporaryDir dir;
    QString path;
    Connection connection;

    TempDatabase() {
        path = dir.filePath(QStringLiteral("EMPRESA.db"));
        EXPECT_TRUE(SqliteProvider::createDatabaseFile(path));
        connection.openWith(std::make_unique<SqliteProvider>(), path);
    }
    SqliteProvider& provider() { return *static_cast<SqliteProvider*>(connection.provider()); }

    // Runs statements that must succeed.
    void run(const QString& sql, const QVariantList& params = {}) {
        try {
            connection.execute(sql, nullptr, params);
        } catch (const DbError& e) {
            ADD_FAILURE() << "statement failed: " << sql.toStdString() << "\n  "
                          << e.description().toStdString();
        }
    }
    // First column of every row of a query, as text (NULL as "<null>").
    QStringList column(const QString& sql, const QVariantList& params = {}) {
        QStringList out;
        try {
            auto c = connection.execute(sql, nullptr, params);
            while (c && c->fetch())
                out.append(c->value(0).isNull() ? QStringLiteral("<null>")
                                                : c->value(0).toString());
        } catch (const DbError& e) {
            ADD_FAILURE() << "query failed: " << sql.toStdString() << "\n  "
                          << e.description().toStdString();
        }
        return out;
    }
    QString scalar(const QString& sql, const QVariantList& params = {}) {
        return column(sql, params).value(0);
    }
};

} // namespace rp::db::test
