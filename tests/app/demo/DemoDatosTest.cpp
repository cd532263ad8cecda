// The generated data: determinism, sizes, stored code widths, referential
// integrity and the consistency of the price history.
#include "BaseSqlitePrueba.h"

#include "app/demo/DemoDatos.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSet>

using namespace rp::demo;
using namespace rp::demo::test;

namespace {

bool alineadoADerecha(const QString& codigo, int ancho) {
    const QString t = codigo.trimmed();
    return codigo.size() == ancho && !t.isEmpty() && codigo.endsWith(t) &&
           codigo.left(ancho - t.size()) == QString(ancho - t.size(), QLatin1Char(' '));
}

} // namespace

TEST(DemoDatos, SameSeedSameContentsOtherSeedOtherContents) {
    BaseGenerada a(opcionesChicas(7)), b(opcionesChicas(7)), c(opcionesChicas(8));
    const QString sa = DemoDatos::sumaDeControl(a.archivo);
    EXPECT_EQ(sa.size(), 64);
    EXPECT_EQ(sa, DemoDatos::sumaDeControl(b.archivo));
    EXPECT_NE(sa, DemoDatos::sumaDeControl(c.archivo));
    EXPECT_TRUE(DemoDatos::sumaDeControl(a.dir.filePath("no-existe.db")).isEmpty());
}

TEST(DemoDatos, ChecksumSeesAChangedValue) {
    BaseGenerada a;
    const QString antes = DemoDatos::sumaDeControl(a.archivo);
    {
        BaseSqlitePrueba db(a.archivo);
        ASSERT_TRUE(
            db.ejecutar("UPDATE V_MV_PRECIOSHIS SET PRECIO3 = PRECIO3 + 0.01 WHERE ID = 10"));
    }
    EXPECT_NE(antes, DemoDatos::sumaDeControl(a.archivo));
}

TEST(DemoDatos, DemoScaleHasTheAnnouncedSize) {
    bool ok = false;
    const OpcionesDemo o = OpcionesDemo::escala("Demo", &ok);
    ASSERT_TRUE(ok);
    BaseGenerada g(o);
    BaseSqlitePrueba db(g.archivo);
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM V_MA_ARTICULOS").toLongLong(), 2000);
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM V_MV_PRECIOSHIS").toLongLong(), 50000);
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM V_MA_PRECIOSCAB").toLongLong(), 8);
    EXPECT_EQ(db.valor("SELECT COUNT(DISTINCT USUARIO) FROM V_MV_PRECIOSHIS").toLongLong(), 6);
    // Years of changes.
    EXPECT_LE(db.valor("SELECT MIN(FECHAHORA) FROM V_MV_PRECIOSHIS").toString(), "2022-02-01");
    EXPECT_GE(db.valor("SELECT MAX(FECHAHORA) FROM V_MV_PRECIOSHIS").toString(), "2025-06-01");
    // Descriptions are distinct at this scale.
    EXPECT_EQ(db.valor("SELECT COUNT(DISTINCT DESCRIPCION) FROM V_MA_ARTICULOS").toLongLong(),
              2000);
}

