#include "report/ArmarFiltro.h"
#include "report/engine/EmisorSql.h"
#include "report/engine/ParserFormula.h"
#include "suite/Regional.h"
#include "suite/Utilidades.h"

#include <gtest/gtest.h>

using rp::report::ArmarFiltro;
using rp::report::FiltroRango;
using rp::report::TablaFiltros;

namespace {

const QString kLista = QStringLiteral("{V_MV_PRECIOSHIS.IdLista}");
const QString kRubro = QStringLiteral("{v_ma_articulos.idrubro}");
const QString kFecha = QStringLiteral("{v_mv_precioshis.fechahora}");
const QString kArticulo = QStringLiteral("{v_ma_articulos.idarticulo}");

FiltroRango rango(const QString& campo, qint16 tipo, const QString& desde, const QString& hasta,
                  bool sinRecorte = false, const QString& op = QString()) {
    FiltroRango r;
    r.CampoReporte = campo;
    r.TipoDato = tipo;
    r.ValorDesde = desde;
    r.ValorHasta = hasta;
    r.SinRecorte = sinRecorte;
    r.Operador = op;
    return r;
}

struct Resultado {
    bool ok;
    QString formula;
    QString mensaje;
};

Resultado armar(const TablaFiltros& t) {
    Resultado r{false, QStringLiteral("<sin tocar>"), QStringLiteral("<sin tocar>")};
    r.ok = ArmarFiltro(t, r.formula, r.mensaje);
    return r;
}

// The formula must parse in the engine's language and have an SQL form.
void compila(const QString& formula) {
    SCOPED_TRACE(formula.toStdString());
    rp::motor::Formula f;
    ASSERT_NO_THROW(f = rp::motor::ParserFormula::analizar(formula));
    const rp::motor::EmisorSql emisor(
        [](const rp::motor::NodoCampo& c) { return c.tabla + QLatin1Char('.') + c.campo; });
    EXPECT_NO_THROW(emisor.emitir(f));
}

class ArmarFiltroTest : public ::testing::Test {
protected:
    void SetUp() override { rp::suite::Regional::establecer(rp::suite::Regional::espaniol()); }
};

TEST_F(ArmarFiltroTest, SinCotasDaFormulaVaciaYNoTocaElMensaje) {
    TablaFiltros t(8);
    const Resultado r = armar(t);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.formula, QString());
    EXPECT_EQ(r.mensaje, QStringLiteral("<sin tocar>"));
}

TEST_F(ArmarFiltroTest, EjemplosDelRangoDeListaYDelRubroConComodin) {
    TablaFiltros t;
    t << rango(kLista, 200, QStringLiteral("1"), QStringLiteral("3"));
    t << rango(kRubro, 129, QString(), QString());
    Resultado r = armar(t);
    ASSERT_TRUE(r.ok);
    const QString lista = QStringLiteral("TrimLeft(TrimRight({V_MV_PRECIOSHIS.IdLista})) >= '1' "
                                         " AND TrimLeft(TrimRight({V_MV_PRECIOSHIS.IdLista})) "
                                         "<= '3' ");
    EXPECT_EQ(r.formula, lista);
    compila(r.formula);

    t[1].ValorDesde = QStringLiteral("A*");
    r = armar(t);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula,
              lista + QStringLiteral(" AND  (TrimLeft(TrimRight({v_ma_articulos.idrubro})) LIKE "
                                     "'A*' )"));
    compila(r.formula);
}

