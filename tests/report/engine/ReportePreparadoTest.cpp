#include "BaseDePrueba.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/ReportePreparado.h"

#include <gtest/gtest.h>

using namespace rp::motor;

namespace {

std::shared_ptr<const ReportePreparado> preparar(const QString& plantilla,
                                                 const SolicitudReporte& s) {
    return ReportePreparado::preparar(LectorPlantilla::leerTexto(plantilla), s,
                                      QDateTime(QDate(2025, 2, 3), QTime(9, 5)));
}

QStringList ids(const ReportePreparado& rep, const FuenteDatos& fuente, const char* campo) {
    auto filas = rep.abrir(fuente);
    QStringList r;
    const int i = filas->indices().value(QString::fromLatin1(campo));
    while (filas->siguiente())
        r << filas->valores().value(i).toString();
    return r;
}

QString error(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErrorMotor& e) {
        return e.texto();
    }
    return QStringLiteral("(sin error)");
}

} // namespace

TEST(ReportePreparado, SentenciaConSeleccionYOrdenEnLaBase) {
    SolicitudReporte s;
    s.formula = QStringLiteral("TrimLeft(TrimRight({V_MV_PRECIOSHIS.IdLista})) >= '1'  AND "
                               "TrimLeft(TrimRight({V_MV_PRECIOSHIS.IdLista})) <= '2' ");
    s.orden = {QStringLiteral("-{v_mv_precioshis.fechahora}")};
    const auto rep = preparar(prueba::BaseDePrueba::textoHistorial(), s);
    EXPECT_FALSE(rep->filtroEnMemoria());
    EXPECT_EQ(
        "SELECT V_MV_PRECIOSHIS.IDHIS AS c0, V_MA_ARTICULOS.DESCRIPCION AS c1, "
        "V_MV_PRECIOSHIS.COSTO AS c2, V_MV_PRECIOSHIS.PRECIO1 AS c3, "
        "V_MV_PRECIOSHIS.FECHAHORA AS c4 FROM dbo.V_MV_PRECIOSHIS with(nolock)     LEFT "
        "OUTER JOIN dbo.V_MA_ARTICULOS with(nolock)         ON V_MA_ARTICULOS.IDARTICULO = "
        "V_MV_PRECIOSHIS.IDARTICULO     LEFT OUTER JOIN dbo.V_MA_PRECIOSCAB with(nolock)      "
        "   ON V_MA_PRECIOSCAB.IDLISTA = V_MV_PRECIOSHIS.IDLISTA WHERE "
        "LTRIM(RTRIM(V_MV_PRECIOSHIS.IdLista)) >= '1' AND "
        "LTRIM(RTRIM(V_MV_PRECIOSHIS.IdLista)) <= '2' ORDER BY "
        "v_mv_precioshis.fechahora DESC",
        rep->sentencia().toStdString());
    prueba::BaseDePrueba base;
    EXPECT_EQ("4 3 2 1 6",
              ids(*rep, base.fuente(), "V_MV_PRECIOSHIS.IDHIS").join(' ').toStdString());
}

TEST(ReportePreparado, SeleccionSinFormaSqlSeEvaluaEnMemoria) {
    prueba::BaseDePrueba base;
    SolicitudReporte s;
    s.formula = QStringLiteral("{V_MV_PRECIOSHIS.USUARIO} & '!' = 'ana!'");
    const auto rep = preparar(prueba::BaseDePrueba::textoHistorial(), s);
    EXPECT_TRUE(rep->filtroEnMemoria());
    EXPECT_FALSE(rep->sentencia().contains("WHERE"));
    EXPECT_EQ("1 2", ids(*rep, base.fuente(), "V_MV_PRECIOSHIS.IDHIS").join(' ').toStdString());
}