TEST(DemoDatos, ScaleNames) {
    bool ok = true;
    OpcionesDemo::escala("huge", &ok);
    EXPECT_FALSE(ok);
    const OpcionesDemo grande = OpcionesDemo::escala("large", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(grande.articulos, 100000);
    EXPECT_EQ(grande.cambios, 1000000);
}

TEST(DemoDatos, CodesAreStoredInTheirWidths) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    const struct {
        const char* sql;
        int ancho;
    } casos[] = {
        {"SELECT IDARTICULO FROM V_MA_ARTICULOS", 25},
        {"SELECT DISTINCT IDARTICULO FROM V_MV_PRECIOSHIS", 25},
        {"SELECT IDRUBRO FROM V_TA_RUBROS", 4},
        {"SELECT IDRUBRO FROM V_MA_ARTICULOS", 4},
        {"SELECT IDTIPO FROM V_TA_MARCAS", 4},
        {"SELECT CODIGO FROM V_TA_UNIDADNEGOCIO", 4},
        {"SELECT UNEGOCIO FROM TA_USUARIOS", 4},
    };
    for (const auto& c : casos) {
        const auto filas = db.filas(c.sql);
        ASSERT_FALSE(filas.isEmpty()) << c.sql;
        for (const auto& f : filas)
            ASSERT_TRUE(alineadoADerecha(f.value(0).toString(), c.ancho))
                << c.sql << ": '" << f.value(0).toString().toStdString() << "'";
    }
    // The first article is "1" in its stored form, the default unit "   1".
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE IDARTICULO = '" +
                       QString(24, QLatin1Char(' ')) + "1'")
                  .toLongLong(),
              1);
    EXPECT_EQ(
        db.valor("SELECT COUNT(*) FROM V_TA_UNIDADNEGOCIO WHERE CODIGO = '   1'").toLongLong(), 1);
    // Price lists are compared as typed ("Idlista='1'"): stored without padding.
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM V_MA_PRECIOSCAB WHERE IDLISTA = '1'").toLongLong(), 1);
}

TEST(DemoDatos, EveryReferenceExists) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    const char* huerfanos[] = {
        "SELECT COUNT(*) FROM V_MV_PRECIOSHIS H LEFT JOIN V_MA_ARTICULOS A ON A.IDARTICULO = "
        "H.IDARTICULO WHERE A.IDARTICULO IS NULL",
        "SELECT COUNT(*) FROM V_MV_PRECIOSHIS H LEFT JOIN V_MA_PRECIOSCAB L ON L.IDLISTA = "
        "H.IDLISTA WHERE L.IDLISTA IS NULL",
        "SELECT COUNT(*) FROM V_MV_PRECIOSHIS H LEFT JOIN TA_USUARIOS U ON U.NOMBRE = H.USUARIO "
        "WHERE U.NOMBRE IS NULL",
        "SELECT COUNT(*) FROM V_MA_ARTICULOS A LEFT JOIN V_TA_RUBROS R ON R.IDRUBRO = A.IDRUBRO "
        "WHERE R.IDRUBRO IS NULL",
        "SELECT COUNT(*) FROM V_MA_ARTICULOS A LEFT JOIN V_TA_FAMILIAS F ON F.IDFAMILIA = "
        "A.IDFAMILIA WHERE F.IDFAMILIA IS NULL",
        "SELECT COUNT(*) FROM V_MA_ARTICULOS A LEFT JOIN V_TA_MARCAS M ON M.IDTIPO = A.IDTIPO "
        "WHERE M.IDTIPO IS NULL",
        "SELECT COUNT(*) FROM V_MA_ARTICULOS A LEFT JOIN VT_PROVEEDORES P ON P.CODIGO = "
        "A.CUENTAPROVEEDOR WHERE P.CODIGO IS NULL",
        "SELECT COUNT(*) FROM TA_TAREAS T LEFT JOIN TA_MENU M ON M.CLAVE = T.TAREA WHERE M.CLAVE "
        "IS NULL",
        "SELECT COUNT(*) FROM TA_TAREAS T LEFT JOIN TA_USUARIOS U ON U.NOMBRE = T.USUARIO WHERE "
        "U.NOMBRE IS NULL",
        // Every family below the first level has its parent (code minus two digits).
        "SELECT COUNT(*) FROM V_TA_FAMILIAS F WHERE LENGTH(F.IDFAMILIA) > 2 AND NOT EXISTS "
        "(SELECT 1 FROM V_TA_FAMILIAS P WHERE P.IDFAMILIA = SUBSTR(F.IDFAMILIA, 1, "
        "LENGTH(F.IDFAMILIA) - 2))",
    };
    for (const char* sql : huerfanos) {
        const QVariant n = db.valor(sql);
        EXPECT_TRUE(db.error().isEmpty()) << db.error().toStdString();
        EXPECT_EQ(n.toLongLong(), 0) << sql;
    }
    // Articles of every group, suppliers on every article's side.
    EXPECT_EQ(db.valor("SELECT COUNT(DISTINCT IDRUBRO) FROM V_MA_ARTICULOS").toLongLong(),
              db.valor("SELECT COUNT(*) FROM V_TA_RUBROS").toLongLong());
}

