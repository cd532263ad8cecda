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

TEST_F(DbOracle, UnaSolaPalabra) {
    EXPECT_EQ(t(QStringLiteral("len")), "LENGTH");
    EXPECT_EQ(t(QStringLiteral("LEN(Nombre)")), "LEN(Nombre)");
    EXPECT_EQ(t(QStringLiteral("Codigo")), "Codigo");
}

TEST_F(DbOracle, EjemplosDeTraduccion) {
    EXPECT_EQ(t(QStringLiteral("SELECT TOP 5 Codigo FROM MA_ARTICULOS ORDER BY Codigo")),
              "SELECT  Codigo FROM MA_ARTICULOS    WHERE ROWNUM <= 5  ORDER BY Codigo");
    EXPECT_EQ(t(QStringLiteral("SELECT TOP 1 * FROM MA_ARTICULOS WHERE IdRubro = 3")),
              "SELECT  * FROM MA_ARTICULOS WHERE IdRubro = 3  AND ROWNUM <= 1  ");
    EXPECT_EQ(t(QStringLiteral("SELECT x FROM T WHERE Fecha >= '01/03/2024'")),
              "SELECT x FROM T WHERE Fecha >= TO_DATE('01/03/2024','DD/MM/YYYY')");
    EXPECT_EQ(t(QStringLiteral("SELECT x FROM T WHERE Fecha >= '1/3/24'")),
              "SELECT x FROM T WHERE Fecha >= TO_DATE('01/03/2024','DD/MM/YYYY')");
    const QString yaTraducida =
        QStringLiteral("SELECT x FROM T WHERE Fecha >= TO_DATE('01/03/2024','DD/MM/YYYY')");
    EXPECT_EQ(t(yaTraducida), yaTraducida);
    EXPECT_EQ(t(QStringLiteral("SELECT CONVERT(NVARCHAR, FechaAlta, 103) FROM MA_CLIENTES")),
              "SELECT TO_CHAR( FechaAlta, 'DD/MM/YYYY') FROM MA_CLIENTES");
    EXPECT_EQ(t(QStringLiteral("SELECT ISNULL(Precio,0) FROM [LISTA PRECIOS] WHERE Nombre=''")),
              "SELECT NVL(Precio,0) FROM \"LISTA PRECIOS\" WHERE Nombre IS NULL ");
}

TEST_F(DbOracle, ReglasDeFuncionesYLimites) {
    EXPECT_EQ(t(QStringLiteral("SELECT a FROM T WHERE LEN  (x) > 2 AND Charindex('a',y) > 0")),
              "SELECT a FROM T WHERE LENGTH(x) > 2 AND InStr('a',y) > 0");
    EXPECT_EQ(t(QStringLiteral("LEN(x) FROM T")), "LEN(x) FROM T") << "no blank before LEN";
    EXPECT_EQ(t(QStringLiteral("SELECT SUBSTRING(a,1,2), CONVERT(INT, b) FROM T")),
              "SELECT SUBSTR(a,1,2), TO_NUMBER( b) FROM T");
    // TOP is a row limit only as a word of its own: a column or table whose
    // name ends in "top" stays as written.
    EXPECT_EQ(t(QStringLiteral("SELECT DESKTOP x FROM T")), "SELECT DESKTOP x FROM T");
    EXPECT_EQ(t(QStringLiteral("SELECT x FROM DESKTOP WHERE a = 1")),
              "SELECT x FROM DESKTOP WHERE a = 1");
    EXPECT_EQ(t(QStringLiteral("SELECT top 2 DESKTOP FROM T")),
              "SELECT  DESKTOP FROM T  WHERE ROWNUM <= 2  ");
    // GROUP BY carries the whole tail, ORDER BY included.
    EXPECT_EQ(t(QStringLiteral("SELECT TOP 3 a, COUNT(*) FROM T GROUP BY a ORDER BY a")),
              "SELECT  a, COUNT(*) FROM T    WHERE ROWNUM <= 3  GROUP BY a ORDER BY a ");
}

TEST_F(DbOracle, TextosQueNoSonFechasYCodigos103) {
    EXPECT_EQ(t(QStringLiteral("SELECT a FROM T WHERE b = 'ABC' AND c = 'DD/MM/YYYY'")),
              "SELECT a FROM T WHERE b = 'ABC' AND c = 'DD/MM/YYYY'");
    EXPECT_EQ(t(QStringLiteral("SELECT a FROM T WHERE (Codigo = 1030)")),
              "SELECT a FROM T WHERE (Codigo = 1030)");
    EXPECT_EQ(t(QStringLiteral("SELECT a = '' FROM T WHERE b = ''")),
              "SELECT a = '' FROM T WHERE b  IS NULL ");
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