TEST(ReportePreparado, ColumnasOcultasYTitulosDePrecio) {
    SolicitudReporte s;
    s.formulas[4] = QStringLiteral("OcultarColumnas = '1 - 2 - 3 - 4 - 5 - 6 - 7 - 8 - 9 - '");
    auto rep = preparar(prueba::BaseDePrueba::textoHistorial(), s);
    EXPECT_EQ(QList<int>({0, 1, 2, 4}), rep->columnasVisibles());
    EXPECT_FALSE(rep->sentencia().contains("PRECIO1"));

    SolicitudReporte t;
    t.formulas[4] = QStringLiteral("OcultarColumnas = '0 - 2 - '");
    t.textosPrecio = {QString(), QStringLiteral("Precio1='Mayorista'"),
                      QStringLiteral("Precio2=''")};
    rep = preparar(prueba::BaseDePrueba::textoHistorial(), t);
    EXPECT_EQ(QList<int>({0, 1, 3, 4}), rep->columnasVisibles());
    ASSERT_TRUE(rep->formula("precio1"));
    EXPECT_EQ(
        "Mayorista",
        std::get<NodoLiteral>(rep->formula("PRECIO1")->contenido).valor.toString().toStdString());

    SolicitudReporte u;
    u.columnasOcultas = {QStringLiteral("1")};
    rep = preparar(prueba::BaseDePrueba::textoHistorial(), u);
    EXPECT_EQ(QList<int>({0, 1, 2, 4}), rep->columnasVisibles());
}

TEST(ReportePreparado, FormulaConApostrofoDelValor) {
    // The company name comes from configuration as typed; its apostrophe must
    // not stop the report.
    SolicitudReporte s;
    s.formulas[0] = QStringLiteral("Nombreempresa = 'Mc Donald's'");
    const auto rep = preparar(prueba::BaseDePrueba::textoHistorial(), s);
    EXPECT_EQ("Mc Donald's", std::get<NodoLiteral>(rep->formula("Nombreempresa")->contenido)
                                 .valor.toString()
                                 .toStdString());
    SolicitudReporte t;
    t.formulas[1] = QStringLiteral("Parametros 'x'");
    EXPECT_EQ("fórmula:1:12: se esperaba '=' después de Parametros",
              error([&] { preparar(prueba::BaseDePrueba::textoHistorial(), t); }).toStdString());
}

TEST(ReportePreparado, ErroresDeLaSolicitud) {
    const QString h = prueba::BaseDePrueba::textoHistorial();
    SolicitudReporte a;
    a.orden = {QStringLiteral("+{V_MA_FAMILIAS.IDFAMILIA}")};
    EXPECT_EQ("campo desconocido: {V_MA_FAMILIAS.IDFAMILIA}",
              error([&] { preparar(h, a); }).toStdString());
    SolicitudReporte b;
    b.orden = {QStringLiteral("+IDFAMILIA")};
    EXPECT_EQ("orden:1:2: nombre desconocido: IDFAMILIA",
              error([&] { preparar(h, b); }).toStdString());
    SolicitudReporte c;
    c.formula = QStringLiteral("{V_MV_PRECIOSHIS.IDLISTA} = '1");
    EXPECT_EQ("selección:1:29: cadena sin cerrar", error([&] { preparar(h, c); }).toStdString());
    SolicitudReporte d;
    d.subinformes[1] = QStringLiteral("Detalle");
    EXPECT_EQ("subinforme inexistente: Detalle", error([&] { preparar(h, d); }).toStdString());
}

