#pragma once

#include "../db/DbPrueba.h"
#include "app/demo/CarpetaDemo.h"
#include "lookup/ArchivoConsultas.h"
#include "lookup/Lib_ClsCons3.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <memory>

#include <ostream>

// Texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace rp::lookup::test {

// A copy of one small demo database per test (generated once per run),
// opened through the shared database object, with the definition file's
// default rows in the test's program folder and the lookup request set up
// as start-up leaves it. Configuration values come from `config`.
class ConsultaDemoPrueba : public rp::db::test::DbPrueba {
protected:
    static QString& original() {
        static QString ruta;
        return ruta;
    }
    static std::unique_ptr<QTemporaryDir>& carpetaOriginal() {
        static std::unique_ptr<QTemporaryDir> d;
        return d;
    }

    static void SetUpTestSuite() {
        if (!original().isEmpty())
            return;
        carpetaOriginal() = std::make_unique<QTemporaryDir>();
        const QString carpeta = carpetaOriginal()->filePath(QStringLiteral("demo"));
        rp::demo::OpcionesDemo opciones;
        opciones.articulos = 150;
        opciones.cambios = 200;
        rp::demo::CarpetaDemo demo(opciones);
        demo.setCarpetaPlantillas(QStringLiteral(RP_SOURCE_DIR "/templates"));
        if (demo.prepararCarpetaDemo(carpeta))
            original() = carpeta + QLatin1Char('/') + rp::demo::CarpetaDemo::archivoEmpresa();
    }

    QString carpeta;
    QHash<QString, QString> config;

    void SetUp() override {
        DbPrueba::SetUp();
        ASSERT_FALSE(original().isEmpty());
        carpeta = dir.path() + QLatin1Char('/');
        const QString base = carpeta + rp::demo::CarpetaDemo::archivoEmpresa();
        ASSERT_TRUE(QFile::copy(original(), base));
        for (const char* sufijo : {"-wal", "-shm"})
            if (QFile::exists(original() + QLatin1String(sufijo)))
                QFile::copy(original() + QLatin1String(sufijo), base + QLatin1String(sufijo));
        datosSqlite(db, base);
        db.OpenServerADODB(false, 3, QString(), false, false);
        ASSERT_TRUE(db.gOpenFlag);

        config = {{"TopConsArt", "1000"},     {"MostrarStockenConsultas", "SI"},
                  {"UsaConsultaLike", "NO"},  {"Stk_Nivel1", "32768"},
                  {"Stk_Nivel2", "16711680"}, {"Stk_Nivel3", "33023"},
                  {"Stk_Nivel4", "255"},      {"NOM_PCLASE3", "Mayorista"}};
        Lib_ClsCons3& c = gConsulta();
        c = Lib_ClsCons3();
        c.gUsarMascarasConsultas = true;
        c.gRutaMascaraConsultas = carpeta + QStringLiteral("consultas.kst");
        ASSERT_TRUE(ArchivoConsultas::crear(c.gRutaMascaraConsultas));
        c.cfg = [this](const QString& k) { return config.value(k, QStringLiteral(" ")); };
    }
    void TearDown() override {
        gConsulta() = Lib_ClsCons3();
        DbPrueba::TearDown();
    }

    // The first column of an independent query, trimmed.
    QStringList columna(const QString& s) {
        QStringList r;
        auto cur = db.conexion().execute(s);
        while (cur && cur->fetch())
            r << cur->value(0).toString().trimmed();
        return r;
    }
    QVariant valor(const QString& s) {
        auto cur = db.conexion().execute(s);
        return cur && cur->fetch() ? cur->value(0) : QVariant();
    }
};

} // namespace rp::lookup::test
