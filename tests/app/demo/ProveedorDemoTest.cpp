// The demo database seen through the database provider, as the program sees
// it: its statements in the SQL Server dialect, the family tree statement and
// the stored procedure of the report by date.
#include "BaseSqlitePrueba.h"

#include "db/provider/Connection.h"
#include "db/provider/ProviderError.h"
#include "db/provider/SqliteProvider.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <memory>

using namespace rp::demo;
using namespace rp::demo::test;
using rp::db::Connection;
using rp::db::DbError;
using rp::db::SqliteProvider;

namespace {

struct BaseConProveedor {
    BaseGenerada base;
    Connection cn;
    BaseConProveedor() { cn.openWith(std::make_unique<SqliteProvider>(), base.archivo); }

    QList<QVariantList> filas(const QString& sql, const QVariantList& params = {}) {
        QList<QVariantList> out;
        try {
            auto c = cn.execute(sql, nullptr, params);
            while (c && c->fetch()) {
                QVariantList f;
                for (int i = 0; i < c->fields().size(); ++i)
                    f.append(c->value(i));
                out.append(f);
            }
        } catch (const DbError& e) {
            ADD_FAILURE() << "failed: " << sql.toStdString() << "\n  "
                          << e.description().toStdString();
        }
        return out;
    }
};

QString codigo(int n) {
    return QString::number(n).rightJustified(25, QLatin1Char(' '));
}

} // namespace

// The statements of the start-up, configuration, access log, template
// resolution, lookups and reports, as the program writes them.
TEST(ProveedorDemo, TheProgramsStatementsRun) {
    BaseConProveedor b;
    const QString art = codigo(1);
    const struct {
        QString sql;
        bool conFilas;
    } consultas[] = {
        {"SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'NOM_PCLASE1'",
         true},
        {"SELECT VALOR, valoraux FROM ta_configuracion with(nolock)  WHERE CLAVE = 'nombre'", true},
        {"Select * from ta_usuarios  with(nolock)  where Nombre = 'demo'", true},
        {"SELECT TOP 1  * FROM ta_usuarios with(nolock)  WHERE LTRIM(RTRIM(nombre)) ='demo' ",
         true},
        {"SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre  FROM "
         "TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave  WHERE "
         "(TA_TAREAS.USUARIO = 'demo ') AND (TA_MENU.Proceso LIKE '%rp_tarifario%')",
         true},
        {"SELECT * FROM TA_REPORTES  with(nolock)  WHERE NOMBRE = 'RP_CambioPreciosHIS'", true},
        {"SELECT TOP 1 * FROM V_MV_CPTE_ELECTRONICOS with(nolock)  WHERE  TC='' AND "
         "IDCOMPROBANTE=''",
         false},
        {"SELECT TOP 1 * FROM V_TA_CPTE with(nolock)  WHERE LTRIM(RTRIM(Codigo)) "
         "='RP_CambioPreciosHIS' ",
         false},
        {"select  top 1 * from AUX_ERR  with(nolock) ", false},
        {"SELECT DISTINCT IDLISTA, NOMBRE FROM V_MA_PRECIOSCAB ", true},
        {"SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE "
         "SUSPENDIDO = 0 ORDER BY DESCRIPCION",
         true},
        {"SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES  with(nolock)  WHERE "
         "Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL",
         true},
        {"select top 1 * from v_ta_rubros", true},
        {"select top 1 * from TA_USUARIOS", true},
        {"SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA", true},
        {"SELECT IDFAMILIA, DESCRIPCION FROM SS_V_TA_FAMILIAS ORDER BY IDFAMILIA", true},
        {"SELECT TOP 1 * FROM V_TA_FAMILIAS with(nolock)  WHERE LTRIM(RTRIM(IDFAMILIA)) ='0101' ",
         true},
        {"SELECT     dbo.V_MA_ARTICULOS.*, dbo.V_MV_PreciosHis.IdLista FROM         "
         "dbo.V_MA_ARTICULOS LEFT OUTER JOIN dbo.V_MV_PreciosHis ON "
         "dbo.V_MA_ARTICULOS.IDARTICULO = dbo.V_MV_PreciosHis.IdArticulo Where  "
         "V_MA_ARTICULOS.IDARTICULO<='" +
             codigo(5) + "'",
         true},
    };
    for (const auto& c : consultas) {
        const auto filas = b.filas(c.sql);
        if (c.conFilas) {
            EXPECT_FALSE(filas.isEmpty()) << c.sql.toStdString();
        }
    }
    // The last-cost look-up and update.
    const auto fecha =
        b.filas("SELECT TOP 1 * FROM V_MV_PRECIOSHIS with(nolock)  WHERE "
                "LTRIM(RTRIM(idarticulo)) ='" +
                art.trimmed() + "'   AND   Idlista='1' AND COSTO>0  ORDER BY FECHAHORA DESC");
    ASSERT_EQ(fecha.size(), 1);
    EXPECT_NO_THROW(b.cn.execute("UPDATE V_MA_ARTICULOS SET FHULTIMOCOSTO='01/02/2024 10:20:30' "
                                 "WHERE IDARTICULO='" +
                                 art + "'"));
    EXPECT_EQ(b.filas("SELECT FHULTIMOCOSTO FROM V_MA_ARTICULOS WHERE IDARTICULO='" + art + "'")
                  .value(0)
                  .value(0)
                  .toDateTime(),
              QDateTime(QDate(2024, 2, 1), QTime(10, 20, 30)));
    EXPECT_NO_THROW(b.cn.execute("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,"
                                 "Usuario) values('09/12/2026 10:30:00','" +
                                 art + "','Tornillo','demo')"));
    EXPECT_NO_THROW(b.cn.execute("INSERT INTO Control_Acceso (Maquina,Usuario,Formulario,Tarea,"
                                 "Ingreso,NombreUsuario) VALUES ('PC07','DEMO','RP_TARIFARIO','',"
                                 "'09/12/26 10:30','demo')"));
}

