// From a line of a report's preview to that article's history: Enter or a
// double click opens it over the preview with its chart, Esc goes back.
#include "ProgramaPrueba.h"

#include "report/HistorialArticulo.h"
#include "report/engine/widgets/VistaPagina.h"
#include "report/widgets/VentanaDetalleArticulo.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineSeries>
#include <QProcess>
#include <QTest>
#include <QtCharts/QChart>

namespace {

using rp::e2e::ProgramaPrueba;
using rp::report::VentanaDetalleArticulo;

class DetalleArticulo : public ProgramaPrueba {
protected:
    VentanaDetalleArticulo* detalle() const {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<VentanaDetalleArticulo*>(w); d && d->isVisible())
                return d;
        }
        return nullptr;
    }
    VentanaDetalleArticulo* esperarDetalle() {
        (void)QTest::qWaitFor([this] { return detalle() != nullptr; }, 10000);
        VentanaDetalleArticulo* d = detalle();
        if (d) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
            d->previa().terminarAhora();
            (void)QTest::qWaitFor([d] { return d->previa().terminado(); }, 30000);
        }
        return d;
    }
    // The article's history rows, counted on the database.
    int cambiosEnLaBase(const QString& codigo, const QString& extra = QString()) const {
        return valor(QStringLiteral("SELECT COUNT(%1) FROM V_MV_PRECIOSHIS WHERE "
                                    "TRIM(IDARTICULO) = '%2'")
                         .arg(extra.isEmpty() ? QStringLiteral("*") : extra, codigo))
            .toInt();
    }
    static int filas(const rp::motor::VentanaVistaPrevia& v) {
        int n = 0;
        for (const auto& p : v.todasLasPaginas())
            n += p.filas;
        return n;
    }
};

TEST_F(DetalleArticulo, EnterAbreElHistorialConSuGraficoYEscVuelve) {
    arrancar();
    teclear(QStringLiteral("ListaDesde"), QStringLiteral("2"));
    teclear(QStringLiteral("ListaHasta"), QStringLiteral("2"));
    tecla(Qt::Key_F5);
    rp::motor::VentanaVistaPrevia* previa = esperarPrevia();
    ASSERT_NE(previa, nullptr);
    ASSERT_NE(previa->pagina(1), nullptr);
    const rp::motor::PaginaReporte pagina = *previa->pagina(1);
    ASSERT_GT(pagina.lineas.size(), 3);

    // Down selects the first line, two more Downs the third; Enter opens it.
    rp::motor::VistaPagina& vista = previa->vista();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&vista, Qt::Key_Down);
    EXPECT_EQ(vista.seleccion(), 2);
    QTest::keyClick(&vista, Qt::Key_Return);
    VentanaDetalleArticulo* d = esperarDetalle();
    ASSERT_NE(d, nullptr);
    const QString codigo = pagina.lineas.at(2).clave.trimmed();
    EXPECT_EQ(d->codigo(), codigo);

    // Every list's changes of that article, as the database has them.
    EXPECT_EQ(filas(d->previa()), cambiosEnLaBase(codigo));
    EXPECT_EQ(d->cambios().size(), cambiosEnLaBase(codigo));
    const int listas = cambiosEnLaBase(codigo, QStringLiteral("DISTINCT IDLISTA"));
    EXPECT_GT(listas, 1);
    // One line per list in the chart, of the class chosen.
    EXPECT_EQ(d->grafico()->series().size(), listas);
    d->findChild<QComboBox*>(QStringLiteral("Clase"))->setCurrentIndex(0);
    EXPECT_EQ(d->clase(), 0);
    EXPECT_EQ(d->grafico()->series().size(), listas);
    EXPECT_TRUE(d->grafico()->title().startsWith(QStringLiteral("Costo")));
    // The report below follows the class, in the same window.
    EXPECT_FALSE(d->previa().isWindow());
    EXPECT_TRUE(QTest::qWaitFor([d] { return d->previa().paginasListas() > 0; }, 10000));

    // Its PDF: the chart on a page of its own, then the report's pages.
    const QString pdf = dir.filePath(QStringLiteral("detalle.pdf"));
    guion.responderArchivo(pdf);
    d->previa().findChild<QAction*>(QStringLiteral("exportarPdf"))->trigger();
    EXPECT_EQ(paginasPdf(pdf), d->previa().paginasListas() + 1);
    QProcess texto;
    texto.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                 QStringLiteral("1"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(texto.waitForFinished(30000));
    const QString primera = QString::fromUtf8(texto.readAllStandardOutput());
    EXPECT_TRUE(primera.contains(QStringLiteral("Historial del artículo ") + codigo));
    EXPECT_TRUE(primera.contains(QStringLiteral("Costo por lista"))) << primera.toStdString();

    // Esc goes back to the report's preview, still open.
    QTest::keyClick(&d->previa(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([this] { return detalle() == nullptr; }, 5000));
    EXPECT_EQ(previas().size(), 1);
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
    cerrarPrevias();
}

TEST_F(DetalleArticulo, DobleClicEnUnaLineaAbreSuArticulo) {
    arrancar();
    irAPestana(1);
    teclear(QStringLiteral("Lista"), QStringLiteral("1"));
    teclear(QStringLiteral("Fecha"), QStringLiteral("31/12/2024"));
    tecla(Qt::Key_F5);
    rp::motor::VentanaVistaPrevia* previa = esperarPrevia();
    ASSERT_NE(previa, nullptr);
    ASSERT_NE(previa->pagina(1), nullptr);
    const rp::motor::PaginaReporte pagina = *previa->pagina(1);
    ASSERT_GT(pagina.lineas.size(), 5);
    rp::motor::VistaPagina& vista = previa->vista();
    QTest::mouseDClick(&vista, Qt::LeftButton, {}, vista.rectLinea(5).center());
    VentanaDetalleArticulo* d = esperarDetalle();
    ASSERT_NE(d, nullptr);
    const QString codigo = pagina.lineas.at(5).clave.trimmed();
    EXPECT_EQ(d->codigo(), codigo);
    EXPECT_EQ(filas(d->previa()), cambiosEnLaBase(codigo));
    d->close();
    EXPECT_TRUE(QTest::qWaitFor([this] { return detalle() == nullptr; }, 5000));
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
    cerrarPrevias();
}

} // namespace