TEST(ReportePreparado, ProcedimientoConParametrosYSeleccionEnMemoria) {
    prueba::BaseDePrueba base;
    const QString texto = QStringLiteral(
        "[origen]\nprocedimiento = KS_RP_CambiosPreciosHis\n"
        "parametros = @FECHA, @LISTA, @CLASE, @WHERE\norden = -{KS_RP_CambiosPreciosHis;1.ACTUAL}\n"
        "[columna]\nvalor = {KS_RP_CambiosPreciosHis;1.IDHIS}\n"
        "[columna]\nvalor = {KS_RP_CambiosPreciosHis;1.CLASE}\n");
    SolicitudReporte s;
    s.parametros = {QStringLiteral("@FECHA;31/12/2024;TRUE"), QStringLiteral("@LISTA;1;TRUE"),
                    QStringLiteral("@CLASE;0;TRUE"),
                    QStringLiteral("@WHERE; WHERE V_MA_ARTICULOS.IDARTICULO>='  100' ;TRUE")};
    s.orden = {QString()};
    s.formula = QStringLiteral("{KS_RP_CambiosPreciosHis;1.USUARIO}='ANA'");
    const auto rep = preparar(texto, s);
    EXPECT_EQ("EXEC KS_RP_CambiosPreciosHis @FECHA='31/12/2024', @LISTA='1', @CLASE='0', "
              "@WHERE=' WHERE V_MA_ARTICULOS.IDARTICULO>=''  100'' '",
              rep->sentencia().toStdString());
    EXPECT_TRUE(rep->filtroEnMemoria());
    EXPECT_TRUE(rep->ordenEnMemoria());
    // Rows of list 1 by user "ana" in any letter case, highest cost first.
    EXPECT_EQ("1 2",
              ids(*rep, base.fuente(), "KS_RP_CAMBIOSPRECIOSHIS;1.IDHIS").join(' ').toStdString());

    s.parametros.removeLast();
    EXPECT_EQ("falta el parámetro @WHERE", error([&] { preparar(texto, s); }).toStdString());
    s.parametros << QStringLiteral("@WHERE;;TRUE") << QStringLiteral("@OTRO;1;TRUE");
    EXPECT_EQ("parámetro desconocido: @OTRO", error([&] { preparar(texto, s); }).toStdString());
}

TEST(ReportePreparado, CampoQueElProcedimientoNoDevuelve) {
    prueba::BaseDePrueba base;
    SolicitudReporte s;
    s.parametros = {QStringLiteral("@FECHA;1/1/2025;TRUE"), QStringLiteral("@LISTA;2;TRUE"),
                    QStringLiteral("@CLASE;0;TRUE"), QStringLiteral("@WHERE;;TRUE")};
    const auto rep =
        preparar(QStringLiteral("[origen]\nprocedimiento = KS_RP_CambiosPreciosHis\n"
                                "parametros = @FECHA, @LISTA, @CLASE, @WHERE\n"
                                "[columna]\nvalor = {KS_RP_CambiosPreciosHis;1.NOEXISTE}\n"),
                 s);
    EXPECT_EQ("campo desconocido: {KS_RP_CambiosPreciosHis;1.NOEXISTE}",
              error([&] { rep->abrir(base.fuente()); }).toStdString());
}

TEST(SolicitudReporte, TextoDeUnaLineaSinClave) {
    SolicitudReporte s;
    s.plantilla = QStringLiteral("/p/RP_CambioPreciosHIS.rpt");
    s.orden = {QStringLiteral("+{v_ma_articulos.idarticulo}")};
    s.formula = QStringLiteral("{a.b} = 'x\"y'\n and {a.c} = 1");
    s.cadenaConexion = QStringLiteral("DSN=VENTAS; UID=ANA; PWD=secreta");
    s.formulas[0] = QStringLiteral("Nombreempresa = 'ACME'");
    s.parametros = {QStringLiteral("@FECHA;31/12/2024;TRUE")};
    const QString t = s.texto();
    EXPECT_FALSE(t.contains('\n'));
    EXPECT_FALSE(t.contains("secreta"));
    EXPECT_TRUE(t.contains("conexion=\"DSN=VENTAS; UID=ANA; PWD=****\"")) << t.toStdString();
    EXPECT_TRUE(t.contains("formula=\"{a.b} = 'x\\\"y'\\n and {a.c} = 1\"")) << t.toStdString();
    EXPECT_TRUE(t.contains("formulas=[\"Nombreempresa = 'ACME'\",-,-,-,-]")) << t.toStdString();

    const ParametroProcedimiento p =
        ParametroProcedimiento::leer(QStringLiteral("@WHERE; WHERE A='x;y' ;TRUE"));
    EXPECT_EQ("@WHERE", p.nombre.toStdString());
    EXPECT_EQ(" WHERE A='x;y' ", p.valor.toStdString());
    EXPECT_EQ("", ParametroProcedimiento::leer(QStringLiteral("@WHERE;;TRUE")).valor.toStdString());
}
