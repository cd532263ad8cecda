// The report preview as a person reads it: search with Ctrl+F, the text
// typed, Enter, F3 / Shift+F3 from hit to hit up to the last page, Esc; and
// pages on which no value or title is cut.
#include "ProgramaPrueba.h"

#include "report/engine/ContextoReporte.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/BarraBusqueda.h"
#include "report/engine/widgets/PintorPagina.h"
#include "report/engine/widgets/VistaPagina.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

using rp::e2e::ProgramaPrueba;
using rp::motor::PaginaReporte;

class BusquedaVistaPrevia : public ProgramaPrueba {};

// Every (page, element) whose text holds `texto`, read straight off the pages.
QList<QPair<int, int>> buscarEn(const QList<PaginaReporte>& paginas, const QString& texto) {
    QList<QPair<int, int>> r;
    for (int p = 0; p < paginas.size(); ++p) {
        const auto& elementos = paginas.at(p).elementos;
        for (int e = 0; e < elementos.size(); ++e) {
            if (elementos.at(e).tipo == rp::motor::ElementoPagina::Texto &&
                elementos.at(e).texto.contains(texto, Qt::CaseInsensitive))
                r.append({p, e});
        }
    }
    return r;
}

// The texts of the laid-out pages wider than their boxes, measured with the
// report font as the painter sets it on a 300 dpi page: what it would cut
// even at the smallest size it may set a long text in.
QStringList recortados(const rp::motor::VentanaVistaPrevia& v) {
    const rp::motor::Plantilla& p = v.reporte().plantilla();
    const QList<PaginaReporte> paginas = v.todasLasPaginas();
    const double px = 300 / 25.4;
    QStringList r;
    for (const PaginaReporte& pagina : paginas) {
        for (const auto& e : pagina.elementos) {
            if (e.tipo != rp::motor::ElementoPagina::Texto)
                continue;
            QFont f(p.letra);
            f.setPixelSize(std::max(1, qRound(p.tamanoLetra * e.escala * 0.3528 * px)));
            f.setBold(e.negrita);
            const QString t = rp::motor::ContextoReporte::sustituirTotal(
                e.texto, static_cast<int>(paginas.size()));
            const double ancho = QFontMetricsF(f).horizontalAdvance(t);
            if (ancho * rp::motor::PintorPagina::EscalaMinima > (e.ancho - 1.2) * px)
                r << QStringLiteral("página %1: \"%2\" %3 mm en %4 mm")
                         .arg(pagina.numero)
                         .arg(t)
                         .arg(ancho / px, 0, 'f', 1)
                         .arg(e.ancho - 1.2, 0, 'f', 1);
        }
    }
    return r;
}

} // namespace

// Each tab's report with its default columns: no text wider than its cell,
// the longest descriptions of the report by date included.
TEST_F(BusquedaVistaPrevia, NingunValorNiTituloRecortadoEnLasTresPestanas) {
    arrancar();
    teclear(QStringLiteral("ListaDesde"), QStringLiteral("1"));
    teclear(QStringLiteral("ListaHasta"), QStringLiteral("1"));
    irAPestana(1);
    teclear(QStringLiteral("Lista"), QStringLiteral("1"));
    teclear(QStringLiteral("Fecha"), QStringLiteral("31/12/2024"));
    irAPestana(2);
    teclear(QStringLiteral("ListaC"), QStringLiteral("1"));
    for (int tab = 0; tab < 3; ++tab) {
        SCOPED_TRACE(tab);
        irAPestana(tab);
        tecla(Qt::Key_F5);
        rp::motor::VentanaVistaPrevia* v = esperarPrevia();
        ASSERT_NE(v, nullptr);
        const QStringList cortados = recortados(*v);
        EXPECT_TRUE(cortados.isEmpty()) << cortados.size() << "\n"
                                        << cortados.mid(0, 10).join('\n').toStdString();
        cerrarPrevias();
        ventana().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana()));
    }
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
}

TEST_F(BusquedaVistaPrevia, CtrlFBuscaEnTodasLasPaginasYF3LlegaALaUltima) {
    arrancar();
    teclear(QStringLiteral("ListaDesde"), QStringLiteral("1"));
    teclear(QStringLiteral("ListaHasta"), QStringLiteral("1"));
    tecla(Qt::Key_F5);
    rp::motor::VentanaVistaPrevia* v = esperarPrevia();
    ASSERT_NE(v, nullptr);
    const QList<PaginaReporte> paginas = v->todasLasPaginas();
    const int total = static_cast<int>(paginas.size());
    ASSERT_GT(total, 3);

    // A text of the last page's last detail row (a description, in lower
    // case to show that letter case does not matter), found on few pages.
    QString buscado;
    QList<QPair<int, int>> esperadas;
    for (const auto& e : paginas.last().elementos) {
        const QString t = e.texto.trimmed();
        if (e.tipo != rp::motor::ElementoPagina::Texto || t.size() < 6 ||
            t.contains(rp::motor::ContextoReporte::marcaTotalPaginas()) || t.contains(' ') == false)
            continue;
        const auto hits = buscarEn(paginas, t);
        if (buscado.isEmpty() || hits.size() <= esperadas.size()) {
            buscado = t.toLower();
            esperadas = hits;
        }
    }
    ASSERT_FALSE(buscado.isEmpty());
    ASSERT_EQ(esperadas.last().first, total - 1);

    QTest::keyClick(v, Qt::Key_F, Qt::ControlModifier);
    auto* campo = v->findChild<QLineEdit*>(QStringLiteral("textoBusqueda"));
    ASSERT_NE(campo, nullptr);
    ASSERT_TRUE(campo->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), campo);
    QTest::keyClicks(campo, buscado);
    QTest::keyClick(campo, Qt::Key_Return);
    auto& barra = v->busqueda();
    ASSERT_TRUE(QTest::qWaitFor([&] { return barra.buscador().completa(); }, 10000));
    auto* etiqueta = v->findChild<QLabel*>(QStringLiteral("etiquetaBusqueda"));
    ASSERT_NE(etiqueta, nullptr);
    EXPECT_EQ(QStringLiteral("1 de %1").arg(esperadas.size()), etiqueta->text());
    EXPECT_EQ(esperadas.first().first + 1, v->paginaActual());

    // F3 goes from hit to hit up to the last page, with the hit marked.
    for (int i = 1; i < esperadas.size(); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    EXPECT_EQ(QStringLiteral("%1 de %1").arg(esperadas.size()), etiqueta->text());
    EXPECT_EQ(total, v->paginaActual());
    int actual = -1;
    const QList<int> marcas = barra.marcas(total - 1, &actual);
    EXPECT_EQ(esperadas.last().second, actual);
    EXPECT_TRUE(marcas.contains(actual));
    // Past the last hit, round to the first; Shift+F3 back to the last.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    EXPECT_EQ(esperadas.first().first + 1, v->paginaActual());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(total, v->paginaActual());

    // A text that is nowhere.
    campo->selectAll();
    QTest::keyClicks(campo, QStringLiteral("zzqqxx"));
    QTest::keyClick(campo, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return barra.buscador().completa(); }, 10000));
    EXPECT_EQ(QStringLiteral("0 de 0"), etiqueta->text());

    // Esc closes the bar, a second Esc the window.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(campo->isVisible());
    EXPECT_FALSE(previas().isEmpty());
    QTest::keyClick(v, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([this] { return previas().isEmpty(); }, 5000));
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
}
