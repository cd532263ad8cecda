#pragma once

#include <QMap>
#include <QString>

namespace rp::db {

// Workstation settings that shape the translation of the program's
// connection-string layouts into a provider target.
struct ProviderSettings {
    QString programFolder;                 // ends with "/"; bare SQLite names resolve here
    QString sqlServerDriver = "FreeTDS";   // ODBC driver name for the SQL Server layout
    QString oracleDriver = "Oracle";       // ODBC driver name for the Oracle layout
    QString sqliteExtension;               // path of the loadable SQL Server function module,
                                           // passed as LoadExt= to a SQLite ODBC driver
};

struct ProviderTarget {
    enum Kind { Sqlite, Odbc };
    Kind kind = Sqlite;
    QString target;   // SQLite: database file path; ODBC: ODBC connection string
    QString database; // the database named by the layout (default database)
};

// Splits "KEY=value;KEY =value;..." into upper-cased trimmed keys and raw values.
QMap<QString, QString> parseConnectionString(const QString& s);

// Translates a connection string in one of the program's layouts (SQL Server:
// PROVIDER=SQLOLEDB;Server=..;Database =..;UId=..;Pwd=..;  Oracle:
// Provider=OraOLEDB.Oracle.1;Data Source=..;User Id=..;Password=..;  or a plain
// ODBC string with DSN= / DRIVER=) into the provider that serves it.
// `user` / `password`, when not empty, override the string's own.
ProviderTarget translateConnectionString(const QString& connectionString, const QString& user,
                                         const QString& password,
                                         const ProviderSettings& settings);

// Process-wide settings used by Connection::open (set once by the entry point).
const ProviderSettings& providerSettings();
void setProviderSettings(const ProviderSettings& settings);

} // namespace rp::db
