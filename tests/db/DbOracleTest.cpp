#include "CasosTexto.h"
#include "db/DB_Dll.h"
#include "suite/Regional.h"

#include <gtest/gtest.h>

using rp::db::DB_Dll;
using rp::db::DbError;

namespace {

class DbOracle : public ::testing::Test {
protected:
    DB_Dll db;
    void SetUp() override {
        rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
        db.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;"
                                        "Password=p;");
    }
    QString t(const QString& s) { return db.ORACLE_Dicc(s); }
};

TEST_F(DbOracle, SinOracleElTextoQuedaIgual) {
    db.gConnString = QStringLiteral("PROVIDER=SQLOLEDB;Server=S;Database =D;UId=u;Pwd=;");
    const QString s = QStringLiteral("SELECT TOP 5 [A B], LEN(x) FROM T WHERE F = '01/03/2024'");
    EXPECT_EQ(t(s), s);
}

// The translation cases of oracle/*.test: "written:" the statement as the
// program writes it, "oracle:" what Oracle receives (escapes of desescapar).
const QString kCarpetaOracle = QStringLiteral(RP_SOURCE_DIR "/tests/db/oracle");
const QStringList kClavesOracle = {QStringLiteral("written"), QStringLiteral("oracle")};

rp::prueba::LecturaCasos casosOracle() {
    return rp::prueba::leerCasos(kCarpetaOracle, kClavesOracle, kClavesOracle);
}

class DbOracleCasos : public ::testing::TestWithParam<rp::prueba::CasoTexto> {};

TEST_P(DbOracleCasos, SeTraduceComoDiceElCaso) {
    const rp::prueba::CasoTexto& c = GetParam();
    const std::optional<QString> escrita =
        rp::prueba::desescapar(c.valor(QStringLiteral("written")));
    const std::optional<QString> oracle = rp::prueba::desescapar(c.valor(QStringLiteral("oracle")));
    ASSERT_TRUE(escrita && oracle) << c.donde().toStdString() << ": a bad \\ escape";
    DB_Dll db;
    db.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;"
                                    "Password=p;");
    rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
    EXPECT_EQ(db.ORACLE_Dicc(*escrita).toStdString(), oracle->toStdString())
        << c.donde().toStdString() << " " << c.nombre.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Archivos, DbOracleCasos, ::testing::ValuesIn(casosOracle().casos),
                         [](const ::testing::TestParamInfo<rp::prueba::CasoTexto>& info) {
                             return rp::prueba::nombreDePrueba(info.param);
                         });

TEST(DbOracleArchivos, SinFallasYConCasos) {
    const rp::prueba::LecturaCasos r = casosOracle();
    for (const QString& e : r.errores)
        ADD_FAILURE() << e.toStdString();
    EXPECT_GE(r.casos.size(), 20);
}

TEST_F(DbOracle, FallasDeArgumento) {
    auto codigo = [&](const QString& s) {
        try {
            t(s);
        } catch (const DbError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(codigo(QStringLiteral("SELECT a FROM T WHERE b = 'abc")), 5);
    EXPECT_EQ(codigo(QStringLiteral("SELECT a FROM T ORDER BY top 5")), 5);
}

TEST(DescartaSentencia, VaciaLasQueOracleNoAcepta) {
    QString a = QStringLiteral("set nocount on");
    EXPECT_EQ(DB_Dll::DescartaSentencia(a), "");
    EXPECT_EQ(a, "");
    QString b = QStringLiteral("IF NOT EXISTS (SELECT 1 FROM T) CREATE TABLE T (a int)");
    EXPECT_EQ(DB_Dll::DescartaSentencia(b), "");
    QString c = QStringLiteral("INSERT INTO T VALUES (1)");
    EXPECT_EQ(DB_Dll::DescartaSentencia(c), "INSERT INTO T VALUES (1)");
}

} // namespace