// The family tree statement exactly as the tree lookup writes it.
TEST(ProveedorDemo, FamilyTreeStatementGivesEveryParent) {
    BaseConProveedor b;
    const QString sql =
        QStringLiteral("SELECT     TOP 100 PERCENT IdFamilia, Descripcion, ") +
        "(SELECT     TOP 1 idfamilia FROM v_ta_familias a  " +
        " Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) < "
        "Len(LTrim(RTrim(b.IdFamilia)))) " +
        " ORDER BY idfamilia DESC) AS [relative] FROM dbo.V_TA_FAMILIAS b Where IdFamilia<>'' "
        "ORDER BY IdFamilia";
    const auto filas = b.filas(sql);
    ASSERT_GT(filas.size(), 100);
    for (const auto& f : filas) {
        const QString c = f[0].toString();
        if (c.size() == 2)
            EXPECT_TRUE(f[2].isNull()) << c.toStdString();
        else
            EXPECT_EQ(f[2].toString(), c.left(c.size() - 2)) << c.toStdString();
    }
}

namespace {

// The expected rows of the procedure, computed directly: per article, the
// last change of the list up to the end of the day.
QList<QVariantList> esperado(const QString& archivo, const QString& hasta, const QString& lista,
                             int clase, const QString& condicion) {
    BaseSqlitePrueba db(archivo);
    const QString col =
        clase == 0 ? QStringLiteral("COSTO") : QStringLiteral("PRECIO%1").arg(clase);
    return db.filas(
        QStringLiteral("SELECT V_MA_ARTICULOS.IDARTICULO, H.USUARIO, H.FECHAHORA, H.%1, H.%1ANT "
                       "FROM V_MA_ARTICULOS JOIN V_MV_PRECIOSHIS H ON H.ID = (SELECT X.ID FROM "
                       "V_MV_PRECIOSHIS X WHERE X.IDARTICULO = V_MA_ARTICULOS.IDARTICULO AND "
                       "X.IDLISTA = '%2' AND X.FECHAHORA < '%3' ORDER BY X.FECHAHORA DESC, X.ID "
                       "DESC LIMIT 1) %4 ORDER BY V_MA_ARTICULOS.IDARTICULO")
            .arg(col, lista, hasta, condicion));
}

void comparar(BaseConProveedor& b, const QList<QVariantList>& obtenido,
              const QList<QVariantList>& previsto) {
    ASSERT_FALSE(previsto.isEmpty());
    ASSERT_EQ(obtenido.size(), previsto.size());
    for (qsizetype i = 0; i < previsto.size(); ++i) {
        const QVariantList& o = obtenido[i];
        ASSERT_GE(o.size(), 12);
        EXPECT_EQ(o[0].toString(), previsto[i][0].toString());
        EXPECT_EQ(o[9].toString(), previsto[i][1].toString()) << "USUARIO";
        EXPECT_EQ(o[8].toDateTime().toString("yyyy-MM-dd HH:mm:ss"), previsto[i][2].toString());
        EXPECT_DOUBLE_EQ(o[10].toDouble(), previsto[i][3].toDouble()) << "ACTUAL";
        EXPECT_DOUBLE_EQ(o[11].toDouble(), previsto[i][4].toDouble()) << "ANTERIOR";
    }
    (void)b;
}

} // namespace

