// The drill-down's history of one article, and its chart series, against an
// independent query on the demo database.
#include "report/HistorialArticulo.h"

#include "report/DetalleArticulo.h"

#include "ReporteDemoPrueba.h"

namespace {

using rp::report::HistorialArticulo;

class Historial : public rp::report::test::ReporteDemoPrueba {};

TEST_F(Historial, EveryChangeOfTheArticleAcrossListsOldestFirst) {
    const QString codigo =
        valor("SELECT TRIM(IDARTICULO) FROM V_MV_PRECIOSHIS GROUP BY IDARTICULO HAVING "
              "COUNT(DISTINCT IDLISTA) > 1 ORDER BY IDARTICULO LIMIT 1")
            .toString();
    ASSERT_FALSE(codigo.isEmpty());
    // Typed as the page shows it, or with the stored padding: the same rows.
    const auto cambios = HistorialArticulo::leer(db, codigo);
    EXPECT_EQ(HistorialArticulo::leer(db, "   " + codigo + " ").size(), cambios.size());

    auto c = db.conexion().execute(
        QStringLiteral("SELECT TRIM(H.IDLISTA), H.FECHAHORA, H.USUARIO, H.COSTO, H.PRECIO3, "
                       "C.NOMBRE FROM V_MV_PRECIOSHIS H LEFT JOIN V_MA_PRECIOSCAB C ON C.IDLISTA "
                       "= H.IDLISTA WHERE TRIM(H.IDARTICULO) = ? ORDER BY H.FECHAHORA, H.IDLISTA"),
        nullptr, {codigo});
    int i = 0;
    while (c && c->fetch()) {
        ASSERT_LT(i, cambios.size());
        const HistorialArticulo::Cambio& h = cambios[i++];
        EXPECT_EQ(h.lista, c->value(0).toString());
        EXPECT_EQ(h.fecha.toString(Qt::ISODate),
                  QDateTime::fromString(c->value(1).toString(), Qt::ISODate).toString(Qt::ISODate));
        EXPECT_EQ(h.usuario, c->value(2).toString().trimmed());
        EXPECT_DOUBLE_EQ(h.valores[0], c->value(3).toDouble());
        EXPECT_DOUBLE_EQ(h.valores[3], c->value(4).toDouble());
        EXPECT_EQ(h.nombreLista, c->value(5).toString().trimmed());
    }
    EXPECT_EQ(i, cambios.size());

    // The chart: one line per list, each point a change of that list, in order.
    const auto series = HistorialArticulo::series(cambios, 3);
    EXPECT_GT(series.size(), 1);
    qsizetype puntos = 0;
    for (auto it = series.cbegin(); it != series.cend(); ++it) {
        const auto filas = valor(QStringLiteral("SELECT COUNT(*) FROM V_MV_PRECIOSHIS WHERE "
                                                "TRIM(IDARTICULO) = ? AND TRIM(IDLISTA) = ?"),
                                 {codigo, it.key()})
                               .toInt();
        EXPECT_EQ(it.value().size(), filas) << it.key().toStdString();
        for (qsizetype p = 1; p < it.value().size(); ++p)
            EXPECT_LE(it.value()[p - 1].fecha, it.value()[p].fecha);
        puntos += it.value().size();
    }
    EXPECT_EQ(puntos, cambios.size());
    EXPECT_TRUE(HistorialArticulo::series(cambios, 9).isEmpty());
    EXPECT_TRUE(HistorialArticulo::leer(db, "no existe").isEmpty());
}

// The chart's line holds each price until its next change, and a hover
// finds the change nearest in time.
TEST(HistorialGrafico, TrazoEnEscalonesYPuntoMasCercano) {
    const QDateTime t0(QDate(2024, 1, 10), QTime(9, 0));
    const QList<HistorialArticulo::Punto> serie = {
        {t0, 10, "ana"}, {t0.addDays(5), 12.5, "luis"}, {t0.addDays(9), 11, "ana"}};
    const QList<QPointF> trazo = HistorialArticulo::trazo(serie);
    ASSERT_EQ(trazo.size(), 5);
    const double x1 = static_cast<double>(t0.addDays(5).toMSecsSinceEpoch());
    EXPECT_EQ(trazo[1], QPointF(x1, 10)); // the old price up to the change
    EXPECT_EQ(trazo[2], QPointF(x1, 12.5));
    EXPECT_EQ(trazo[4].y(), 11);
    EXPECT_TRUE(HistorialArticulo::trazo({}).isEmpty());

    EXPECT_EQ(HistorialArticulo::puntoCercano(serie, t0.addDays(6))->usuario, "luis");
    EXPECT_EQ(HistorialArticulo::puntoCercano(serie, t0.addYears(-1))->valor, 10);
    EXPECT_EQ(HistorialArticulo::puntoCercano({}, t0), nullptr);
    const QString texto = HistorialArticulo::textoPunto("2", serie[1]);
    EXPECT_TRUE(texto.startsWith("Lista 2\n")) << texto.toStdString();
    EXPECT_TRUE(texto.contains("luis"));
    EXPECT_TRUE(texto.contains(t0.addDays(5).toString("yyyy")));
}

// The drill-down's request: the article as a bound-safe literal in the
// selection, every value column, the configuration's captions.
TEST(HistorialGrafico, SolicitudDelDetalle) {
    const auto cfg = [](const QString& clave) {
        if (clave == "NOMBRE")
            return QStringLiteral("O'Brien SA");
        return clave == "NOM_PCLASE2" ? QStringLiteral("Mayorista") : QStringLiteral(" ");
    };
    const auto s = rp::report::DetalleArticulo::solicitud(" A'1 ", "/p/RP.rpt", cfg, 2);
    EXPECT_EQ(s.plantilla, "/p/RP.rpt");
    EXPECT_TRUE(s.formula.contains("'") && s.formula.contains("A''1")) << s.formula.toStdString();
    EXPECT_FALSE(s.formula.contains(" A'1")) << s.formula.toStdString();
    EXPECT_EQ(*s.formulas[0], "Nombreempresa = 'O''Brien SA'");
    EXPECT_EQ(*s.formulas[4], "OcultarColumnas = '1 - 3 - 4 - 5 - 6 - 7 - 8 - 9 - '");
    EXPECT_TRUE(
        s.textosPrecio.contains("OcultarVariacion = 'v1 - v3 - v4 - v5 - v6 - v7 - v8 - '"));
    EXPECT_TRUE(s.textosPrecio.contains("Precio2='Mayorista'"));
    EXPECT_TRUE(s.textosPrecio.contains("Precio1='Precio 1'"));
    EXPECT_EQ(rp::report::DetalleArticulo::titulosClase(cfg).value(0), "Costo");
}

} // namespace
