#include "startup/Configuracion.h"
#include "InicioPrueba.h"
#include "suite/Aplicacion.h"

namespace {

using namespace rp::startup;
using Prueba = rp::startup::test::InicioPrueba;

TEST_F(Prueba, CfgReadsValueAndAuxiliaryAndABlankForAMissingKey) {
    clave("NOMBRE", "Ferretería O'Higgins", "aux");
    clave("SINAUX", "x");
    QString aux = "previo";
    EXPECT_EQ(Cfg("nombre", aux), "Ferretería O'Higgins");
    EXPECT_EQ(aux, "aux");
    EXPECT_EQ(Cfg("SINAUX", aux), "x");
    EXPECT_EQ(aux, ""); // a null column reads as empty text
    aux = "previo";
    EXPECT_EQ(Cfg("NO_EXISTE", aux), " ");
    EXPECT_EQ(aux, "");
    EXPECT_EQ(Cfg("THEME"), "1");
    // A key typed with an apostrophe cannot break the statement.
    EXPECT_EQ(Cfg("X' OR '1'='1"), " ");
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(Prueba, CfgOnAClosedDatabaseIsEmptyText) {
    db.gOpenFlag = false;
    QString aux = "sin tocar";
    EXPECT_EQ(Cfg("NOMBRE", aux), "");
    EXPECT_EQ(aux, "sin tocar");
}

TEST_F(Prueba, LoaderInterpretationRulesAndDefaults) {
    clave("MostrarStockenConsultas", "si");
    clave("UsaConsultaLike", "SI ");    // rule SI: not trimmed, so false
    clave("RazonSocialPorUneg", "SI "); // rule trimmed SI: true
    clave("V_ModificaCPrecio", "no");
    clave("C_ModificaCPrecio", "cualquiera");
    clave("MADERERA", "   ");
    clave("PERIODO", " 12abc");
    clave("CONDIVAEMPRESA", "0");
    clave("CONDIVA", "3");
    clave("Top_Default", "250");
    clave("MaxDto", " 12,5 ");
    clave("SS_CONFIDENCIALIDAD", "SI");
    clave("CantidadDecimales", "2");
    clave("CantidadDecimalesVentas", "3");
    sql("INSERT INTO TA_USUARIOS VALUES ('operador', 0, '', 1)");
    sesion().gUsuarioLogeado = "operador";

    CargaConfiguracion("/srv/rp/");
    const ConfiguracionCargada& c = configuracion();
    EXPECT_EQ(c.TablaConfiguracion, "ta_configuracion");
    EXPECT_TRUE(c.MostrarStockenConsultas);
    EXPECT_FALSE(c.UsaConsultaLike);
    EXPECT_TRUE(c.RazonSocialPorUneg);
    EXPECT_TRUE(c.ModuloOrdenDeTrabajo); // missing: not NO
    EXPECT_FALSE(c.V_ModificaCPrecio);
    EXPECT_TRUE(c.C_ModificaCPrecio);
    EXPECT_FALSE(c.MADERERA);
    EXPECT_FALSE(c.PideClave_StockNeg); // missing: set unless NO gives false
    EXPECT_EQ(c.PERIODO, 12);
    EXPECT_EQ(c.CONDIVAEMPRESA, 3);
    EXPECT_EQ(c.Top_Default, "250");
    EXPECT_DOUBLE_EQ(c.MaxDto, 12.5);
    EXPECT_EQ(c.ArchivoDocTareas, "/srv/rp/KSDOCTareas.kst");
    EXPECT_EQ(c.UNegocio, "   1");       // empty column
    EXPECT_EQ(c.CantidadDecimales, "2"); // this program is no sales program
    EXPECT_TRUE(c.SS_CONFIDENCIALIDAD);
    EXPECT_TRUE(rp::db::DB_Dll::confidencialidad());
    EXPECT_EQ(sesion().gColorFondoFoco, 16776960u);
    EXPECT_EQ(sesion().gColorLetraFoco, 0u);
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(Prueba, LoaderDefaultsWithAnEmptyTableAndASalesProgram) {
    clave("CantidadDecimales", "2");
    clave("CantidadDecimalesVentas", "3");
    clave("CFondo", "255");
    clave("CLetra", "65280");
    sql("INSERT INTO TA_USUARIOS VALUES ('VENDEDOR', 0, '   7', 1)");
    clave("UsaFacturaProforma", "SI");
    sesion().gUsuarioLogeado = "vendedor";
    rp::suite::Aplicacion::establecerNombreEjecutable("v_mv_ventas");
    CargaConfiguracion("/p/");
    rp::suite::Aplicacion::establecerNombreEjecutable("rp_tarifario");
    const ConfiguracionCargada& c = configuracion();
    EXPECT_EQ(c.CantidadDecimales, "3");
    EXPECT_EQ(c.CONDIVAEMPRESA, 1);
    EXPECT_EQ(c.Top_Default, "1000");
    EXPECT_EQ(c.UNegocio, "   7");
    EXPECT_TRUE(c.UsaFacturaProforma);
    EXPECT_EQ(sesion().gColorFondoFoco, 255u);
    EXPECT_EQ(sesion().gColorLetraFoco, 65280u);
}

TEST(ReglasConfiguracion, EachRuleOnTheEdges) {
    using namespace rp::startup::regla;
    EXPECT_TRUE(si("si"));
    EXPECT_FALSE(si(" SI"));
    EXPECT_TRUE(siRecortado(" SI "));
    EXPECT_TRUE(noEsNo(" "));
    EXPECT_FALSE(noEsNo(" no "));
    EXPECT_FALSE(salvoNo(" "));
    EXPECT_FALSE(salvoNo("NO"));
    EXPECT_TRUE(salvoNo(" NO")); // untrimmed comparison
    EXPECT_EQ(numero("abc"), 0);
    EXPECT_EQ(numero("99999999"), 0); // beyond 16 bits
    EXPECT_EQ(color("16776960"), 16776960u);
    EXPECT_EQ(color("-5"), 0u);
}

} // namespace
