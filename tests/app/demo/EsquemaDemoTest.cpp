// The demo schema holds every object the program reads or writes, with the
// columns its statements name, and takes the program's writes.
#include "BaseSqlitePrueba.h"

#include "app/demo/DemoDatos.h"
#include "db/provider/SqlServerText.h"

#include <QHash>

using namespace rp::demo;
using namespace rp::demo::test;

namespace {

struct Objeto {
    const char* nombre;
    const char* columnas;
};

// Objects and columns named by the program's statements, report fields,
// lookups and writes.
const Objeto kObjetosEmpresa[] = {
    // price history, its reports and the report by date
    {"V_MV_PRECIOSHIS",
     "IdLista, IdArticulo, FechaHora, Usuario, COSTO, PRECIO1, PRECIO2, PRECIO3, PRECIO4, "
     "PRECIO5, PRECIO6, PRECIO7, PRECIO8, IMPUESTOS, COSTOANT, PRECIO1ANT, PRECIO8ANT"},
    {"V_MA_ARTICULOS",
     "IDARTICULO, Descripcion, idrubro, idtipo, cuentaProveedor, idfamilia, FHULTIMOCOSTO, "
     "SUSPENDIDO"},
    {"VT_MA_ARTICULOS", "DESCRIPCION, IDARTICULO, SUSPENDIDO, PUNTOPEDIDO, Stock"},
    {"V_MA_PRECIOSCAB", "IDLISTA, NOMBRE"},
    {"V_TA_FAMILIAS", "IDFAMILIA, DESCRIPCION"},
    {"SS_V_TA_FAMILIAS", "IDFAMILIA, DESCRIPCION"},
    {"vt_proveedores", "codigo, RAZON_SOCIAL, Dada_De_Baja"},
    {"VT_CLIENTES", "RAZON_SOCIAL, CODIGO, CONTACTO, Dada_De_Baja"},
    {"v_ta_rubros", "idrubro, DESCRIPCION"},
    {"TA_USUARIOS", "NOMBRE, Administrador, UNegocio, verproforma"},
    // configuration, access log, errors
    {"TA_CONFIGURACION", "CLAVE, VALOR, VALORAUX, GRUPO, POLITICANEGOCIO"},
    {"TA_TAREAS", "USUARIO, TAREA"},
    {"TA_MENU", "Clave, Proceso, Nombre"},
    {"Control_Acceso", "Maquina, Usuario, Formulario, Tarea, Ingreso, NombreUsuario"},
    {"AUX_ERR", "Proceso, fecha, Error, Descripcion, SQL, Pc, Usuario"},
    // report template resolution
    {"TA_REPORTES", "NOMBRE, Archivo, Archivo2, Archivo3, Archivo4"},
    {"V_MV_CPTE_ELECTRONICOS", "TC, IDCOMPROBANTE"},
    {"V_MV_CPTE", "TC, IDCOMPROBANTE, UNEGOCIO"},
    {"V_TA_UNIDADNEGOCIO", "CODIGO, PDV, ruta_reporte, usaefc, Descripcion"},
    {"V_TA_CPTE", "Codigo, SISTEMA"},
    // lookups: shortage notices, default lookup definitions, tree accept
    {"V_MV_FALTANTES", "FechaHora, IdArticulo, Descripcion, Usuario"},
    {"MA_CUENTAS", "DESCRIPCION, CODIGO"},
    {"SS_MA_CUENTAS", "DESCRIPCION, CODIGO"},
    {"V_TA_DEPOSITO", "Descripcion, IdDeposito, UnidadNegocio"},
    {"SS_V_TA_DEPOSITO", "Descripcion, IdDeposito, UnidadNegocio"},
    {"V_TA_VENDEDORES", "NOMBRE, IDVENDEDOR"},
    {"V_TA_TECNICOS", "NOMBRE, IDTECNICO"},
    {"V_MA_MANTENIMIENTOS", "DESCRIPCION, CODIGO"},
    {"V_TA_Tareas", "Descripcion, IdTarea"},
    {"MA_CONTACTOS", "Nombre_y_Apellido, Domicilio, Localidad, Telefono"},
    {"MA_POSICIONES", "IDPOSICION"},
    {"TA_CCOSTO", "CODIGO"},
    // stored procedures
    {"RP_PROCEDIMIENTOS", "NOMBRE, PARAMETROS, CUERPO"},
};

} // namespace

TEST(EsquemaDemo, EveryObjectTheProgramReadsHasItsColumns) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    for (const Objeto& o : kObjetosEmpresa) {
        db.filas(QStringLiteral("SELECT %1 FROM %2 WHERE 0").arg(o.columnas, o.nombre));
        EXPECT_TRUE(db.error().isEmpty()) << o.nombre << ": " << db.error().toStdString();
    }
}

TEST(EsquemaDemo, StatisticsDatabaseHasTheConfigurationTable) {
    QTemporaryDir dir;
    const QString archivo = dir.filePath("KS_ESTADISTICAS.db");
    ASSERT_TRUE(DemoDatos().generarEstadisticas(archivo));
    BaseSqlitePrueba db(archivo);
    db.filas("SELECT CLAVE, VALOR, VALORAUX, GRUPO, POLITICANEGOCIO FROM TA_CONFIGURACION WHERE 0");
    EXPECT_TRUE(db.error().isEmpty()) << db.error().toStdString();
}

