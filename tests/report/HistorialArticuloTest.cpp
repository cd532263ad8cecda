// The drill-down's history of one article, and its chart series, against an
// independent query on the demo database.
#include "report/HistorialArticulo.h"

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

} // namespace
