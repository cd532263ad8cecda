#include "report/ExportarReporte.h"

#include "ReporteDemoPrueba.h"
#include "engine/LectorXlsx.h"
#include "suite/Utilidades.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

using rp::report::ExportarReporte;
using rp::suite::Utilidades;
using Campos = QList<QPair<QString, QString>>;

class ExportarReporteTest : public rp::report::test::ReporteDemoPrueba {
protected:
    QList<QStringList> exportar(int tab, const Campos& campos, const QString& nombre = "r.csv",
                                std::optional<QList<int>> columnas = std::nullopt) {
        const QString ruta = carpeta + nombre;
        EXPECT_EQ(ExportarReporte(ruta, tab, campos, columnas, std::nullopt, std::nullopt), 0);
        return leerCsv(ruta);
    }
    static QStringList primera(const QList<QStringList>& filas) {
        QStringList r;
        for (qsizetype i = 1; i < filas.size(); ++i)
            r << filas[i].value(0).trimmed();
        return r;
    }
};

TEST_F(ExportarReporteTest, HistorialDeUnaListaYUnRangoDeArticulos) {
    const QString desde = Utilidades::FormatoCodigo(QStringLiteral("10"), 25);
    const QString hasta = Utilidades::FormatoCodigo(QStringLiteral("60"), 25);
    const QList<QStringList> filas = exportar(0, {{"ListaDesde", "2"},
                                                  {"ListaHasta", "2"},
                                                  {"ArticuloDesde", "10"},
                                                  {"ArticuloHasta", "60"}});
    ASSERT_FALSE(filas.isEmpty());
    const QStringList esperados =
        columna(QStringLiteral("SELECT IDARTICULO FROM V_MV_PRECIOSHIS WHERE IDLISTA = '2' AND "
                               "IDARTICULO >= ? AND IDARTICULO <= ? ORDER BY IDARTICULO, ID"),
                {desde, hasta});
    ASSERT_FALSE(esperados.isEmpty());
    EXPECT_EQ(primera(filas), esperados);
    // Only "Costo" is shown of the price columns.
    EXPECT_TRUE(filas[0].contains(QStringLiteral("Costo")) || filas[0].size() < 12)
        << filas[0].join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
}

TEST_F(ExportarReporteTest, HistorialConFechasIncluyeElDiaHasta) {
    const QDateTime ultima =
        valor(QStringLiteral("SELECT MAX(FECHAHORA) FROM V_MV_PRECIOSHIS")).toDateTime();
    ASSERT_TRUE(ultima.isValid());
    const QDate dia = ultima.date();
    const QString texto = dia.toString(QStringLiteral("dd/MM/yyyy"));
    const QList<QStringList> filas = exportar(0, {{"FechaDesde", texto}, {"FechaHasta", texto}});
    const qint64 esperadas =
        valor(QStringLiteral("SELECT COUNT(*) FROM V_MV_PRECIOSHIS WHERE FECHAHORA >= ? AND "
                             "FECHAHORA < ?"),
              {QDateTime(dia, QTime(0, 0)), QDateTime(dia.addDays(1), QTime(0, 0))})
            .toLongLong();
    ASSERT_GT(esperadas, 0);
    EXPECT_EQ(filas.size() - 1, esperadas);
}

TEST_F(ExportarReporteTest, UltimoCambioSegunFechaDelProcedimiento) {
    const QDateTime ultima =
        valor(QStringLiteral("SELECT MAX(FECHAHORA) FROM V_MV_PRECIOSHIS")).toDateTime();
    const QDate dia = ultima.date().addDays(-30);
    const QList<QStringList> filas =
        exportar(1, {{"Lista", "1"}, {"Fecha", dia.toString(QStringLiteral("dd/MM/yyyy"))}});
    const QStringList esperados = columna(
        QStringLiteral("SELECT DISTINCT IDARTICULO FROM V_MV_PRECIOSHIS WHERE IDLISTA = '1' AND "
                       "FECHAHORA < ? ORDER BY IDARTICULO"),
        {QDateTime(dia.addDays(1), QTime(0, 0))});
    ASSERT_FALSE(esperados.isEmpty());
    EXPECT_EQ(primera(filas), esperados);
}

TEST_F(ExportarReporteTest, UltimoCostoActualizaYListaLosArticulos) {
    const QString hasta = Utilidades::FormatoCodigo(QStringLiteral("40"), 25);
    const QList<QStringList> filas = exportar(2, {{"ListaC", "1"}, {"ArtHastaC", "40"}});
    EXPECT_EQ(primera(filas),
              columna(QStringLiteral("SELECT IDARTICULO FROM V_MA_ARTICULOS WHERE IDARTICULO <= ? "
                                     "ORDER BY IDARTICULO"),
                      {hasta}));
    // No article in range has a cost change in list 1 more than 10 seconds
    // after its stored date, and every one with such a change has a date.
    const QStringList articulos = columna(
        QStringLiteral("SELECT IDARTICULO FROM V_MA_ARTICULOS WHERE IDARTICULO <= ?"), {hasta});
    int conFecha = 0;
    for (const QString& a : articulos) {
        const QString codigo = Utilidades::FormatoCodigo(a, 25);
        const QVariant ultimo = valor(
            QStringLiteral("SELECT MAX(FECHAHORA) FROM V_MV_PRECIOSHIS WHERE IDARTICULO = ? AND "
                           "IDLISTA = '1' AND COSTO > 0"),
            {codigo});
        const QVariant guardada =
            valor(QStringLiteral("SELECT FHULTIMOCOSTO FROM V_MA_ARTICULOS WHERE IDARTICULO = ?"),
                  {codigo});
        if (ultimo.isNull())
            continue;
        ++conFecha;
        ASSERT_FALSE(guardada.isNull()) << a.toStdString();
        EXPECT_LE(guardada.toDateTime().msecsTo(ultimo.toDateTime()), 10000) << a.toStdString();
    }
    EXPECT_GT(conFecha, 0);
}

