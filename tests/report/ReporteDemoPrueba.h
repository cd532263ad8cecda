#pragma once

#include "../db/DbPrueba.h"
#include "app/demo/CarpetaDemo.h"
#include "startup/Sesion.h"
#include "suite/DLL_Print.h"

#include <QFile>

namespace rp::report::test {

// A small demo program folder (business database, templates) opened through
// the shared database object, as the program has it after start-up.
class ReporteDemoPrueba : public rp::db::test::DbPrueba {
protected:
    QString carpeta;

    void SetUp() override {
        DbPrueba::SetUp();
        carpeta = dir.filePath(QStringLiteral("demo"));
        rp::demo::OpcionesDemo opciones;
        opciones.articulos = 120;
        opciones.cambios = 2500;
        rp::demo::CarpetaDemo demo(opciones);
        demo.setCarpetaPlantillas(QStringLiteral(RP_SOURCE_DIR "/templates"));
        ASSERT_TRUE(demo.prepararCarpetaDemo(carpeta)) << demo.error().toStdString();
        carpeta += QLatin1Char('/');
        rp::suite::Aplicacion::establecerCarpetaPrograma(carpeta);
        rp::suite::dllPrint().pPathSistema = carpeta;
        rp::suite::dllPrint().Destino = 0;
        rp::suite::dllPrint().ConDialogo = true;
        rp::startup::sesion().gCadenaDSN = QStringLiteral("DSN=EMPRESA_DEMO; UID=demo; PWD=demo");
        datosSqlite(db, carpeta + rp::demo::CarpetaDemo::archivoEmpresa());
        db.OpenServerADODB(false, 3, QString(), false, false);
        ASSERT_TRUE(db.gOpenFlag);
    }

    // One value of an independent query.
    QVariant valor(const QString& s, const QVariantList& p = {}) {
        auto c = db.conexion().execute(s, nullptr, p);
        return c && c->fetch() ? c->value(0) : QVariant();
    }
    QStringList columna(const QString& s, const QVariantList& p = {}) {
        QStringList r;
        auto c = db.conexion().execute(s, nullptr, p);
        while (c && c->fetch())
            r << c->value(0).toString().trimmed();
        return r;
    }

    // The records of a CSV file (RFC 4180), header first.
    static QList<QStringList> leerCsv(const QString& ruta) {
        QFile f(ruta);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QString t = QString::fromUtf8(f.readAll());
        QList<QStringList> filas;
        QStringList fila;
        QString celda;
        bool comillas = false;
        for (qsizetype i = 0; i < t.size(); ++i) {
            const QChar c = t.at(i);
            if (comillas) {
                if (c == QLatin1Char('"') && i + 1 < t.size() && t.at(i + 1) == QLatin1Char('"')) {
                    celda += c;
                    ++i;
                } else if (c == QLatin1Char('"')) {
                    comillas = false;
                } else {
                    celda += c;
                }
            } else if (c == QLatin1Char('"')) {
                comillas = true;
            } else if (c == QLatin1Char(',')) {
                fila << celda;
                celda.clear();
            } else if (c == QLatin1Char('\n')) {
                fila << celda;
                celda.clear();
                filas << fila;
                fila.clear();
            } else if (c != QLatin1Char('\r')) {
                celda += c;
            }
        }
        if (!celda.isEmpty() || !fila.isEmpty())
            filas << (fila << celda);
        return filas;
    }
};

} // namespace rp::report::test