TEST_F(ArmarFiltroTest, ComodinesEnAmbasCotasSeUnenConOr) {
    const QString f = QStringLiteral("TrimLeft(TrimRight({v_ma_articulos.idrubro}))");
    Resultado r = armar({rango(kRubro, 129, QStringLiteral("A*"), QStringLiteral("B*"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula, QStringLiteral(" (") + f + QStringLiteral(" LIKE 'A*'  OR ") + f +
                             QStringLiteral(" LIKE 'B*' )"));
    compila(r.formula);

    r = armar({rango(kRubro, 129, QStringLiteral("A*"), QStringLiteral("C"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula, QStringLiteral(" (") + f + QStringLiteral(" LIKE 'A*'  AND ") + f +
                             QStringLiteral(" <= 'C' )"));

    r = armar({rango(kRubro, 129, QString(), QStringLiteral("B*"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula, f + QStringLiteral(" LIKE 'B*' "));
}

TEST_F(ArmarFiltroTest, SoloLaCotaSuperiorNoEmpiezaConAnd) {
    const Resultado r = armar({rango(kRubro, 129, QString(), QStringLiteral("5"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula, QStringLiteral("TrimLeft(TrimRight({v_ma_articulos.idrubro})) <= '5' "));
}

TEST_F(ArmarFiltroTest, RangosVaciosNoCuentanYLosOperadoresUnenLosDados) {
    TablaFiltros t;
    t << rango(kLista, 200, QString(), QString());
    t << rango(kRubro, 129, QStringLiteral("1"), QString());
    t << rango(QStringLiteral("{v_mv_precioshis.usuario}"), 129, QStringLiteral("ANA"), QString(),
               false, QStringLiteral(" or "));
    const Resultado r = armar(t);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula,
              QStringLiteral("TrimLeft(TrimRight({v_ma_articulos.idrubro})) >= '1'  OR "
                             "TrimLeft(TrimRight({v_mv_precioshis.usuario})) >= 'ANA' "));
    compila(r.formula);
}

TEST_F(ArmarFiltroTest, RechazosConSusMensajesDejanLaFormulaSinTocar) {
    struct Caso {
        FiltroRango r;
        QString mensaje;
    };
    const QList<Caso> casos = {
        {rango(kRubro, 129, QStringLiteral("1"), QString(), false, QStringLiteral("XOR")),
         QStringLiteral("Operador logico incorrecto")},
        {rango(kRubro, 129, QStringLiteral("B"), QStringLiteral("a")),
         QStringLiteral("Desde Mayor que Hasta, Campo : {v_ma_articulos.idrubro}")},
        {rango(kFecha, 7, QStringLiteral("31/12/2023"), QStringLiteral("01/01/2023")),
         QStringLiteral("Fecha Desde Mayor que Hasta , Campo : {v_mv_precioshis.fechahora}")},
        {rango(kFecha, 7, QString(), QStringLiteral("32/13/2023")),
         QStringLiteral("Fecha Desde Incorrecta , Campo : {v_mv_precioshis.fechahora}")},
        {rango(kFecha, 7, QStringLiteral("01/01/2023"), QStringLiteral("30/02/2023")),
         QStringLiteral("Fecha Desde Incorrecta , Campo : {v_mv_precioshis.fechahora}")},
        // A lone lower bound that is no date would leave the comparison empty.
        {rango(kFecha, 7, QStringLiteral("ayer"), QString()),
         QStringLiteral("Fecha Desde Incorrecta , Campo : {v_mv_precioshis.fechahora}")},
        {rango(QStringLiteral("{t.importe}"), 5, QStringLiteral("10"), QStringLiteral("9,5")),
         QStringLiteral("Desde Mayor que Hasta, Campo : {t.importe}")},
        {rango(QStringLiteral("{t.cantidad}"), 20, QStringLiteral("100"), QStringLiteral("20")),
         QStringLiteral("Desde Mayor que Hasta, Campo : {t.cantidad}")},
        {rango(QStringLiteral("{t.cantidad}"), 2, QStringLiteral("1 OR 1=1"), QString()),
         QStringLiteral("Valor Numerico Incorrecto , Campo : {t.cantidad}")},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensaje.toStdString());
        TablaFiltros t;
        t << rango(kLista, 200, QStringLiteral("1"), QStringLiteral("3")) << c.r;
        const Resultado r = armar(t);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.mensaje, c.mensaje);
        EXPECT_EQ(r.formula, QStringLiteral("<sin tocar>"));
    }
}

TEST_F(ArmarFiltroTest, TextosSeComparanSinDistinguirMayusculas) {
    EXPECT_TRUE(armar({rango(kRubro, 129, QStringLiteral("a"), QStringLiteral("B"))}).ok);
    EXPECT_TRUE(armar({rango(kRubro, 129, QStringLiteral("b"), QStringLiteral("B"))}).ok);
    EXPECT_FALSE(armar({rango(kRubro, 129, QStringLiteral("c"), QStringLiteral("B"))}).ok);
}

TEST_F(ArmarFiltroTest, FechasTomanElDiaEntero) {
    Resultado r =
        armar({rango(kFecha, 7, QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula,
              QStringLiteral("{v_mv_precioshis.fechahora} >= DateTime(2024,3,1,0,0,0)  "
                             "AND {v_mv_precioshis.fechahora} < DateTime(2024,4,1,0,0,0) "));
    compila(r.formula);

    // The same day as both bounds is one whole day.
    r = armar({rango(kFecha, 7, QStringLiteral("29/02/2024"), QStringLiteral("29/02/2024"))});
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.formula.contains(QStringLiteral("< DateTime(2024,3,1,0,0,0)")));

    // A time typed with the date is kept.
    r = armar({rango(kFecha, 7, QString(), QStringLiteral("31/03/2024 12:30"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula,
              QStringLiteral("{v_mv_precioshis.fechahora} <= DateTime(2024,3,31,12,30,0) "));

    // Null characters pasted into a date are dropped.
    r = armar({rango(kFecha, 7, QStringLiteral("01/03/2024") + QChar(0), QString())});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula,
              QStringLiteral("{v_mv_precioshis.fechahora} >= DateTime(2024,3,1,0,0,0) "));
}

TEST_F(ArmarFiltroTest, NumerosConYSinTonumber) {
    Resultado r = armar(
        {rango(QStringLiteral("{t.importe}"), 5, QStringLiteral("1,5"), QStringLiteral("20"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula,
              QStringLiteral("tonumber({t.importe}) >= 1.5  AND tonumber({t.importe}) <= 20 "));
    compila(r.formula);

    // Numbers compare as numbers, not as texts: 9 is below 10.
    r = armar(
        {rango(QStringLiteral("{t.cantidad}"), 20, QStringLiteral("9"), QStringLiteral("10"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula, QStringLiteral("{t.cantidad} >= 9  AND {t.cantidad} <= 10 "));
}

TEST_F(ArmarFiltroTest, ArticuloSinFuncionesDeRecorteSobreCodigosDeAncho25) {
    using rp::suite::Utilidades;
    const QString d = Utilidades::FormatoCodigo(QStringLiteral("99"), 25);
    const QString h = Utilidades::FormatoCodigo(QStringLiteral("100"), 25);
    const Resultado r = armar({rango(kArticulo, 129, d, h, true)});
    ASSERT_TRUE(r.ok) << r.mensaje.toStdString();
    EXPECT_EQ(r.formula, QStringLiteral("{v_ma_articulos.idarticulo} >= '") + d +
                             QStringLiteral("'  AND {v_ma_articulos.idarticulo} <= '") + h +
                             QStringLiteral("' "));
    EXPECT_FALSE(r.formula.contains(QStringLiteral("Trim")));
    compila(r.formula);
}

TEST_F(ArmarFiltroTest, ApostrofesTecleadosNoRompenLaFormula) {
    Resultado r = armar({rango(QStringLiteral("{v_ma_precioscab.Nombre}"), 129,
                               QStringLiteral("O'Brien"), QStringLiteral("Z' OR '1'='1"))});
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.formula.contains(QStringLiteral("'O''Brien'")));
    compila(r.formula);
    // The whole upper bound stays one literal.
    const rp::motor::EmisorSql emisor(
        [](const rp::motor::NodoCampo& c) { return c.tabla + QLatin1Char('.') + c.campo; });
    const QString sql = emisor.emitir(rp::motor::ParserFormula::analizar(r.formula));
    EXPECT_TRUE(sql.contains(QStringLiteral("'Z'' OR ''1''=''1'"))) << sql.toStdString();

    r = armar({rango(kRubro, 129, QStringLiteral("D'*"), QString())});
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.formula.contains(QStringLiteral("LIKE 'D''*'")));
    compila(r.formula);
}

} // namespace

// The bounds are compared as dates: "Desde" one day after "Hasta" selects
// nothing and is refused. Dates outside the database's datetime range are
// refused; the last day it holds is taken in whole without a next day.
TEST_F(ArmarFiltroTest, FechasFueraDeRangoODesdeDespuesDeHasta) {
    const QString mayor =
        QStringLiteral("Fecha Desde Mayor que Hasta , Campo : {v_mv_precioshis.fechahora}");
    const QString incorrecta =
        QStringLiteral("Fecha Desde Incorrecta , Campo : {v_mv_precioshis.fechahora}");
    Resultado r =
        armar({rango(kFecha, 7, QStringLiteral("02/01/2024"), QStringLiteral("01/01/2024"))});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.mensaje, mayor);
    r = armar(
        {rango(kFecha, 7, QStringLiteral("01/01/2024 10:00"), QStringLiteral("01/01/2024 09:59"))});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.mensaje, mayor);
    EXPECT_TRUE(
        armar({rango(kFecha, 7, QStringLiteral("01/01/2024 10:00"), QStringLiteral("01/01/2024"))})
            .ok);

    r = armar({rango(kFecha, 7, QStringLiteral("31/12/1752"), QString())});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.mensaje, incorrecta);
    r = armar({rango(kFecha, 7, QStringLiteral("01/01/2024"), QStringLiteral("31/12/9999"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.formula,
              QStringLiteral("{v_mv_precioshis.fechahora} >= DateTime(2024,1,1,0,0,0)  AND "
                             "{v_mv_precioshis.fechahora} <= DateTime(9999,12,31,23,59,59) "));
    compila(r.formula);
}
