// Excel output, read back with an independent reader.
#include "BaseDePrueba.h"
#include "LectorXlsx.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/EscritorXlsx.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/ReportePreparado.h"
#include "suite/Regional.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rp::motor;
using rp::motor::prueba::LectorXlsx;

namespace {

std::shared_ptr<const ReportePreparado> preparar(const SolicitudReporte& s = SolicitudReporte()) {
    rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
    return ReportePreparado::preparar(
        LectorPlantilla::leerTexto(prueba::BaseDePrueba::textoHistorial()), s,
        QDateTime(QDate(2025, 2, 3), QTime(9, 5)));
}

// `n` generated rows (IDHIS 1..n), without a database.
FuenteDatos filasGeneradas(int n) {
    FuenteDatos f;
    f.consultar = [n](const QString&) -> std::unique_ptr<rp::db::Cursor> {
        QList<QVariantList> filas;
        for (int i = 1; i <= n; ++i)
            filas << QVariantList{i, QStringLiteral("art %1").arg(i), i * 1.5, QVariant(),
                                  QDateTime(QDate(2024, 12, 31), QTime(10, i % 60))};
        QList<rp::db::Field> campos;
        for (int i = 0; i < 5; ++i)
            campos << rp::db::Field{QStringLiteral("c%1").arg(i), rp::db::adtype::VarWChar, 0};
        return std::make_unique<rp::db::MemoryCursor>(campos, filas);
    };
    return f;
}

QJsonObject celda(const QJsonObject& hoja, int fila, int columna) {
    return hoja["filas"].toArray().at(fila).toArray().at(columna).toObject();
}

class EscritorXlsxTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!LectorXlsx::disponible())
            GTEST_SKIP() << "python3-openpyxl is not installed";
    }
};

} // namespace

TEST(EscritorXlsx, FormatosDeExcel) {
    FormatoColumna f;
    f.tipo = FormatoColumna::Numero;
    f.decimales = 3;
    EXPECT_EQ("#,##0.000", EscritorXlsx::formatoNumero(f).toStdString());
    f.decimales = 0;
    EXPECT_EQ("#,##0", EscritorXlsx::formatoNumero(f).toStdString());
    f.tipo = FormatoColumna::Entero;
    EXPECT_EQ("#,##0", EscritorXlsx::formatoNumero(f).toStdString());
    f.tipo = FormatoColumna::Cambio;
    f.decimales = 2;
    EXPECT_EQ("+#,##0.00;-#,##0.00;#,##0.00", EscritorXlsx::formatoNumero(f).toStdString());
    f.tipo = FormatoColumna::Texto;
    EXPECT_TRUE(EscritorXlsx::formatoNumero(f).isEmpty());
    EXPECT_EQ("dd/mm/yyyy hh:mm:ss",
              EscritorXlsx::formatoFecha(QStringLiteral("dd/MM/yyyy HH:mm:ss")).toStdString());
    EXPECT_EQ("yyyy\\'mm\\'dd",
              EscritorXlsx::formatoFecha(QStringLiteral("yyyy''MM''dd")).toStdString());
    EXPECT_EQ("mm\\.dd\\.yyyy",
              EscritorXlsx::formatoFecha(QStringLiteral("MM.dd.yyyy")).toStdString());
}

TEST_F(EscritorXlsxTest, CeldasConTipoFormatoYTextosSinFormulas) {
    prueba::BaseDePrueba base;
    base.ejecutar("INSERT INTO V_MA_ARTICULOS VALUES "
                  "('                      600','=HYPERLINK(\"http://x\")','   1','P1','01',NULL)");
    base.ejecutar(
        "INSERT INTO V_MV_PRECIOSHIS VALUES "
        "(7,'1','                      600','2024-05-06 00:00:00','ana',1234567.891,2,1)");
    SolicitudReporte s;
    s.formula = QStringLiteral("{V_MV_PRECIOSHIS.IDLISTA} = '1'");
    const auto rep = preparar(s);
    const QString ruta = base.dir.filePath("salida.xlsx");
    ASSERT_EQ(3, EscritorXlsx::escribirArchivo(*rep, base.fuente(), ruta));
    const auto libro = LectorXlsx::leer(ruta);
    ASSERT_TRUE(libro);
    ASSERT_EQ(1, libro->size());
    const QJsonObject h = libro->at(0).toObject();
    EXPECT_EQ("Hoja1", h["nombre"].toString().toStdString());
    EXPECT_EQ("A2", h["congelada"].toString().toStdString());
    EXPECT_EQ("A1:E4", h["filtro"].toString().toStdString());
    const QJsonArray filas = h["filas"].toArray();
    ASSERT_EQ(4, filas.size());
    QStringList titulos;
    for (const auto& c : filas.at(0).toArray()) {
        EXPECT_EQ("s", c.toObject()["t"].toString().toStdString());
        titulos << c.toObject()["v"].toString();
    }
    EXPECT_EQ("Id|Descripción|Costo|Precio 1|Fecha", titulos.join('|').toStdString());

    // Id: a whole number; description: a string; cost: a number with two
    // decimals; date-time and midnight date: date cells.
    EXPECT_EQ("n", celda(h, 1, 0)["t"].toString().toStdString());
    EXPECT_EQ(1, celda(h, 1, 0)["v"].toInt());
    EXPECT_EQ("#,##0", celda(h, 1, 0)["f"].toString().toStdString());
    EXPECT_EQ("Tornillo 10%", celda(h, 1, 1)["v"].toString().toStdString());
    EXPECT_EQ("n", celda(h, 1, 2)["t"].toString().toStdString());
    EXPECT_DOUBLE_EQ(10.5, celda(h, 1, 2)["v"].toDouble());
    EXPECT_EQ("#,##0.00", celda(h, 1, 2)["f"].toString().toStdString());
    EXPECT_EQ("d", celda(h, 1, 4)["t"].toString().toStdString());
    EXPECT_EQ("2024-12-30T10:00:00", celda(h, 1, 4)["v"].toString().toStdString());
    EXPECT_EQ("dd/mm/yyyy hh:mm:ss", celda(h, 1, 4)["f"].toString().toStdString());
    EXPECT_EQ("2024-12-31T00:00:00", celda(h, 2, 4)["v"].toString().toStdString());
    EXPECT_EQ("dd/mm/yyyy", celda(h, 2, 4)["f"].toString().toStdString());
    EXPECT_DOUBLE_EQ(0, celda(h, 2, 2)["v"].toDouble());
    // A text that looks like a formula stays a text.
    EXPECT_EQ("s", celda(h, 3, 1)["t"].toString().toStdString());
    EXPECT_EQ("=HYPERLINK(\"http://x\")", celda(h, 3, 1)["v"].toString().toStdString());
    EXPECT_DOUBLE_EQ(1234567.891, celda(h, 3, 2)["v"].toDouble());
    for (const auto& fila : filas) {
        for (const auto& c : fila.toArray())
            EXPECT_NE("f", c.toObject()["t"].toString().toStdString());
    }
    // Widths fit the longest value ("=HYPERLINK(...)", "1.234.567,89").
    const QJsonObject anchos = h["anchos"].toObject();
    EXPECT_GE(anchos["B"].toDouble(), 22);
    EXPECT_GE(anchos["C"].toDouble(), 12);
    EXPECT_LE(anchos["C"].toDouble(), 20);
    EXPECT_GE(anchos["E"].toDouble(), 19);
}

