#include "RewriteCase.h"

#include "db/provider/SqliteProcedures.h"

using namespace rp::db;

namespace {

struct ProcedureDatabase : rp::prueba::BaseTemporal {
    ProcedureDatabase() {
        createRewriteSample(*this);
        ejecutar(QStringLiteral("CREATE TABLE RP_PROCEDIMIENTOS (NOMBRE TEXT PRIMARY KEY COLLATE "
                                "MSSQL, PARAMETROS TEXT, CUERPO TEXT)"));
        ejecutar(QStringLiteral("INSERT INTO RP_PROCEDIMIENTOS VALUES (?, ?, ?)"),
                 {QStringLiteral("RP_Prueba"), QStringLiteral("@FECHA, @LISTA,@CLASE,@WHERE"),
                  QStringLiteral(
                      "SELECT TOP 100 PERCENT h.USUARIO, @CLASE AS CLASE FROM dbo.MV_PRECIOSHIS h "
                      "with(nolock) WHERE h.FECHAHORA <= @FECHA AND h.IDLISTA = @LISTA AND "
                      "h.IDARTICULO IN (SELECT V_MA_ARTICULOS.IDARTICULO FROM V_MA_ARTICULOS "
                      "{@WHERE}) ORDER BY h.FECHAHORA")});
    }
    QString users(const QString& sql, const QVariantList& params = {}) {
        return columna(sql, params).join(u'|');
    }
};

} // namespace

TEST(SqliteProcedures, ParsesTheCallForms) {
    SqliteProcedures::Call c;
    ASSERT_TRUE(SqliteProcedures::parseCall(
        QStringLiteral("EXEC dbo.KS_RP_CambiosPreciosHis '31/12/2024', 1, -2.5, NULL"), c));
    EXPECT_EQ(c.procedure, QStringLiteral("KS_RP_CambiosPreciosHis"));
    ASSERT_EQ(c.arguments.size(), 4);
    EXPECT_EQ(c.arguments[0].value.toString(), QStringLiteral("31/12/2024"));
    EXPECT_EQ(c.arguments[1].value.toLongLong(), 1);
    EXPECT_DOUBLE_EQ(c.arguments[2].value.toDouble(), -2.5);
    EXPECT_TRUE(c.arguments[3].value.isNull());
    ASSERT_TRUE(SqliteProcedures::parseCall(QStringLiteral("execute P @A = 'x', @B=?"), c));
    EXPECT_EQ(c.arguments[1].name, QStringLiteral("@B"));
    EXPECT_EQ(c.arguments[1].marker, 0);
    ASSERT_TRUE(SqliteProcedures::parseCall(QStringLiteral("{call P(?, ?)}"), c));
    EXPECT_EQ(c.arguments.size(), 2);
    ASSERT_TRUE(SqliteProcedures::parseCall(QStringLiteral("{? = call P}"), c));
    EXPECT_FALSE(SqliteProcedures::parseCall(QStringLiteral("SELECT 1"), c));
    EXPECT_FALSE(SqliteProcedures::parseCall(QStringLiteral("EXEC P 'a' 'b'"), c));
    EXPECT_FALSE(SqliteProcedures::parseCall(QStringLiteral("EXEC ('SELECT 1')"), c));
}

TEST(SqliteProcedures, ExecRunsTheBodyWithBoundParametersAndDynamicCondition) {
    ProcedureDatabase db;
    EXPECT_EQ(
        db.users(QStringLiteral("EXEC RP_Prueba '31/12/2024', '1', '0', ' WHERE "
                                "V_MA_ARTICULOS.IDARTICULO>=''                      100''  AND "
                                "V_MA_ARTICULOS.IDRUBRO<=''   1'' '")),
        QStringLiteral("Luis|ANA"));
    EXPECT_EQ(db.users(QStringLiteral("exec rp_prueba @LISTA='1', @FECHA='31/12/2024 23:00', "
                                      "@CLASE=0, @WHERE=''")),
              QStringLiteral("Luis|ANA|ana  "));
    EXPECT_EQ(db.users(QStringLiteral("{call RP_PRUEBA(?, ?, ?, ?)}"),
                       {QDateTime(QDate(2025, 1, 31), QTime(0, 0)), QStringLiteral("2"),
                        QStringLiteral("3"), QString()}),
              QStringLiteral("Ñoño"));
    auto c = db.conexion.execute(QStringLiteral("EXEC RP_Prueba '31/12/2024', '1', '7', ''"));
    ASSERT_TRUE(c && c->fetch());
    EXPECT_EQ(c->value(1).toString(), QStringLiteral("7"));
}

TEST(SqliteProcedures, BoundValuesCannotChangeTheStatement) {
    ProcedureDatabase db;
    EXPECT_EQ(db.users(QStringLiteral("EXEC RP_Prueba '31/12/2025', '1'' OR ''1''=''1', '0', ''")),
              QString());
}

TEST(SqliteProcedures, MissingProcedureAndWrongArgumentsAreErrors) {
    ProcedureDatabase db;
    const struct {
        const char* sql;
        const char* message;
    } cases[] = {
        {"EXEC NO_EXISTE 1", "Could not find stored procedure 'NO_EXISTE'."},
        {"EXEC RP_Prueba '31/12/2024', '1'",
         "Procedure or function 'RP_Prueba' expects parameter '@CLASE', which was not supplied."},
        {"EXEC RP_Prueba 1, 2, 3, 4, 5",
         "Procedure or function RP_Prueba has too many arguments specified."},
        {"EXEC RP_Prueba @NADA = 1", "@NADA is not a parameter for procedure RP_Prueba."},
    };
    for (const auto& k : cases) {
        db.conexion.clearErrors();
        try {
            db.conexion.execute(QString::fromUtf8(k.sql));
            ADD_FAILURE() << k.sql;
        } catch (const DbError& e) {
            EXPECT_EQ(e.description().toStdString(), std::string(k.message));
            ASSERT_EQ(db.conexion.errors().size(), 1);
            EXPECT_EQ(db.conexion.errors()[0].sqlState, QStringLiteral("42000"));
        }
    }
}

TEST(SqliteProcedures, DatabaseWithoutProcedureTable) {
    rp::prueba::BaseTemporal db;
    EXPECT_THROW(db.conexion.execute(QStringLiteral("EXEC X")), DbError);
    ASSERT_EQ(db.conexion.errors().size(), 1);
    EXPECT_EQ(db.conexion.errors()[0].nativeError, 2812);
}