TEST(EsquemaDemo, TextComparisonsIgnoreCaseAndTrailingBlanks) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM TA_CONFIGURACION WHERE CLAVE = 'timeout' OR CLAVE = "
                       "'nom_pclase2   '")
                  .toLongLong(),
              1);
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM TA_USUARIOS WHERE NOMBRE = 'DEMO  '").toLongLong(), 1);
    // Leading blanks count: the stored code form is needed.
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM V_TA_RUBROS WHERE IDRUBRO = '1'").toLongLong(), 0);
}

// The description index is stamped with the collation order it was built
// under, so a program with another order rebuilds it rather than reading a
// stale order; the article lookup's statement reads that index alone.
TEST(EsquemaDemo, DescriptionIndexCarriesTheCollationStamp) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    EXPECT_EQ(db.valor("SELECT VERSION FROM RP_COLLATION").toInt(),
              rp::db::mssql::kCollationVersion);
    QString plan;
    for (const QVariantList& paso :
         db.filas("EXPLAIN QUERY PLAN SELECT DESCRIPCION, IDARTICULO FROM VT_MA_ARTICULOS WHERE "
                  "SUSPENDIDO = 0 ORDER BY DESCRIPCION LIMIT 1000"))
        plan += paso.value(3).toString() + QLatin1Char('\n');
    EXPECT_TRUE(plan.contains("COVERING INDEX IX_V_MA_ARTICULOS_DESCRIPCION"))
        << plan.toStdString();
}

TEST(EsquemaDemo, TakesTheProgramsWrites) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    const QString art = QString(24, QLatin1Char(' ')) + "1";
    EXPECT_TRUE(db.ejecutar("UPDATE V_MA_ARTICULOS SET FHULTIMOCOSTO='2024-05-02 10:11:12' WHERE "
                            "IDARTICULO='" +
                            art + "'"))
        << db.error().toStdString();
    EXPECT_EQ(db.valor("SELECT FHULTIMOCOSTO FROM VT_MA_ARTICULOS WHERE IDARTICULO='" + art + "'")
                  .toString(),
              "2024-05-02 10:11:12");
    EXPECT_TRUE(db.ejecutar("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) "
                            "values('2024-05-02 10:11:12','" +
                            art + "','Tornillo','demo')"))
        << db.error().toStdString();
    EXPECT_TRUE(db.ejecutar("INSERT INTO Control_Acceso (Maquina, Usuario, Formulario, Tarea, "
                            "Ingreso, NombreUsuario) VALUES ('PC07', 'DEMO', 'RP_TARIFARIO', "
                            "'REPORTE HISTÓRICO DE PRECIOS', '09/12/26 10:30', 'demo')"))
        << db.error().toStdString();
    EXPECT_TRUE(db.ejecutar("INSERT INTO AUX_ERR (Proceso, fecha, Error, Descripcion, SQL, Pc, "
                            "Usuario) VALUES ('RP_TARIFARIO', '09/12/26 10:30', -2147217900, "
                            "'Incorrect syntax', 'SELEC 1', 'PC07', 'demo')"))
        << db.error().toStdString();
    EXPECT_TRUE(db.ejecutar("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor, PoliticaNegocio) "
                            "VALUES ('BaseDeDatos', 'TIMEOUT', '0', 0)"))
        << db.error().toStdString();
    // A second row for a key differing only in case is refused.
    EXPECT_FALSE(
        db.ejecutar("INSERT INTO TA_CONFIGURACION (Clave, Valor) VALUES ('timeout', '1')"));
}

// The family tree statement of the lookup, in SQLite's own dialect: every
// family with the code of its parent (the greatest shorter code sorting
// before it), null for the first level.
TEST(EsquemaDemo, FamilyTreeStatementFindsEveryParent) {
    BaseGenerada g;
    BaseSqlitePrueba db(g.archivo);
    const auto filas = db.filas(
        "SELECT IdFamilia, Descripcion, (SELECT idfamilia FROM v_ta_familias a "
        "Where a.IdFamilia < b.IdFamilia And (length(ltrim(rtrim(a.IdFamilia))) < "
        "length(ltrim(rtrim(b.IdFamilia)))) ORDER BY idfamilia DESC LIMIT 1) AS [relative] "
        "FROM V_TA_FAMILIAS b Where IdFamilia<>'' ORDER BY IdFamilia");
    ASSERT_TRUE(db.error().isEmpty()) << db.error().toStdString();
    ASSERT_EQ(filas.size(), db.valor("SELECT COUNT(*) FROM V_TA_FAMILIAS").toLongLong());
    int niveles[4] = {0, 0, 0, 0};
    for (const auto& f : filas) {
        const QString codigo = f[0].toString();
        ASSERT_EQ(codigo.size() % 2, 0);
        ++niveles[std::min(3, static_cast<int>(codigo.size() / 2))];
        if (codigo.size() == 2)
            EXPECT_TRUE(f[2].isNull()) << codigo.toStdString();
        else
            EXPECT_EQ(f[2].toString(), codigo.left(codigo.size() - 2)) << codigo.toStdString();
    }
    EXPECT_EQ(niveles[1], 8);
    EXPECT_GT(niveles[2], 8);
    EXPECT_GT(niveles[3], niveles[2]);
}