TEST(DemoDatos, HistoryChainsCarryThePreviousValues) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    const auto filas = db.filas(
        "SELECT IDARTICULO, IDLISTA, FECHAHORA, ID, COSTO, PRECIO1, PRECIO2, PRECIO3, PRECIO4, "
        "PRECIO5, PRECIO6, PRECIO7, PRECIO8, COSTOANT, PRECIO1ANT, PRECIO2ANT, PRECIO3ANT, "
        "PRECIO4ANT, PRECIO5ANT, PRECIO6ANT, PRECIO7ANT, PRECIO8ANT FROM V_MV_PRECIOSHIS "
        "ORDER BY IDARTICULO, IDLISTA, FECHAHORA, ID");
    ASSERT_EQ(filas.size(), 6000);
    QString clave;
    QVariantList anterior;
    int cadenas = 0;
    for (const QVariantList& f : filas) {
        const QString k = f[0].toString() + '|' + f[1].toString();
        for (int c = 0; c < 9; ++c)
            ASSERT_GT(f[4 + c].toDouble(), 0.0) << "row " << f[3].toLongLong();
        if (k != clave) {
            ++cadenas;
            for (int c = 0; c < 9; ++c)
                ASSERT_EQ(f[13 + c].toDouble(), 0.0) << "first price, row " << f[3].toLongLong();
        } else {
            for (int c = 0; c < 9; ++c)
                ASSERT_EQ(f[13 + c].toDouble(), anterior[4 + c].toDouble())
                    << "row " << f[3].toLongLong() << " value " << c;
            // IDs follow the change dates.
            ASSERT_GT(f[3].toLongLong(), anterior[3].toLongLong());
            ASSERT_GE(f[2].toString(), anterior[2].toString());
        }
        clave = k;
        anterior = f;
    }
    EXPECT_GE(cadenas, 300); // every article has list 1, some more lists
    // Date-times are ISO text on working days and working hours.
    for (const auto& f : db.filas("SELECT FECHAHORA FROM V_MV_PRECIOSHIS WHERE ID % 97 = 0")) {
        const QDateTime t = QDateTime::fromString(f[0].toString(), "yyyy-MM-dd HH:mm:ss");
        ASSERT_TRUE(t.isValid()) << f[0].toString().toStdString();
        EXPECT_LE(t.date().dayOfWeek(), 5);
        EXPECT_GE(t.time().hour(), 8);
        EXPECT_LT(t.time().hour(), 20);
    }
}

TEST(DemoDatos, ArticlesCarryTheCostAndDateOfList1) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    const auto filas = db.filas(
        "SELECT A.IDARTICULO, A.COSTO, A.FHULTIMOCOSTO, "
        "(SELECT H.COSTO FROM V_MV_PRECIOSHIS H WHERE H.IDARTICULO = A.IDARTICULO AND "
        "H.IDLISTA = '1' ORDER BY H.FECHAHORA DESC, H.ID DESC LIMIT 1), "
        "(SELECT MAX(H.FECHAHORA) FROM V_MV_PRECIOSHIS H WHERE H.IDARTICULO = A.IDARTICULO AND "
        "H.IDLISTA = '1') FROM V_MA_ARTICULOS A");
    int sinFecha = 0, atrasadas = 0, alDia = 0;
    for (const auto& f : filas) {
        EXPECT_DOUBLE_EQ(f[1].toDouble(), f[3].toDouble()) << f[0].toString().toStdString();
        if (f[2].isNull())
            ++sinFecha;
        else if (f[2].toString() < f[4].toString())
            ++atrasadas;
        else if (f[2].toString() == f[4].toString())
            ++alDia;
        else
            ADD_FAILURE() << "stored date after the last change: " << f[0].toString().toStdString();
    }
    // All three situations of the last-cost report occur.
    EXPECT_GT(sinFecha, 30);
    EXPECT_GT(atrasadas, 30);
    EXPECT_GT(alDia, 30);
}

