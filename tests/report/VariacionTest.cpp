// "Mostrar variación": the change and % change columns of the change
// history against an independent SQL computation on the demo data, with
// previous values of zero; and how they read on the page.
#include "ReporteDemoPrueba.h"
#include "report/ExportarReporte.h"
#include "report/engine/FormatoValores.h"
#include "suite/Regional.h"

#include <cmath>

namespace {

using rp::report::OpcionesFormulario;

class Variacion : public rp::report::test::ReporteDemoPrueba {};

TEST_F(Variacion, ChangeAndPercentAgainstTheDatabase) {
    // The first change of each article has a previous cost of zero (the
    // schema keeps no missing one).
    ASSERT_GT(
        valor("SELECT COUNT(*) FROM V_MV_PRECIOSHIS WHERE IDLISTA = '1' AND COSTOANT = 0").toInt(),
        0);
    OpcionesFormulario o;
    o.pestana = 0;
    o.campos = {{"ListaDesde", "1"}, {"ListaHasta", "1"}};
    o.columnas = QList<int>{0, 2};
    o.variacion = true;
    ASSERT_EQ(rp::report::ExportarReporte(carpeta + "v.csv", o), 0);
    const QList<QStringList> filas = leerCsv(carpeta + "v.csv");
    ASSERT_GT(filas.size(), 10);
    const QStringList titulos = filas.first();
    const int cambio = int(titulos.indexOf("Variación Costo"));
    const int porcentaje = int(titulos.indexOf("Variación % Costo"));
    ASSERT_GE(cambio, 0);
    ASSERT_EQ(porcentaje, cambio + 1);
    const QString clase = titulos.value(porcentaje + 1);
    EXPECT_TRUE(titulos.contains("Variación " + clase)) << clase.toStdString();
    EXPECT_TRUE(titulos.contains("Variación % " + clase));

    // The same rows, in the report's order, computed by the database.
    auto c = db.conexion().execute(QStringLiteral(
        "SELECT COSTO - COSTOANT, CASE WHEN COSTOANT = 0 THEN NULL ELSE (COSTO - COSTOANT) * "
        "100.0 / COSTOANT END FROM V_MV_PRECIOSHIS WHERE IDLISTA = '1' ORDER BY IDARTICULO, "
        "FECHAHORA"));
    int fila = 1;
    int sinPorcentaje = 0;
    while (c && c->fetch()) {
        ASSERT_LT(fila, filas.size());
        const QStringList& f = filas[fila++];
        if (c->value(0).isNull()) {
            EXPECT_EQ(f.value(cambio), QString()) << "row " << fila;
        } else {
            EXPECT_NEAR(f.value(cambio).toDouble(), c->value(0).toDouble(), 0.005)
                << "row " << fila;
        }
        if (c->value(1).isNull()) {
            EXPECT_EQ(f.value(porcentaje), QString()) << "row " << fila;
            ++sinPorcentaje;
        } else {
            EXPECT_NEAR(f.value(porcentaje).toDouble(), c->value(1).toDouble(), 0.05)
                << "row " << fila;
        }
    }
    EXPECT_EQ(fila, filas.size());
    EXPECT_GT(sinPorcentaje, 0);

    // Without the check box the columns are not there.
    o.variacion = false;
    ASSERT_EQ(rp::report::ExportarReporte(carpeta + "s.csv", o), 0);
    EXPECT_FALSE(leerCsv(carpeta + "s.csv").first().join(',').contains("Variación"));
}

// On the page a change reads without colour: an arrow and a sign, nothing
// for what rounds to zero, nothing for a missing value or a division by zero.
TEST(VariacionFormato, ArrowAndSign) {
    const rp::motor::FormatoValores formato(rp::suite::Regional::espaniol());
    rp::motor::FormatoColumna f;
    f.tipo = rp::motor::FormatoColumna::Cambio;
    f.decimales = 1;
    EXPECT_EQ(formato.mostrar(12.46, f), QString::fromUtf8("▲ +12,5"));
    EXPECT_EQ(formato.mostrar(-1234.5, f), QString::fromUtf8("▼ -1.234,5"));
    EXPECT_EQ(formato.mostrar(0.04, f), "0,0");
    EXPECT_EQ(formato.mostrar(QVariant(), f), QString());
    EXPECT_EQ(formato.mostrar(std::nan(""), f), QString());
}

} // namespace
