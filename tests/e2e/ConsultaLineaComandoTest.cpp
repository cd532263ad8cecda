// `--lookup TAG [--lookup-search TEXT]` of the built program: the rows the
// field lookup of TAG would show, as CSV, against independent queries of the
// demo database.
#include "ProgramaPrueba.h"

#include "../report/ReporteDemoPrueba.h"
#include "db/provider/Connection.h"
#include "db/provider/SqliteProvider.h"

#include <QProcess>
#include <algorithm>

namespace {

using rp::e2e::ProgramaPrueba;

// The CSV reader of the report tests.
struct Csv : rp::report::test::ReporteDemoPrueba {
    using ReporteDemoPrueba::leerCsv;
};

class ConsultaLineaComando : public ProgramaPrueba {
protected:
    // The program's output for `--lookup` with `extra`; header first.
    QList<QStringList> consultar(const QStringList& extra) {
        const QString salida = dir.filePath(QStringLiteral("consulta.csv"));
        QProcess p;
        p.setStandardOutputFile(salida);
        p.start(QStringLiteral(RP_BINARY_DIR "/src/app/rp_tarifario"),
                QStringList{QStringLiteral("--demo"), QStringLiteral("--program-folder"), carpeta,
                            QStringLiteral("--batch")} +
                    extra);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return Csv::leerCsv(salida);
    }
    // Rows of an independent query, every value as text, trimmed.
    QList<QStringList> filas(const QString& sql) {
        rp::db::Connection cnn;
        cnn.openWith(std::make_unique<rp::db::SqliteProvider>(), carpeta + "EMPRESA_DEMO.db");
        QList<QStringList> r;
        auto c = cnn.execute(sql);
        while (c && c->fetch()) {
            QStringList fila;
            for (int i = 0; i < c->fields().size(); ++i)
                fila << c->value(i).toString().trimmed();
            r << fila;
        }
        return r;
    }
    static QList<QStringList> ordenadas(QList<QStringList> f) {
        for (QStringList& fila : f) {
            for (QString& v : fila)
                v = v.trimmed();
        }
        std::sort(f.begin(), f.end());
        return f;
    }
};

TEST_F(ConsultaLineaComando, MismasFilasQueUnaConsultaIndependiente) {
    struct Caso {
        QString etiqueta;
        QString sql; // every row the lookup may show, in its columns
        QStringList encabezado;
    };
    const QList<Caso> casos = {
        {"vt_proveedores",
         "SELECT RAZON_SOCIAL, CODIGO FROM MA_CUENTAS WHERE TIPO = 'P' AND Dada_De_Baja = 0",
         {"RAZON_SOCIAL", "CODIGO"}},
        {"V_MA_PRECIOS",
         "SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB",
         {"IDLISTA", "NOMBRE"}},
        {"USUARIO",
         "SELECT NOMBRE, NOMBRECOMPLETO, ADMINISTRADOR, UNEGOCIO, VERPROFORMA FROM TA_USUARIOS",
         {"NOMBRE", "NOMBRECOMPLETO", "ADMINISTRADOR", "UNEGOCIO", "VERPROFORMA"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.etiqueta.toStdString());
        QList<QStringList> salida = consultar({QStringLiteral("--lookup"), c.etiqueta});
        ASSERT_FALSE(salida.isEmpty());
        EXPECT_EQ(salida.takeFirst(), c.encabezado);
        EXPECT_EQ(ordenadas(salida), ordenadas(filas(c.sql)));
    }
}

// Articles: bounded by "TopConsArt" (1000 by default), in description order,
// every row an article that is not suspended.
TEST_F(ConsultaLineaComando, ArticulosAcotadosYOrdenados) {
    QList<QStringList> salida = consultar({QStringLiteral("--lookup"), "v_ma_articulos"});
    ASSERT_FALSE(salida.isEmpty());
    EXPECT_EQ(salida.takeFirst(), (QStringList{"DESCRIPCION", "IDARTICULO"}));
    const QList<QStringList> todas = ordenadas(
        filas("SELECT DESCRIPCION, IDARTICULO FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0"));
    EXPECT_EQ(salida.size(), std::min<qsizetype>(1000, todas.size()));
    for (const QStringList& fila : ordenadas(salida))
        EXPECT_TRUE(std::binary_search(todas.begin(), todas.end(), fila))
            << fila.join('|').toStdString();
    // In the database's order of descriptions (ties may come either way).
    QStringList descripciones;
    for (const QStringList& fila : salida)
        descripciones << fila.value(0);
    QStringList esperadas;
    for (const QStringList& fila : filas("SELECT DESCRIPCION FROM VT_MA_ARTICULOS WHERE "
                                         "SUSPENDIDO = 0 ORDER BY DESCRIPCION LIMIT 1000"))
        esperadas << fila.value(0);
    EXPECT_EQ(descripciones, esperadas);
}

// A search with an apostrophe finds the supplier as typed, and never breaks
// the statement.
TEST_F(ConsultaLineaComando, BusquedaConApostrofe) {
    valor(QStringLiteral("SELECT 1")); // the database file is there
    {
        rp::db::Connection cnn;
        cnn.openWith(std::make_unique<rp::db::SqliteProvider>(), carpeta + "EMPRESA_DEMO.db");
        cnn.execute(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO, RAZON_SOCIAL, TIPO) VALUES "
                                   "('29999', 'O''Brien Hnos.', 'P')"));
    }
    QList<QStringList> salida = consultar(
        {QStringLiteral("--lookup"), "vt_proveedores", QStringLiteral("--lookup-search"), "O'B"});
    ASSERT_FALSE(salida.isEmpty());
    salida.takeFirst();
    EXPECT_EQ(salida, (QList<QStringList>{{"O'Brien Hnos.", "29999"}}));
}

} // namespace
