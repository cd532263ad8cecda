// Values typed by the operator travel inside statements unchanged: each one
// is written by the literal builders and read back as it was, on the
// embedded provider and through ODBC (SQLite ODBC driver).
#include "DbPrueba.h"
#include "TextosHostiles.h"
#include "db/provider/ConnectionString.h"

namespace rp::db::test {
namespace {

class DbValoresTecleados : public DbPrueba, public ::testing::WithParamInterface<bool> {
protected:
    ProviderSettings anteriores = providerSettings();

    void SetUp() override {
        DbPrueba::SetUp();
        ProviderSettings s = anteriores;
        s.sqliteExtension = QStringLiteral(RP_SQLEXT_PATH);
        setProviderSettings(s);
        if (GetParam()) {
            datosSqlite(db);
            db.OpenServerADODB(false, 3,
                               QStringLiteral("DRIVER=SQLite3;Database=") + archivo +
                                   QStringLiteral(";"),
                               false, false);
        } else {
            abrir();
        }
        ASSERT_TRUE(db.gOpenFlag);
        ASSERT_TRUE(db.gCnn->isOpen());
        sql(QStringLiteral("CREATE TABLE VALORES (id int, v varchar(5000))"));
        sql(QStringLiteral("INSERT INTO VALORES VALUES (0, 'otro')"));
        int id = 1;
        for (const QString& v : rp::prueba::textosHostiles()) {
            try {
                db.conexion().execute(QStringLiteral("INSERT INTO VALORES VALUES (?, ?)"), nullptr,
                                      {id++, v});
            } catch (const DbError& e) {
                ADD_FAILURE() << e.description().toStdString();
            }
        }
    }
    void TearDown() override {
        setProviderSettings(anteriores);
        DbPrueba::TearDown();
    }
};

TEST_P(DbValoresTecleados, VuelvenSinCambiosPorCadaConstructorDeLiterales) {
    int id = 1;
    for (const QString& v : rp::prueba::textosHostiles()) {
        const std::string nombre = v.left(20).toStdString();
        // SQLValue: the literal read back by a query.
        QString consulta = QStringLiteral("SELECT ") + DB_Dll::SQLValue(v, QStringLiteral("'")) +
                           QStringLiteral(" AS v");
        Recordset rs;
        db.AbrirRecordset(consulta, rs);
        ASSERT_TRUE(rs.isOpen()) << nombre;
        EXPECT_EQ(rs.value(0).toString(), v) << nombre;
        db.CierraRecordset(rs);

        // Look-ups: the typed value finds its own row and no other.
        const QString esperado = QString::number(id);
        EXPECT_EQ(
            db.DatosTabla(QStringLiteral("VALORES"), v, QStringLiteral("id"), QStringLiteral("v"))
                .toString(),
            esperado)
            << nombre;
        EXPECT_EQ(db.DatosTabla(QStringLiteral("VALORES"), v, QStringLiteral("id"),
                                QStringLiteral("v"), 8, QStringLiteral("id > 0"), false)
                      .toString(),
                  esperado)
            << nombre;
        Recordset fila;
        EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("VALORES"), v, QStringLiteral("v"), &fila))
            << nombre;
        ASSERT_TRUE(fila.isOpen());
        EXPECT_EQ(fila.value(QStringLiteral("v")).toString(), v) << nombre;
        EXPECT_TRUE(db.ExisteEnTablaST(QStringLiteral("VALORES"), v, QStringLiteral("v")))
            << nombre;
        EXPECT_FALSE(db.ExisteEnTabla(QStringLiteral("VALORES"), v + QStringLiteral("x"),
                                      QStringLiteral("v")))
            << nombre;
        ++id;
    }
    EXPECT_TRUE(cajas().isEmpty()) << op.interacciones().value(0).texto.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Proveedores, DbValoresTecleados, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) {
                             return std::string(i.param ? "Odbc" : "Sqlite");
                         });

} // namespace
} // namespace rp::db::test