TEST(ProveedorDemo, ProcedureGivesTheLastChangeUpToTheDate) {
    BaseConProveedor b;
    // Called as the report engine calls it: parameters as typed.
    const auto rubro =
        b.filas("{call KS_RP_CambiosPreciosHis(?,?,?,?)}",
                {QStringLiteral("15/03/2024"), QStringLiteral("1"), QStringLiteral("2"),
                 QStringLiteral(" WHERE V_MA_ARTICULOS.IDRUBRO<='   2' ")});
    comparar(
        b, rubro,
        esperado(b.base.archivo, "2024-03-16", "1", 2, " WHERE V_MA_ARTICULOS.IDRUBRO<='   2' "));

    // EXEC with literals, cost class, no article condition.
    const auto costo = b.filas("EXEC KS_RP_CambiosPreciosHis '31/12/2023', '1', '0', ''");
    comparar(b, costo, esperado(b.base.archivo, "2024-01-01", "1", 0, QString()));

    // Another list and class; a change on the given day itself counts.
    const auto otra = b.filas("EXEC KS_RP_CambiosPreciosHis @FECHA='30/06/2025', @LISTA='2', "
                              "@CLASE='8', @WHERE=''");
    comparar(b, otra, esperado(b.base.archivo, "2025-07-01", "2", 8, QString()));
}

TEST(ProveedorDemo, ProcedureColumnsIncludeUsuario) {
    BaseConProveedor b;
    auto c = b.cn.execute("EXEC KS_RP_CambiosPreciosHis '01/01/2022', '1', '3', ''");
    ASSERT_TRUE(c);
    QStringList nombres;
    for (const auto& f : c->fields())
        nombres.append(f.name.toUpper());
    EXPECT_TRUE(nombres.contains("USUARIO"));
    EXPECT_TRUE(nombres.contains("ACTUAL"));
    EXPECT_TRUE(nombres.contains("ANTERIOR"));
    EXPECT_FALSE(c->fetch()); // no change before the first day of the history
}

// Every field the shipped report templates name exists in the demo database
// (tables and views, and the columns of the procedure's result).
TEST(ProveedorDemo, TemplateFieldsExist) {
    BaseConProveedor b;
    QDir plantillas(QStringLiteral(RP_SOURCE_DIR "/templates"));
    const QStringList archivos = plantillas.entryList({"*.rpt"}, QDir::Files);
    if (archivos.isEmpty())
        GTEST_SKIP() << "no templates in the source tree";
    QStringList columnasProcedimiento;
    {
        auto c = b.cn.execute("EXEC KS_RP_CambiosPreciosHis '01/01/2024', '1', '1', ''");
        ASSERT_TRUE(c);
        for (const auto& f : c->fields())
            columnasProcedimiento.append(f.name.toUpper());
    }
    BaseSqlitePrueba db(b.base.archivo);
    const QRegularExpression campo(QStringLiteral(R"(\{([A-Za-z_]+)(;1)?\.([A-Za-z_0-9]+)\})"));
    int vistos = 0;
    for (const QString& a : archivos) {
        QFile f(plantillas.filePath(a));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        for (const QString& linea : QString::fromUtf8(f.readAll()).split(u'\n')) {
            if (linea.trimmed().startsWith(u'#'))
                continue;
            auto it = campo.globalMatch(linea);
            while (it.hasNext()) {
                const auto m = it.next();
                ++vistos;
                if (!m.captured(2).isEmpty()) {
                    EXPECT_TRUE(columnasProcedimiento.contains(m.captured(3).toUpper()))
                        << a.toStdString() << ": " << m.captured(0).toStdString();
                } else {
                    db.filas(QStringLiteral("SELECT %1 FROM %2 WHERE 0")
                                 .arg(m.captured(3), m.captured(1)));
                    EXPECT_TRUE(db.error().isEmpty())
                        << a.toStdString() << ": " << m.captured(0).toStdString();
                }
            }
        }
    }
    EXPECT_GT(vistos, 10);
}

// The last-cost report looks up the latest change of every scanned row by
// trimmed code: that look-up is an index search, not a scan of the history.
TEST(ProveedorDemo, LastCostLookUpUsesAnIndex) {
    BaseConProveedor b;
    auto* proveedor = static_cast<SqliteProvider*>(b.cn.provider());
    const QString enviadas[] = {
        proveedor->rewrite("SELECT TOP 1 * FROM V_MV_PRECIOSHIS with(nolock)  WHERE "
                           "LTRIM(RTRIM(idarticulo)) ='17'   AND   Idlista='1' AND COSTO>0  "
                           "ORDER BY FECHAHORA DESC"),
        proveedor->rewrite("SELECT TOP 1 * FROM V_MV_PRECIOSHIS with(nolock)  WHERE "
                           "LTRIM(RTRIM(idarticulo)) ='17'   AND   Idlista='1' AND "
                           "FECHAHORA>'01/02/2024 10:20:30' AND COSTO>0"),
    };
    BaseSqlitePrueba db(b.base.archivo);
    for (const QString& sql : enviadas) {
        const auto plan = db.filas("EXPLAIN QUERY PLAN " + sql);
        ASSERT_TRUE(db.error().isEmpty()) << db.error().toStdString();
        QString texto;
        for (const auto& f : plan)
            texto += f.value(3).toString() + '\n';
        EXPECT_TRUE(texto.contains("IX_V_MV_PRECIOSHIS_CODIGO (<expr>=? AND IDLISTA=?)"))
            << sql.toStdString() << "\n"
            << texto.toStdString();
    }
}
