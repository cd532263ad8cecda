#pragma once

#include "db/provider/Connection.h"
#include "db/provider/ProviderError.h"
#include "db/provider/SqliteProvider.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>
#include <gtest/gtest.h>
#include <memory>

namespace rp::prueba {

// A fresh, empty SQLite database file in a private temporary folder that goes
// away with the object. `conexion` is opened on it through the facade unless
// the test opens it its own way (through the database object, say).
class BaseTemporal {
public:
    enum Apertura { Abierta, Cerrada };

    explicit BaseTemporal(const QString& nombre = QStringLiteral("EMPRESA.db"),
                          Apertura apertura = Abierta) {
        EXPECT_TRUE(dir.isValid());
        ruta = crear(nombre);
        if (apertura == Abierta)
            conexion.openWith(std::make_unique<rp::db::SqliteProvider>(), ruta);
    }
    BaseTemporal(const BaseTemporal&) = delete;
    BaseTemporal& operator=(const BaseTemporal&) = delete;

    QTemporaryDir dir;
    QString ruta; // the database file
    rp::db::Connection conexion;

    // Another empty database file in the same folder; its path.
    QString crear(const QString& nombre) {
        const QString archivo = dir.filePath(nombre);
        EXPECT_TRUE(rp::db::SqliteProvider::createDatabaseFile(archivo)) << nombre.toStdString();
        return archivo;
    }
    rp::db::SqliteProvider& proveedor() {
        return *static_cast<rp::db::SqliteProvider*>(conexion.provider());
    }

    // Runs a statement that must succeed.
    void ejecutar(const QString& sql, const QVariantList& valores = {}) {
        try {
            conexion.execute(sql, nullptr, valores);
        } catch (const rp::db::DbError& e) {
            ADD_FAILURE() << "statement failed: " << sql.toStdString() << "\n  "
                          << e.description().toStdString();
        }
    }
    // First column of every row of a query, as text (NULL as "<null>").
    QStringList columna(const QString& sql, const QVariantList& valores = {}) {
        QStringList filas;
        try {
            auto c = conexion.execute(sql, nullptr, valores);
            while (c && c->fetch())
                filas.append(c->value(0).isNull() ? QStringLiteral("<null>")
                                                  : c->value(0).toString());
        } catch (const rp::db::DbError& e) {
            ADD_FAILURE() << "query failed: " << sql.toStdString() << "\n  "
                          << e.description().toStdString();
        }
        return filas;
    }
    QString escalar(const QString& sql, const QVariantList& valores = {}) {
        return columna(sql, valores).value(0);
    }
};

} // namespace rp::prueba
