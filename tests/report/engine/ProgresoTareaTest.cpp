// Progress and cancellation of long work, and the writers that stop on it
// without leaving a file.
#include "BaseDePrueba.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/EscritorCsv.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/ProgresoTarea.h"
#include "report/engine/ReportePreparado.h"

#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

using namespace rp::motor;

namespace {

struct Informe {
    QString texto;
    qint64 hecho = 0, total = 0;
};

// A data source of `n` generated rows, without a database.
FuenteDatos filas(int n) {
    FuenteDatos f;
    f.consultar = [n](const QString&) -> std::unique_ptr<rp::db::Cursor> {
        QList<QVariantList> r;
        for (int i = 1; i <= n; ++i)
            r << QVariantList{i, QStringLiteral("art %1").arg(i), i * 1.5, QVariant(),
                              QDateTime(QDate(2024, 12, 31), QTime(10, 0))};
        QList<rp::db::Field> campos;
        for (int i = 0; i < 5; ++i)
            campos << rp::db::Field{QStringLiteral("c%1").arg(i), rp::db::adtype::VarWChar, 0};
        return std::make_unique<rp::db::MemoryCursor>(campos, r);
    };
    return f;
}

} // namespace

TEST(ProgresoTarea, TextosIntervaloYCancelacion) {
    QList<Informe> informes;
    ProgresoTarea p([&](const QString& t, qint64 h, qint64 n) { informes << Informe{t, h, n}; }, 0);
    const QLocale l;
    p.fijarPaso("Exportando", "páginas", 1234);
    EXPECT_EQ(QStringLiteral("Exportando: %1 de %2 páginas (Esc cancela)")
                  .arg(l.toString(120), l.toString(1234)),
              p.texto(120));
    p.fijarPaso("Exportando", "filas");
    EXPECT_EQ(QStringLiteral("Exportando: %1 filas (Esc cancela)").arg(l.toString(5000)),
              p.texto(5000));
    // Interval 0: every slice is reported, with the total of its step.
    EXPECT_TRUE(p.avanzar(10));
    EXPECT_TRUE(p.continuar()(20));
    ASSERT_EQ(2, informes.size());
    EXPECT_EQ(20, informes.last().hecho);
    EXPECT_EQ(0, informes.last().total);
    // Cancelled: every later slice answers false and nothing more is reported.
    p.cancelar();
    EXPECT_FALSE(p.avanzar(30));
    EXPECT_FALSE(p.continuar()(40));
    EXPECT_EQ(2, informes.size());

    // A long interval reports only when asked to.
    int veces = 0;
    ProgresoTarea lento([&](const QString&, qint64, qint64) { ++veces; }, 60000);
    for (int i = 0; i < 1000; ++i)
        EXPECT_TRUE(lento.avanzar(i));
    EXPECT_EQ(0, veces);
    lento.informarAhora(5);
    EXPECT_EQ(1, veces);
}

TEST(ProgresoTarea, CsvCanceladoNoDejaArchivoNiTocaElAnterior) {
    prueba::BaseDePrueba base;
    const auto rep = ReportePreparado::preparar(
        LectorPlantilla::leerTexto(prueba::BaseDePrueba::textoHistorial()), {});
    const QString ruta = base.dir.filePath("cancelado.csv");
    qint64 visto = 0;
    try {
        EscritorCsv::escribirArchivo(*rep, filas(5000), ruta, [&](qint64 n) {
            visto = n;
            return n < 4000;
        });
        ADD_FAILURE() << "no se canceló";
    } catch (const ErrorMotor& e) {
        EXPECT_EQ("exportación cancelada", e.texto().toStdString());
    }
    EXPECT_EQ(4000, visto);
    EXPECT_FALSE(QFile::exists(ruta));
    // A file that was there stays as it was.
    QFile viejo(ruta);
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write("antes\r\n");
    viejo.close();
    EXPECT_ANY_THROW(
        EscritorCsv::escribirArchivo(*rep, filas(5000), ruta, [](qint64) { return false; }));
    ASSERT_TRUE(viejo.open(QIODevice::ReadOnly));
    EXPECT_EQ("antes\r\n", viejo.readAll().toStdString());
    viejo.close();
    // Not cancelled: every row, the same bytes as without a callback.
    const QString entero = base.dir.filePath("entero.csv");
    EXPECT_EQ(5000,
              EscritorCsv::escribirArchivo(*rep, filas(5000), ruta, [](qint64) { return true; }));
    EscritorCsv::escribirArchivo(*rep, filas(5000), entero);
    QFile a(ruta), b(entero);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}
