#include "lookup/Lib_FrmCons3.h"
#include "ConsultaDemoPrueba.h"
#include "lookup/ArchivoAnchos.h"

#include <gtest/gtest.h>

using rp::lookup::ArchivoAnchos;
using rp::lookup::Lib_FrmCons3;

namespace {

class ListaDemo : public rp::lookup::test::ConsultaDemoPrueba {
protected:
    const QString proveedores = QStringLiteral(
        "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES  with(nolock)  WHERE "
        "Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL");
    QStringList primeraColumna(const Lib_FrmCons3& f) {
        QStringList r;
        for (int i = 0; i < f.modelo().filas(); ++i)
            r << f.modelo().celda(i, 0);
        return r;
    }
};

TEST(SentenciaBusqueda, F5ConditionsAsGoldenText) {
    const QString base = "SELECT TOP 10 A,B FROM T  with(nolock)  WHERE X = 0 ORDER BY A ";
    const struct {
        QString sql, columna, texto;
        bool like;
        QString esperada;
    } casos[] = {
        {base, "A", "dto 5", true,
         "SELECT TOP 10 A,B FROM T  with(nolock)  WHERE X = 0  and A like '%dto%5%' ORDER BY A "},
        {base, "A", "dto*5", false,
         "SELECT TOP 10 A,B FROM T  with(nolock)  WHERE X = 0  and A like 'dto%5%' ORDER BY A "},
        // The typed apostrophe stays inside the literal.
        {base, "A", "O'B", false,
         "SELECT TOP 10 A,B FROM T  with(nolock)  WHERE X = 0  and A like 'O''B%' ORDER BY A "},
        {"SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB  ", "NOMBRE", "may", false,
         "SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB   where NOMBRE like 'may%' "},
        {"SELECT A, COUNT(*) FROM T GROUP BY A ORDER BY A ", "A", "x", false,
         "SELECT A, COUNT(*) FROM T  where A like 'x%' GROUP BY A ORDER BY A "},
        {"SELECT * FROM v_ma_articulos ORDER BY IDARTICULO", "DESCRIPCION", "y", false,
         "SELECT * FROM v_ma_articulos  where v_ma_articulos.DESCRIPCION like 'y%' ORDER BY "
         "IDARTICULO"},
        // The article view VT_MA_ARTICULOS takes no prefix.
        {"SELECT * FROM VT_MA_ARTICULOS ", "DESCRIPCION", "y", false,
         "SELECT * FROM VT_MA_ARTICULOS  where DESCRIPCION like 'y%' "},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Lib_FrmCons3::sentenciaBusqueda(c.sql, c.columna, c.texto, c.like), c.esperada)
            << c.texto.toStdString();
}

TEST(ProgramaMantenimiento, TableToSuiteProgram) {
    using P = std::pair<QString, QString>;
    EXPECT_EQ(Lib_FrmCons3::programaMantenimiento("VT_PROVEEDORES"), P("SHELL:V_MA_CLIENTES", "0"));
    EXPECT_EQ(Lib_FrmCons3::programaMantenimiento("vt_clientes"), P("SHELL:V_MA_CLIENTES", "1"));
    EXPECT_EQ(Lib_FrmCons3::programaMantenimiento("VT_MA_ARTICULOS"),
              P("SHELL:V_MA_ARTICULOS", ""));
    EXPECT_EQ(Lib_FrmCons3::programaMantenimiento("v_ta_rubros"),
              P("SHELL:V_TA_TABLAS", "v_ta_rubros"));
    EXPECT_EQ(Lib_FrmCons3::programaMantenimiento("OTRA"), P("SHELL:V_TA_TABLAS", "OTRA"));
}

TEST_F(ListaDemo, LoadTypeAheadSortAndAccept) {
    Lib_FrmCons3 f;
    f.SQL = proveedores;
    f.CampoDevuelto = "codigo";
    f.Load();
    EXPECT_EQ(f.TablaConsulta(), "VT_PROVEEDORES");
    ASSERT_EQ(f.modelo().columnCount(), 2);
    EXPECT_EQ(f.modelo().columnas()[0].titulo, "RAZON_SOCIAL");
    const QStringList esperadas = columna(
        "SELECT RAZON_SOCIAL FROM VT_PROVEEDORES WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL");
    ASSERT_FALSE(esperadas.isEmpty());
    EXPECT_EQ(primeraColumna(f), esperadas);

    // Type-ahead over the code column selects the first matching row.
    const QString codigo = f.modelo().celda(3, 1);
    f.cambioBusqueda(1, codigo.left(codigo.size()).toLower());
    EXPECT_EQ(f.modelo().celda(f.seleccionada(), 1), codigo);
    f.cambioBusqueda(0, "");
    EXPECT_EQ(f.seleccionada(), 0);
    f.cambioBusqueda(0, "zzzz-no-hay");
    EXPECT_EQ(f.seleccionada(), 0);

    // Header clicks: descending, then ascending again.
    f.modelo().clicEncabezado(0);
    QStringList desc = esperadas;
    std::sort(desc.begin(), desc.end(), [](const QString& a, const QString& b) {
        return b.toCaseFolded() < a.toCaseFolded();
    });
    EXPECT_EQ(primeraColumna(f), desc);
    f.modelo().clicEncabezado(0);
    EXPECT_EQ(primeraColumna(f).first(), desc.last());

    f.setSeleccionada(2);
    const QString clave = f.modelo().celda(2, 1);
    f.CmpsDevueltos = QStringList{"RAZON_SOCIAL", "NO_HAY"};
    EXPECT_TRUE(f.Aceptar());
    EXPECT_EQ(f.ValorDevuelto, clave);
    EXPECT_EQ(f.Valores, QStringList({f.modelo().celda(2, 0), f.modelo().celda(2, 0)}));

    f.Cancelar();
    EXPECT_EQ(f.ValorDevuelto, QString());
    EXPECT_FALSE(f.CmpsDevueltos.has_value());
}

TEST_F(ListaDemo, F5NarrowsOnTheServerAndNewSearchGoesBack) {
    sql("INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, RAZON_SOCIAL, TIPO, Dada_De_Baja) VALUES "
        "('P9999', 'O''Brien', 'O''Brien Hnos.', 'P', 0)");
    Lib_FrmCons3 f;
    f.SQL = proveedores;
    f.CampoDevuelto = "CODIGO";
    f.Load();
    const int todas = f.modelo().filas();
    f.cambioBusqueda(0, "O'B");
    f.busquedaServidor(0);
    EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
    ASSERT_EQ(f.modelo().filas(), 1);
    EXPECT_EQ(f.modelo().celda(0, 0), "O'Brien Hnos.");
    EXPECT_EQ(f.textoBusqueda(0), QString());
    EXPECT_TRUE(f.SQL.contains("RAZON_SOCIAL like 'O''B%' ORDER BY RAZON_SOCIAL"));

    f.CfgUsaConsultaLIKE = true;
    f.cambioBusqueda(1, "9999");
    f.busquedaServidor(1);
    EXPECT_EQ(f.modelo().filas(), 1);
    EXPECT_TRUE(f.SQL.contains(" and CODIGO like '%9999%' ORDER BY"));

    f.NuevaBusqueda();
    EXPECT_EQ(f.modelo().filas(), todas);
}

TEST_F(ListaDemo, MarksPreMarkingAndMultiPick) {
    Lib_FrmCons3 f;
    f.SQL = "SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB ";
    f.CampoDevuelto = "IDLISTA";
    f.CheckBoxes = true;
    f.OrdenarPorLwv = true;
    // Whole keys: "12" marks neither 1 nor 2.
    f.ValoresDefault = "12,3";
    f.Load();
    ASSERT_GE(f.modelo().filas(), 4);
    QStringList marcadas;
    for (int i = 0; i < f.modelo().filas(); ++i)
        if (f.modelo().marcada(i))
            marcadas << f.modelo().celda(i, 0);
    EXPECT_EQ(marcadas, QStringList({"3"}));

    f.Marcar();
    EXPECT_FALSE(f.modelo().marcada(2));
    EXPECT_TRUE(f.modelo().marcada(0));
    f.modelo().desmarcarTodas();
    f.modelo().setMarcada(1, true);
    f.modelo().setMarcada(3, true);
    EXPECT_TRUE(f.Aceptar());
    EXPECT_EQ(f.Valores, QStringList({"2", "4"}));
}

TEST_F(ListaDemo, QuantitiesNullCellsAndListKeys) {
    Lib_FrmCons3 f;
    f.SQL = "SELECT IDLISTA, NULL AS NADA, '' AS [**Cantidad**] FROM V_MA_PRECIOSCAB ORDER BY "
            "IDLISTA";
    f.UsaCantidades = true;
    f.Load();
    ASSERT_GE(f.modelo().filas(), 2);
    EXPECT_EQ(f.modelo().celda(0, 1), QString()); // no error box per null cell
    f.setSeleccionada(0);
    bool acepta = false;
    f.teclaLista(45, 0, acepta);
    EXPECT_EQ(f.modelo().celda(0, 2), "1,0");
    EXPECT_TRUE(f.modelo().marcada(0));
    f.teclaLista(45, 0, acepta);
    f.teclaLista(46, 0, acepta);
    EXPECT_EQ(f.modelo().celda(0, 2), "1,0");
    f.teclaLista(46, 0, acepta);
    EXPECT_EQ(f.modelo().celda(0, 2), "0,00");
    EXPECT_FALSE(f.modelo().marcada(0));
    op.responderIngresar(QStringLiteral("2,5"));
    f.teclaLista(45, 1, acepta);
    EXPECT_EQ(f.modelo().celda(0, 2), "2,50");
    EXPECT_TRUE(f.modelo().marcada(0));
    ASSERT_EQ(op.interacciones().size(), 1);
    EXPECT_EQ(op.interacciones()[0].texto, "Ingrese la Cantidad del Articulo...");

    // Keys that type go to the active search box: letters and digits by
    // their code, the keypad its digit or sign, keys without a code their
    // text; Backspace takes back one character, function keys type nothing.
    struct Tecla {
        int codigo;
        const char* texto;
        std::optional<QString> caja;
    };
    const Tecla teclas[] = {
        {65, "", "A"}, {32, "", "A "},   {97, "", "A 1"}, {107, "", "A 1+"}, {8, "", "A 1"},
        {112, "", {}}, {0, "ñ", "A 1ñ"}, {0, "\x1b", {}}, {8, "", "A 1"},    {8, "", "A "},
        {8, "", "A"},  {8, "", ""},      {8, "", ""},
    };
    for (const Tecla& t : teclas) {
        const std::optional<QString> caja =
            f.teclaLista(t.codigo, 0, acepta, QString::fromUtf8(t.texto));
        EXPECT_EQ(caja, t.caja) << "key " << t.codigo;
        if (caja)
            f.cambioBusqueda(f.BusquedaActiva, *caja); // what the search box does
    }
    EXPECT_FALSE(acepta);
    f.teclaLista(13, 0, acepta);
    EXPECT_TRUE(acepta);
}

// A dialog told to use the second database object reads its rows there.
TEST_F(ListaDemo, SecondDatabaseObject) {
    const QString otra = carpeta + QStringLiteral("OTRA.db");
    ASSERT_TRUE(QFile::copy(carpeta + rp::demo::CarpetaDemo::archivoEmpresa(), otra));
    rp::db::DB_Dll segunda;
    datosSqlite(segunda, otra);
    segunda.OpenServerADODB(false, 3, QString(), false, false);
    ASSERT_TRUE(segunda.gOpenFlag);
    sql(QStringLiteral("INSERT INTO V_MA_PRECIOSCAB (IDLISTA, NOMBRE) VALUES ('  99', 'Solo en "
                       "la segunda')"),
        &segunda);
    for (const bool usar : {false, true}) {
        Lib_FrmCons3 f;
        f.SQL = QStringLiteral(
            "SELECT NOMBRE FROM V_MA_PRECIOSCAB WHERE NOMBRE = 'Solo en la segunda'");
        f.UsarUDBC = usar;
        f.UDBC = &segunda;
        f.Load();
        EXPECT_EQ(f.modelo().filas(), usar ? 1 : 0);
    }
}

TEST_F(ListaDemo, ArticleListsColourPriceHeadersAndShortages) {
    sql("UPDATE V_MA_ARTICULOS SET PUNTOPEDIDO = 0, Stock = 5");
    const QStringList ids = columna("SELECT IDARTICULO FROM V_MA_ARTICULOS ORDER BY IDARTICULO");
    ASSERT_GE(ids.size(), 4);
    sql(QStringLiteral("UPDATE V_MA_ARTICULOS SET PUNTOPEDIDO = 10, Stock = 12, DESCRIPCION = "
                       "'Yerba O''Mate' WHERE TRIM(IDARTICULO) = '%1'")
            .arg(ids[1]));
    sql(QStringLiteral("UPDATE V_MA_ARTICULOS SET PUNTOPEDIDO = 10, Stock = 4 WHERE "
                       "TRIM(IDARTICULO) = '%1'")
            .arg(ids[2]));
    sql(QStringLiteral("UPDATE V_MA_ARTICULOS SET PUNTOPEDIDO = 10, Stock = 10 WHERE "
                       "TRIM(IDARTICULO) = '%1'")
            .arg(ids[3]));
    Lib_FrmCons3 f;
    f.SQL = "SELECT TOP 1000 IDARTICULO, DESCRIPCION, COSTO AS PRECIO3, PUNTOPEDIDO, Stock FROM "
            "V_MA_ARTICULOS ORDER BY IDARTICULO";
    f.MuestraStock = "si";
    f.StkNivel1 = 1;
    f.StkNivel2 = 2;
    f.StkNivel3 = 3;
    f.StkNivel4 = 4;
    f.cfg = [this](const QString& k) { return config.value(k); };
    f.Load();
    EXPECT_TRUE(f.EsArticulos());
    EXPECT_EQ(f.modelo().columnas()[2].titulo, "Mayorista");
    EXPECT_EQ(f.modelo().IndiceColumna("PRECIO3"), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.modelo().fila(i).color.toInt(), i + 1) << i;

    f.setSeleccionada(1);
    op.responderMensaje(rp::ui::vbYes);
    f.informarFaltante();
    ASSERT_EQ(op.mensajes().size(), 1);
    EXPECT_EQ(op.mensajes()[0].texto,
              QStringLiteral("Desea informar el articulo %1 Yerba O'Mate\r\n"
                             "como un faltante de stock?")
                  .arg(ids[1]));
    EXPECT_EQ(valor("SELECT Descripcion FROM V_MV_FALTANTES").toString(), "Yerba O'Mate");
    EXPECT_EQ(valor("SELECT TRIM(IdArticulo) FROM V_MV_FALTANTES").toString(), ids[1]);
    EXPECT_EQ(valor("SELECT Usuario FROM V_MV_FALTANTES").toString(), "operador");
    op.responderMensaje(rp::ui::vbNo);
    f.informarFaltante();
    EXPECT_EQ(valor("SELECT COUNT(*) FROM V_MV_FALTANTES").toInt(), 1);
}

TEST_F(ListaDemo, NewRecordWithoutALauncherIsNotImplemented) {
    Lib_FrmCons3 f;
    f.SQL = proveedores;
    f.Load();
    op.responderMensaje(rp::ui::vbOK);
    f.Nuevo();
    ASSERT_EQ(op.mensajes().size(), 1);
    EXPECT_TRUE(op.mensajes()[0].texto.startsWith("Opcion no Implementada!"));
    QStringList lanzado;
    f.lanzador = [&](const QString& c, const QString& p) { lanzado << c << p; };
    f.Nuevo();
    EXPECT_EQ(lanzado, QStringList({"SHELL:V_MA_CLIENTES", "0"}));
}

TEST_F(ListaDemo, WidthFileKeepsOtherTablesAndAppliesLaterLines) {
    const QString ruta = carpeta + "CONSULTASLEN.KST";
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\"VT_PROVEEDORES\",\"1440|2400|\"\r\n\"OTRA\",\"100|\"\r\n"
            "\"vt_proveedores\",\"999|\"\r\n\"CORTA\",\"10|x|30|\"\r\n");
    f.close();
    EXPECT_EQ(ArchivoAnchos::leer(ruta, "VT_PROVEEDORES"), QList<int>({999, 2400}));
    EXPECT_EQ(ArchivoAnchos::leer(ruta, "CORTA"), QList<int>({10}));
    EXPECT_EQ(ArchivoAnchos::leer(ruta, "NINGUNA"), QList<int>());
    EXPECT_EQ(ArchivoAnchos::leer(carpeta + "no.kst", "OTRA"), QList<int>());

