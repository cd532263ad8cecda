// Search over laid-out pages while the layout goes on.
#include "report/engine/BuscadorPaginas.h"
#include "report/engine/ContextoReporte.h"

#include <gtest/gtest.h>

using namespace rp::motor;

namespace {

PaginaReporte pagina(int numero, const QStringList& textos) {
    PaginaReporte p;
    p.numero = numero;
    ElementoPagina linea;
    linea.tipo = ElementoPagina::Linea;
    p.elementos << linea;
    for (const QString& t : textos) {
        ElementoPagina e;
        e.texto = t;
        p.elementos << e;
    }
    return p;
}

} // namespace

TEST(BuscadorPaginas, SoloPaginasTerminadasYVueltaAlCompletar) {
    QList<PaginaReporte> paginas{pagina(1, {"Tornillo", "tuerca"}), pagina(2, {"x"}),
                                 pagina(3, {"TORNILLO largo"})};
    BuscadorPaginas b;
    b.comenzar(QStringLiteral("tornillo"));
    EXPECT_TRUE(b.activa());
    // Two pages are final, the third still open: not looked at yet.
    EXPECT_TRUE(b.avanzar(paginas, 2, false, 1));
    EXPECT_EQ(1, b.paginasRevisadas());
    EXPECT_EQ(0, b.actual());
    EXPECT_EQ("1 de 1+", b.etiqueta().toStdString());
    EXPECT_TRUE(b.avanzar(paginas, 2, false));
    EXPECT_EQ(2, b.paginasRevisadas());
    // Past the last hit found so far there is nowhere to go yet.
    EXPECT_FALSE(b.siguiente());
    EXPECT_FALSE(b.anterior());
    EXPECT_EQ(0, b.actual());
    // The layout ends: the last page is looked through and the hits go round.
    EXPECT_FALSE(b.avanzar(paginas, 2, true));
    EXPECT_TRUE(b.completa());
    ASSERT_EQ(2, b.coincidencias().size());
    EXPECT_EQ((BuscadorPaginas::Coincidencia{2, 1}), b.coincidencias().at(1));
    EXPECT_TRUE(b.siguiente());
    EXPECT_EQ("2 de 2", b.etiqueta().toStdString());
    EXPECT_TRUE(b.siguiente());
    EXPECT_EQ(0, b.actual());
    EXPECT_TRUE(b.anterior());
    EXPECT_EQ(1, b.actual());
    EXPECT_EQ(QList<int>{1}, b.elementosDe(0));
    EXPECT_TRUE(b.elementosDe(1).isEmpty());
}

TEST(BuscadorPaginas, MarcaDelTotalVaciosYCancelacion) {
    const QString pie = QStringLiteral("Página 1 de ") + ContextoReporte::marcaTotalPaginas();
    QList<PaginaReporte> paginas{pagina(1, {pie}), pagina(2, {"de1"})};
    BuscadorPaginas b;
    // The mark is not text: "de " + mark does not match "de1"-like searches.
    b.comenzar(QStringLiteral("de ") + ContextoReporte::marcaTotalPaginas());
    b.avanzar(paginas, 2, true);
    EXPECT_TRUE(b.coincidencias().isEmpty());
    b.comenzar(QStringLiteral("1 de"));
    b.avanzar(paginas, 2, true);
    EXPECT_EQ(1, b.coincidencias().size());

    b.comenzar(QStringLiteral("   "));
    EXPECT_FALSE(b.activa());
    EXPECT_FALSE(b.avanzar(paginas, 2, true));
    EXPECT_EQ("0 de 0", b.etiqueta().toStdString());

    b.comenzar(QStringLiteral("de1"));
    b.cancelar();
    EXPECT_TRUE(b.cancelada());
    EXPECT_FALSE(b.avanzar(paginas, 2, true));
    EXPECT_EQ(0, b.paginasRevisadas());
    EXPECT_FALSE(b.completa());
}
