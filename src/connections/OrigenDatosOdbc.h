#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace rp::db {
struct ProviderSettings;
}

namespace rp::connections {

// The user data source of unixODBC that lets ODBC tools (isql, office
// programs, report tools) reach a registered connection by the name of its
// database. Written through the installer API of libodbcinst into the user's
// odbc.ini (the file ODBCINI names, ~/.odbc.ini otherwise).
class OrigenDatosOdbc {
public:
    struct Definicion {
        QString driver;
        // Attributes in the order written, e.g. Server, Port, Database.
        QList<QPair<QString, QString>> atributos;
    };

    // The data source for a server and database as the connection dialog
    // takes them: the attributes of the ODBC connection string the connection
    // layer builds for them (driver of the SQL Server layout, server, port,
    // database, driver options), without the credentials. nullopt when the
    // connection does not go through ODBC (the embedded database).
    static std::optional<Definicion> definir(const QString& servidor, const QString& baseDatos,
                                             const rp::db::ProviderSettings& ajustes);

    // Writes the user data source `nombre`, replacing one of the same name.
    // False with a readable reason when the installer refuses it (a name
    // with []{}(),;?*=!@\ for instance).
    static bool registrar(const QString& nombre, const Definicion& definicion, QString& error);
};

} // namespace rp::connections