    ASSERT_TRUE(ArchivoAnchos::grabar(ruta, "VT_PROVEEDORES", {3000, 1500}));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\"OTRA\",\"100|\"\r\n\"CORTA\",\"10|x|30|\"\r\n"
                                      "\"VT_PROVEEDORES\",\"3000|1500|\"\r\n"));
    f.close();

    // The dialog applies the saved widths of its table.
    Lib_FrmCons3 d;
    d.rutaAnchos = ruta;
    d.SQL = proveedores;
    d.Load();
    EXPECT_EQ(d.anchosGuardados(), QList<int>({3000, 1500}));
}

} // namespace

// A statement that cannot be opened shows the database layer's error box:
// Retry runs it again, Abort leaves an empty list and the dialog usable.
TEST_F(ListaDemo, UnopenableStatementShowsTheBoxThenAnEmptyList) {
    Lib_FrmCons3 f;
    f.SQL = QStringLiteral("SELECT CODIGO FROM NO_EXISTE ORDER BY CODIGO");
    op.responderMensaje(rp::ui::vbRetry);
    op.responderMensaje(rp::ui::vbAbort);
    f.Load();
    EXPECT_EQ(op.interacciones().size(), 2);
    EXPECT_EQ(f.modelo().filas(), 0);
    EXPECT_EQ(f.modelo().columnCount(), 0);
    EXPECT_TRUE(f.Aceptar());
    EXPECT_EQ(f.ValorDevuelto, QString());
}