TEST_F(EscritorXlsxTest, PasadoElLimiteSigueEnOtraHojaSinPerderFilas) {
    const auto rep = preparar();
    QTemporaryDir dir;
    const QString ruta = dir.filePath("largo.xlsx");
    EscritorXlsx::Opciones o;
    o.filasPorHoja = 3; // header and two rows
    ASSERT_EQ(7, EscritorXlsx::escribirArchivo(*rep, filasGeneradas(7), ruta, o));
    const auto libro = LectorXlsx::leer(ruta);
    ASSERT_TRUE(libro);
    ASSERT_EQ(4, libro->size());
    QList<int> ids;
    for (int i = 0; i < libro->size(); ++i) {
        const QJsonObject h = libro->at(i).toObject();
        EXPECT_EQ(QStringLiteral("Hoja%1").arg(i + 1), h["nombre"].toString());
        EXPECT_EQ("A2", h["congelada"].toString().toStdString());
        const QJsonArray filas = h["filas"].toArray();
        EXPECT_EQ(i < 3 ? 3 : 2, filas.size());
        EXPECT_EQ("Id", celda(h, 0, 0)["v"].toString().toStdString());
        EXPECT_EQ(QStringLiteral("A1:E%1").arg(filas.size()), h["filtro"].toString());
        for (int f = 1; f < filas.size(); ++f)
            ids << celda(h, f, 0)["v"].toInt();
    }
    EXPECT_EQ(QList<int>({1, 2, 3, 4, 5, 6, 7}), ids);

    // Without rows: the header alone.
    ASSERT_EQ(0, EscritorXlsx::escribirArchivo(*rep, filasGeneradas(0), ruta));
    const auto vacio = LectorXlsx::leer(ruta);
    ASSERT_TRUE(vacio);
    EXPECT_EQ(1, vacio->at(0).toObject()["filas"].toArray().size());
}

TEST(EscritorXlsx, FalloOCancelacionDejanElArchivoAnterior) {
    prueba::BaseDePrueba base;
    const QString ruta = base.dir.filePath("salida.xlsx");
    {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("anterior");
    }
    const auto contenido = [&] {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    SolicitudReporte mala;
    mala.orden = {QStringLiteral("+{V_MA_ARTICULOS.NOEXISTE}")};
    EXPECT_ANY_THROW(EscritorXlsx::escribirArchivo(*preparar(mala), base.fuente(), ruta));
    EXPECT_EQ("anterior", contenido().toStdString());

    EscritorXlsx::Opciones o;
    qint64 avisos = 0;
    o.continuar = [&](qint64) { return ++avisos < 2; };
    EXPECT_THROW(EscritorXlsx::escribirArchivo(*preparar(), filasGeneradas(20000), ruta, o),
                 ErrorMotor);
    EXPECT_EQ(2, avisos);
    EXPECT_EQ("anterior", contenido().toStdString());
    EXPECT_EQ(1, QDir(base.dir.path()).entryList({"*.xlsx*"}, QDir::Files).size());

    // The workbook is built on a thread of its own: a failure there (the file
    // cannot be written when the workbook closes) reaches the caller as an
    // error, after every row was read, and nothing is left behind.
    const auto rep = preparar();
    auto filas = rep->abrir(filasGeneradas(3000));
    EXPECT_THROW(EscritorXlsx::escribir(*rep, *filas, base.dir.filePath("no/hay/x.xlsx")),
                 ErrorMotor);
    EXPECT_FALSE(QFileInfo::exists(base.dir.filePath("no")));

    // A target in a folder that does not exist fails before the report runs.
    EXPECT_THROW(EscritorXlsx::escribirArchivo(*preparar(), filasGeneradas(1),
                                               base.dir.filePath("no/hay/salida.xlsx")),
                 ErrorMotor);
}
