#pragma once

#include "app/demo/DemoDatos.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace rp::demo::test {

// A demo database opened directly with SQLite (collation registered), for
// looking at what the generator wrote.
class BaseSqlitePrueba {
public:
    explicit BaseSqlitePrueba(const QString& archivo) {
        if (sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db_, SQLITE_OPEN_READWRITE,
                            nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << archivo.toStdString();
        DemoDatos::registrarFunciones(db_);
    }
    ~BaseSqlitePrueba() { sqlite3_close(db_); }
    BaseSqlitePrueba(const BaseSqlitePrueba&) = delete;
    BaseSqlitePrueba& operator=(const BaseSqlitePrueba&) = delete;

    // Rows of a statement; error() tells why a statement failed.
    QList<QVariantList> filas(const QString& sql) {
        error_.clear();
        QList<QVariantList> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            error_ = QString::fromUtf8(sqlite3_errmsg(db_));
            return out;
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QVariantList fila;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_NULL:
                    fila.append(QVariant());
                    break;
                case SQLITE_INTEGER:
                    fila.append(QVariant(static_cast<qint64>(sqlite3_column_int64(st, i))));
                    break;
                case SQLITE_FLOAT:
                    fila.append(QVariant(sqlite3_column_double(st, i)));
                    break;
                default:
                    fila.append(QVariant(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(st, i)))));
                }
            }
            out.append(fila);
        }
        if (rc != SQLITE_DONE)
            error_ = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(st);
        return out;
    }
    QVariant valor(const QString& sql) { return filas(sql).value(0).value(0); }
    bool ejecutar(const QString& sql) {
        char* msg = nullptr;
        const bool ok =
            sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &msg) == SQLITE_OK;
        error_ = msg ? QString::fromUtf8(msg) : QString();
        sqlite3_free(msg);
        return ok;
    }
    const QString& error() const { return error_; }

private:
    sqlite3* db_ = nullptr;
    QString error_;
};

// Small options that generate in well under a second.
inline OpcionesDemo opcionesChicas(std::uint64_t semilla = 7) {
    OpcionesDemo o;
    o.articulos = 300;
    o.cambios = 6000;
    o.semilla = semilla;
    return o;
}

// A generated database in a private temporary folder.
struct BaseGenerada {
    QTemporaryDir dir;
    QString archivo;
    explicit BaseGenerada(const OpcionesDemo& o = opcionesChicas()) {
        archivo = dir.filePath(QStringLiteral("EMPRESA_DEMO.db"));
        DemoDatos datos(o);
        EXPECT_TRUE(datos.generarEmpresa(archivo)) << datos.error().toStdString();
    }
};

} // namespace rp::demo::test
