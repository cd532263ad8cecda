// The three shipped templates, run on a generated demo database with requests
// as the report form builds them.
#include "EmpresaPequena.h"
#include "app/demo/DemoDatos.h"
#include "db/provider/Connection.h"
#include "db/provider/SqliteProvider.h"
#include "report/engine/EscritorCsv.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/ReportePreparado.h"
#include "suite/Utilidades.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rp::motor;

namespace {

class PlantillasDelPrograma : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        empresa_ = new rp::prueba::EmpresaPequena(600);
        ASSERT_TRUE(empresa_->lista());
    }
    static void TearDownTestSuite() { delete empresa_; }

    void SetUp() override {
        conexion_.openWith(std::make_unique<rp::db::SqliteProvider>(), empresa_->base());
        fuente_.consultar = [this](const QString& sql) { return conexion_.execute(sql); };
    }

    // Runs the template to CSV; returns the lines written (header included).
    QStringList correr(const char* plantilla, const SolicitudReporte& s) {
        const auto rep = ReportePreparado::preparar(
            LectorPlantilla::leerArchivo(QStringLiteral(RP_SOURCE_DIR "/templates/") +
                                         QString::fromLatin1(plantilla) + ".rpt"),
            s);
        const QString ruta = empresa_->ruta(QString::fromLatin1(plantilla) + ".csv");
        EscritorCsv::escribirArchivo(*rep, fuente_, ruta);
        QFile f(ruta);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
    }

    static rp::prueba::EmpresaPequena* empresa_;
    rp::db::Connection conexion_;
    FuenteDatos fuente_;
};

rp::prueba::EmpresaPequena* PlantillasDelPrograma::empresa_ = nullptr;

} // namespace

TEST_F(PlantillasDelPrograma, HistorialPorLista) {
    SolicitudReporte s;
    s.formula = QStringLiteral("TrimLeft(TrimRight({V_MV_PRECIOSHIS.IdLista})) >= '1'  AND "
                               "TrimLeft(TrimRight({V_MV_PRECIOSHIS.IdLista})) <= '3'  AND "
                               "{v_mv_precioshis.fechahora} <= Date(2030,12,31)  AND  "
                               "(TrimLeft(TrimRight({v_ma_precioscab.Nombre})) LIKE '*' )");
    s.orden = {QStringLiteral("+{v_ma_articulos.cuentaProveedor}")};
    s.formulas[0] = QStringLiteral("Nombreempresa = 'Demo S.A.'");
    s.formulas[1] = s.formulas[2] = s.formulas[3] = QString();
    s.formulas[4] = QStringLiteral("OcultarColumnas = '2 - 3 - 4 - 5 - 6 - 7 - 8 - 9 - '");
    s.textosPrecio = {QString(), QStringLiteral("Precio1='Mayorista'")};
    for (int i = 2; i <= 8; ++i)
        s.textosPrecio << QStringLiteral("Precio%1=''").arg(i);
    const QStringList lineas = correr("RP_CambioPreciosHIS", s);
    ASSERT_GT(lineas.size(), 1);
    EXPECT_EQ("Artículo,Descripción,Lista,Fecha,Usuario,Costo,Costo Ant.,Mayorista,Mayorista Ant.",
              lineas.at(0).toStdString());
}

TEST_F(PlantillasDelPrograma, UltimoCambioSegunFecha) {
    SolicitudReporte s;
    s.orden = {QString()};
    s.formulas[0] = QStringLiteral("Nombreempresa = 'Demo'");
    s.formulas[1] = QStringLiteral("Parametros='Lista=1   Fecha=31/12/2030'");
    s.formulas[2] = QStringLiteral("Actual='Costo'");
    s.formulas[3] = QStringLiteral("Anterior='CostoAnt'");
    s.formulas[4] = QString();
    s.parametros = {QStringLiteral("@FECHA;31/12/2030;TRUE"), QStringLiteral("@LISTA;1;TRUE"),
                    QStringLiteral("@CLASE;0;TRUE"), QStringLiteral("@WHERE;;TRUE")};
    const QStringList todas = correr("RP_CambioPreciosHISFEcha", s);
    ASSERT_GT(todas.size(), 1);
    EXPECT_EQ(
        "Artículo,Descripción,Lista,Nombre de la lista,Fecha,Usuario,Costo,CostoAnt,Variación,"
        "Variación %",
        todas.at(0).toStdString());
    // Restricted to one user: a subset.
    const QString usuario = todas.at(1).section(',', -5, -5);
    s.formula = QStringLiteral("{KS_RP_CambiosPreciosHis;1.USUARIO}='") + usuario + "'";
    const QStringList uno = correr("RP_CambioPreciosHISFEcha", s);
    EXPECT_GT(uno.size(), 1);
    EXPECT_LE(uno.size(), todas.size());
    for (qsizetype i = 1; i < uno.size(); ++i)
        EXPECT_EQ(usuario.toStdString(), uno.at(i).section(',', -5, -5).toStdString());
}

TEST_F(PlantillasDelPrograma, UltimoCosto) {
    SolicitudReporte s;
    s.orden = {QString()};
    s.formulas[0] = QStringLiteral("Nombreempresa = 'Demo'");
    const QStringList todas = correr("RP_CambioPreciosHISFEchacosto", s);
    EXPECT_EQ(61, todas.size());
    // The CSV shows codes trimmed; the form pads a typed code to its stored width.
    s.formula = QStringLiteral(" {V_MA_ARTICULOS.IDARTICULO}<='") +
                rp::suite::Utilidades::FormatoCodigo(todas.at(10).section(',', 0, 0), 25) +
                QStringLiteral("' ");
    EXPECT_EQ(11, correr("RP_CambioPreciosHISFEchacosto", s).size());
}
