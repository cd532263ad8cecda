#include "db/DB_Dll.h"
#include "suite/Regional.h"

#include <gtest/gtest.h>

using rp::db::DB_Dll;
using rp::db::DbError;

namespace {

class DbLiterales : public ::testing::Test {
protected:
    void SetUp() override { rp::suite::Regional::establecer(rp::suite::Regional::espaniol()); }
};

TEST_F(DbLiterales, ClasificaLosCodigosDeTipo) {
    for (int c : {7, 133, 134, 135, 137, 64})
        EXPECT_TRUE(DB_Dll::adodate(c)) << c;
    for (int c : {8, 129, 130, 200, 201, 202, 203})
        EXPECT_TRUE(DB_Dll::ADOText(c)) << c;
    for (int c : {2, 3, 4, 5, 14, 16, 17, 18, 19, 20, 21, 131})
        EXPECT_TRUE(DB_Dll::ADONumeric(c)) << c;
    EXPECT_FALSE(DB_Dll::ADONumeric(6));
    EXPECT_TRUE(DB_Dll::ADOCurrency(6));
    EXPECT_TRUE(DB_Dll::ADOBoolean(11));
    EXPECT_FALSE(DB_Dll::adodate(8));
    EXPECT_FALSE(DB_Dll::ADOText(999));
    EXPECT_TRUE(DB_Dll::ADOText(QStringLiteral("200"))) << "a code given as text counts";
    EXPECT_FALSE(DB_Dll::ADOText(QStringLiteral("abc")));
    EXPECT_EQ(DB_Dll::ADOComilla(135), "'");
    EXPECT_EQ(DB_Dll::ADOComilla(202), "'");
    EXPECT_EQ(DB_Dll::ADOComilla(6), "");
    EXPECT_EQ(DB_Dll::ADOComilla(3), "");
}

TEST_F(DbLiterales, SQLValueSegunLaMarca) {
    EXPECT_EQ(DB_Dll::SQLValue(QStringLiteral("abc"), "'"), "'abc'");
    EXPECT_EQ(DB_Dll::SQLValue(QVariant(), "'"), "NULL");
    EXPECT_EQ(DB_Dll::SQLValue(QVariant(), "@"), "0");
    EXPECT_EQ(DB_Dll::SQLValue(7, ""), "7");
    EXPECT_EQ(DB_Dll::SQLValue(QStringLiteral("12,50"), "@"), "12.5");
    EXPECT_EQ(DB_Dll::SQLValue(QStringLiteral("1.234,5"), "@"), "1234.5");
    EXPECT_EQ(DB_Dll::SQLValue(QStringLiteral("3,14159"), "@"), "3.1416") << "four decimals";
    EXPECT_EQ(DB_Dll::SQLValue(QStringLiteral("abc"), "@"), "0");
    EXPECT_EQ(DB_Dll::SQLValue(QStringLiteral("x y"), "?"), "x y");
}

TEST_F(DbLiterales, SQLValueDuplicaLosApostrofesDeUnTexto) {
    EXPECT_EQ(DB_Dll::SQLValue(QStringLiteral("O'Brien"), "'"), "'O''Brien'");
    EXPECT_EQ(DB_Dll::SQLValue(QStringLiteral("' OR '1'='1"), "'"), "''' OR ''1''=''1'");
    EXPECT_EQ(DB_Dll::SQLValue(QStringLiteral(""), "'"), "''");
}

TEST_F(DbLiterales, NombresDeObjetos) {
    EXPECT_EQ(DB_Dll::AddBrackets(QStringLiteral("Precio Venta")), "[Precio Venta]");
    EXPECT_EQ(DB_Dll::AddBrackets(QStringLiteral("[Precio Venta]")), "[Precio Venta]");
    EXPECT_EQ(DB_Dll::AddBrackets(QStringLiteral("PrecioVenta")), "PrecioVenta");
    EXPECT_EQ(DB_Dll::StripBrackets(QStringLiteral("[Precio Venta]")), "Precio Venta");
    EXPECT_EQ(DB_Dll::StripBrackets(QStringLiteral("Precio")), "Precio");

    QString tabla = QStringLiteral("dbo.MA_ARTICULOS");
    EXPECT_EQ(DB_Dll::StripOwner(tabla), "MA_ARTICULOS");
    EXPECT_EQ(tabla, "MA_ARTICULOS") << "the caller's variable changes";

    QString nombre = QStringLiteral("dbo.MA_ARTICULOS");
    EXPECT_EQ(DB_Dll::stSTF(nombre, true), "MA_ARTICULOS");
    EXPECT_EQ(DB_Dll::stSTF(nombre, false), "dbo");
    EXPECT_EQ(nombre, "dbo.MA_ARTICULOS");
    for (bool parte : {true, false}) {
        QString completo = QStringLiteral("EMPRESA.dbo.MA_ARTICULOS");
        EXPECT_EQ(DB_Dll::stSTF(completo, parte), "dbo.MA_ARTICULOS");
        EXPECT_EQ(completo, "dbo.MA_ARTICULOS");
    }
    QString simple = QStringLiteral("MA_ARTICULOS");
    EXPECT_EQ(DB_Dll::stSTF(simple, true), "MA_ARTICULOS");

    EXPECT_EQ(DB_Dll::StripConnect(QStringLiteral("MA_ARTICULOS ->SERVIDOR2")), "MA_ARTICULOS");
    EXPECT_EQ(DB_Dll::StripConnect(QStringLiteral("MA_ARTICULOS")), "MA_ARTICULOS");

    EXPECT_EQ(DB_Dll::StripFileName(QStringLiteral("C:\\SISTEMA\\REPORTES\\ventas.rpt")),
              "C:\\SISTEMA\\REPORTES");
    EXPECT_EQ(DB_Dll::StripFileName(QStringLiteral("/opt/sistema/reportes/ventas.rpt")),
              "/opt/sistema/reportes");
    EXPECT_EQ(DB_Dll::StripFileName(QStringLiteral("ventas.rpt")), "");
}

TEST_F(DbLiterales, ArgumentosInvalidosFallanConElCodigo5) {
    auto codigo = [](auto&& f) {
        try {
            f();
        } catch (const DbError& e) {
            return e.number();
        }
        return 0;
    };
    QString sinPunto = QStringLiteral("MA_ARTICULOS");
    EXPECT_EQ(codigo([&] { DB_Dll::stSTF(sinPunto, false); }), 5);
    EXPECT_EQ(codigo([] { DB_Dll::StripConnect(QStringLiteral("->SERVIDOR")); }), 5);
    EXPECT_EQ(codigo([] { DB_Dll::StripBrackets(QStringLiteral("[")); }), 5);
}

} // namespace
