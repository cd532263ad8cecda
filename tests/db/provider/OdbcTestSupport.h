#pragma once

// Helpers shared by the ODBC provider tests: targets for the real drivers and
// reading whole results.

#include "db/provider/OdbcProvider.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QVariantList>

namespace rp::db::testing {

// A value as an ODBC connection string carries it (braces only where needed:
// the SQLite ODBC driver reads braces as part of the value).
inline QString braced(QString v) {
    if (!v.contains(QLatin1Char(';')) && !v.startsWith(QLatin1Char('{')))
        return v;
    v.replace(QLatin1String("}"), QLatin1String("}}"));
    return QLatin1Char('{') + v + QLatin1Char('}');
}

// Debian's SQLite3 ODBC driver on a database file; with the SQL Server
// function module when it was built.
inline QString sqliteOdbcTarget(const QString& file, bool functions = false) {
    QString t = QStringLiteral("DRIVER={SQLite3};DATABASE=") + braced(file) + QLatin1Char(';');
#ifdef RP_SQLEXT_PATH
    if (functions && QFile::exists(QStringLiteral(RP_SQLEXT_PATH)))
        t += QStringLiteral("LoadExt=") + braced(QStringLiteral(RP_SQLEXT_PATH)) + QLatin1Char(';');
#else
    Q_UNUSED(functions);
#endif
    return t;
}

inline bool sqliteFunctionsAvailable() {
#ifdef RP_SQLEXT_PATH
    return QFile::exists(QStringLiteral(RP_SQLEXT_PATH));
#else
    return false;
#endif
}

// The local PostgreSQL server started by scripts/pg-start.sh.
inline QString postgresTarget() {
    const QString env = qEnvironmentVariable("RP_TEST_PG");
    if (!env.isEmpty())
        return env;
    return QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=5432;"
                          "DATABASE=rp_test;UID=rp_test;PWD=rp_test;");
}

inline bool runningUnderCi() {
    return qEnvironmentVariable("CI") == QLatin1String("true");
}

struct Result {
    QList<Field> fields;
    QList<QVariantList> rows;
    qint64 rowsAffected = -2;
};

inline Result query(ProviderConnection& p, const QString& sql, QList<ProviderError>& errors,
                    const QVariantList& params = {}) {
    Result r;
    std::unique_ptr<Cursor> c = p.execute(sql, params, r.rowsAffected, errors);
    if (!c)
        return r;
    r.fields = c->fields();
    while (c->fetch()) {
        QVariantList row;
        for (qsizetype i = 0; i < r.fields.size(); ++i)
            row.append(c->value(int(i)));
        r.rows.append(row);
    }
    return r;
}

inline qint64 run(ProviderConnection& p, const QString& sql, QList<ProviderError>& errors,
                  const QVariantList& params = {}) {
    return query(p, sql, errors, params).rowsAffected;
}

} // namespace rp::db::testing