TEST_F(ExportarReporteTest, OpcionesIncorrectasYRangosRechazados) {
    EXPECT_EQ(ExportarReporte(carpeta + "x.txt", 0, {}, std::nullopt, std::nullopt, std::nullopt),
              2);
    EXPECT_EQ(ExportarReporte(carpeta + "x.csv", 3, {}, std::nullopt, std::nullopt, std::nullopt),
              2);
    EXPECT_EQ(ExportarReporte(carpeta + "x.csv", 0, {{"NoExiste", "1"}}, std::nullopt, std::nullopt,
                              std::nullopt),
              2);
    EXPECT_EQ(ExportarReporte(carpeta + "x.csv", 0, {}, QList<int>{10}, std::nullopt, std::nullopt),
              2);
    op.responderMensaje(rp::ui::vbOK);
    EXPECT_EQ(ExportarReporte(carpeta + "x.csv", 0, {{"RubroDesde", "B"}, {"RubroHasta", "a"}},
                              std::nullopt, std::nullopt, std::nullopt),
              1);
    EXPECT_FALSE(QFile::exists(carpeta + "x.csv"));
}

// The target is replaced in one step when the new report is whole: no other
// file is left in the folder, and a failed run keeps the old report.
TEST_F(ExportarReporteTest, ElDestinoSeReemplazaEnteroONoSeToca) {
    const QString ruta = carpeta + "salida.csv";
    auto escribir = [&ruta](const QByteArray& texto) {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto);
    };
    auto leer = [&ruta]() {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QStringList antes = QDir(carpeta).entryList(QDir::Files | QDir::Hidden);
    escribir("viejo\r\n");
    op.responderMensaje(rp::ui::vbOK);
    EXPECT_EQ(ExportarReporte(ruta, 0, {{"RubroDesde", "B"}, {"RubroHasta", "a"}}, std::nullopt,
                              std::nullopt, std::nullopt),
              1);
    EXPECT_EQ(leer(), QByteArray("viejo\r\n"));
    EXPECT_EQ(ExportarReporte(ruta, 0, {{"ListaDesde", "1"}, {"ListaHasta", "1"}}, std::nullopt,
                              std::nullopt, std::nullopt),
              0);
    EXPECT_NE(leer(), QByteArray("viejo\r\n"));
    EXPECT_FALSE(leer().isEmpty());
    QStringList despues = QDir(carpeta).entryList(QDir::Files | QDir::Hidden);
    despues.removeAll(QStringLiteral("salida.csv"));
    for (const QString& f : despues)
        EXPECT_TRUE(antes.contains(f) || f.startsWith(QStringLiteral("KSERR")) ||
                    f.endsWith(QStringLiteral("-wal")) || f.endsWith(QStringLiteral("-shm")))
            << f.toStdString();
    EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
}

// Every tab's report to Excel: the same rows and values as its CSV, numbers as
// numeric cells, no text with padding blanks in either file.
TEST_F(ExportarReporteTest, CadaPestanaAExcelConLasFilasDelCsv) {
    if (!rp::motor::prueba::LectorXlsx::disponible())
        GTEST_SKIP() << "python3-openpyxl is not installed";
    const QString hoy = QDate::currentDate().addDays(1).toString(QStringLiteral("dd/MM/yyyy"));
    const QList<Campos> campos{{{"ListaDesde", "1"}, {"ListaHasta", "1"}},
                               {{"Lista", "1"}, {"Fecha", hoy}},
                               {{"ListaC", "1"}, {"ArtHastaC", "40"}}};
    for (int tab = 0; tab < 3; ++tab) {
        SCOPED_TRACE(tab);
        const Campos& lista = campos.at(tab);
        const QList<QStringList> csv = exportar(tab, lista, QStringLiteral("t.csv"));
        const QString ruta = carpeta + QStringLiteral("t.xlsx");
        ASSERT_EQ(ExportarReporte(ruta, tab, lista, std::nullopt, std::nullopt, std::nullopt), 0);
        const auto libro = rp::motor::prueba::LectorXlsx::leer(ruta);
        ASSERT_TRUE(libro);
        ASSERT_EQ(libro->size(), 1);
        const QJsonArray filas = libro->at(0).toObject()["filas"].toArray();
        ASSERT_EQ(filas.size(), csv.size());
        ASSERT_GT(filas.size(), 1);
        int numeros = 0;
        for (qsizetype f = 0; f < filas.size(); ++f) {
            const QJsonArray celdas = filas.at(f).toArray();
            ASSERT_EQ(celdas.size(), csv.at(f).size());
            for (qsizetype c = 0; c < celdas.size(); ++c) {
                const QJsonObject celda = celdas.at(c).toObject();
                const QString t = celda["t"].toString();
                EXPECT_NE(t, QStringLiteral("f"));
                if (t == QStringLiteral("s")) {
                    const QString v = celda["v"].toString();
                    EXPECT_EQ(v, v.trimmed()) << f << "," << c;
                    EXPECT_EQ(v, csv.at(f).at(c)) << f << "," << c;
                } else if (t == QStringLiteral("n")) {
                    ++numeros;
                    EXPECT_NEAR(celda["v"].toDouble(), csv.at(f).at(c).toDouble(), 0.005)
                        << f << "," << c;
                }
            }
        }
        EXPECT_GT(numeros, 0);
    }
    EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
}

} // namespace