TEST(DemoDatos, ConfigurationUsersAndMenu) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    for (int i = 1; i <= 8; ++i) {
        const QString v = db.valor(QString("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = "
                                           "'nom_pclase%1'")
                                       .arg(i))
                              .toString();
        EXPECT_FALSE(v.trimmed().isEmpty()) << i;
    }
    EXPECT_EQ(db.valor("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'NOM_PCLASE1'").toString(),
              "Mayorista");
    EXPECT_FALSE(
        db.valor("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'NOMBRE'").toString().isEmpty());
    EXPECT_EQ(db.valor("SELECT ADMINISTRADOR FROM TA_USUARIOS WHERE NOMBRE = 'DEMO'").toLongLong(),
              1);
    EXPECT_GE(db.valor("SELECT COUNT(*) FROM TA_USUARIOS WHERE ADMINISTRADOR = 0").toLongLong(), 2);
    // The program's own menu entry, granted to the demo user.
    EXPECT_EQ(db.valor("SELECT TA_MENU.Nombre FROM TA_TAREAS INNER JOIN TA_MENU ON TA_TAREAS.TAREA "
                       "= TA_MENU.Clave WHERE TA_TAREAS.USUARIO = 'demo ' AND TA_MENU.Proceso "
                       "LIKE '%rp_tarifario%'")
                  .toString(),
              QString::fromUtf8("Reporte Histórico de Precios"));
    // A user without the task exists too.
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM TA_USUARIOS U WHERE NOT EXISTS (SELECT 1 FROM "
                       "TA_TAREAS T WHERE T.USUARIO = U.NOMBRE AND T.TAREA = 'RP01')")
                  .toLongLong(),
              2);
    EXPECT_EQ(db.valor("SELECT PARAMETROS FROM RP_PROCEDIMIENTOS WHERE NOMBRE = "
                       "'ks_rp_cambiospreciosHIS'")
                  .toString(),
              "@FECHA,@LISTA,@CLASE,@WHERE");
    const QString cuerpo =
        db.valor("SELECT CUERPO FROM RP_PROCEDIMIENTOS WHERE NOMBRE = 'KS_RP_CambiosPreciosHis'")
            .toString();
    EXPECT_TRUE(cuerpo.startsWith("SELECT ")) << cuerpo.left(40).toStdString();
    EXPECT_FALSE(cuerpo.contains("--"));
    EXPECT_TRUE(cuerpo.contains("{@WHERE}"));
}

TEST(DemoDatos, StatisticsDatabaseHoldsTheTimeOut) {
    QTemporaryDir dir;
    const QString archivo = dir.filePath("KS_ESTADISTICAS.db");
    DemoDatos datos;
    ASSERT_TRUE(datos.generarEstadisticas(archivo)) << datos.error().toStdString();
    BaseSqlitePrueba db(archivo);
    const auto filas =
        db.filas("SELECT VALOR, GRUPO FROM TA_CONFIGURACION WHERE CLAVE = 'TIMEOUT'");
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0][0].toString(), "360");
    EXPECT_EQ(filas[0][1].toString(), "BaseDeDatos");
}

TEST(DemoDatos, NeverOverwritesAFile) {
    QTemporaryDir dir;
    const QString archivo = dir.filePath("EMPRESA_DEMO.db");
    {
        QFile f(archivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("datos del usuario");
    }
    DemoDatos datos(opcionesChicas());
    EXPECT_FALSE(datos.generarEmpresa(archivo));
    EXPECT_FALSE(datos.error().isEmpty());
    EXPECT_FALSE(datos.generarEstadisticas(archivo));
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("datos del usuario"));
}

TEST(DemoDatos, AFailedGenerationLeavesNoFile) {
    QTemporaryDir dir;
    const QString archivo = dir.filePath("falta/EMPRESA_DEMO.db"); // folder does not exist
    DemoDatos datos(opcionesChicas());
    EXPECT_FALSE(datos.generarEmpresa(archivo));
    EXPECT_FALSE(QFile::exists(archivo));
}
