#include "db/DB_Dll.h"
#include "suite/Aplicacion.h"

#include <gtest/gtest.h>

using rp::db::DB_Dll;

namespace {

class DbSinonimos : public ::testing::Test {
protected:
    DB_Dll db;
    void SetUp() override {
        rp::suite::Aplicacion::establecerNombreEjecutable(QStringLiteral("rp_tarifario"));
        DB_Dll::setConfidencialidad(false);
    }
    void TearDown() override {
        rp::suite::Aplicacion::establecerNombreEjecutable(QStringLiteral("rp_tarifario"));
        DB_Dll::setConfidencialidad(false);
    }
    QString s(const QString& sql) { return db.SS_TSinonimos(sql); }
};

TEST_F(DbSinonimos, EjemplosParaQuienNoEsAdministrador) {
    const QString sql = QStringLiteral(
        "select * from ma_cuentas where codigo in (select cuenta from MV_ASIENTOS )");
    DB_Dll::setConfidencialidad(true);
    EXPECT_EQ(s(sql), "select * from SS_MA_CUENTAS where codigo in (select cuenta from "
                      "SS_MV_ASIENTOS )");
    DB_Dll::setConfidencialidad(false);
    EXPECT_EQ(s(sql), sql);
    for (bool c : {true, false}) {
        DB_Dll::setConfidencialidad(c);
        EXPECT_EQ(s(QStringLiteral("select * from @Admin_MA_CUENTAS where codigo = 1")),
                  "select * from MA_CUENTAS where codigo = 1");
    }
}

TEST_F(DbSinonimos, TablaDeObjetosYDelimitadores) {
    struct Caso {
        const char* entrada;
        const char* salida;
    };
    const Caso casos[] = {
        {"select a from V_TA_DEPOSITO where x", "select a from SS_V_TA_DEPOSITO where x"},
        {"select a from (V_TA_CAJAS inner join", "select a from (SS_V_TA_CAJAS inner join"},
        {"select V_TA_FAMILIAS.a from x", "select SS_V_TA_FAMILIAS.a from x"},
        {"select count(AC_CUENTASDIARIO.a) from x", "select count(SS_AC_CUENTASDIARIO.a) from x"},
        {"select x.a,AC_CUENTASDIARIO_CCOSTO.b from AC_CUENTASDIARIO_CCOSTO where",
         "select x.a,SS_AC_CUENTAS_DIARIO_CCOSTO.b from SS_AC_CUENTAS_DIARIO_CCOSTO where"},
        {"{MA_CUENTAS.Nombre} = 'x'", "{SS_MA_CUENTAS.Nombre} = 'x'"},
        {"{V_TA_CAJAS.Nombre} = 'x'", "{V_TA_CAJAS.Nombre} = 'x'"},
        // Not rewritten: end of text, line break, tab, brackets, owner, prefix.
        {"select * from MA_CUENTAS", "select * from MA_CUENTAS"},
        {"select * from MA_CUENTAS\nwhere", "select * from MA_CUENTAS\nwhere"},
        {"select * from\tMA_CUENTAS where", "select * from\tMA_CUENTAS where"},
        {"select * from [MA_CUENTAS] where", "select * from [MA_CUENTAS] where"},
        {"select * from dbo.MA_CUENTAS where", "select * from dbo.MA_CUENTAS where"},
        {"select * from\nMA_CUENTAS where", "select * from\nMA_CUENTAS where"},
        {"select * from SS_MA_CUENTAS where", "select * from SS_MA_CUENTAS where"},
        {"select * from @admin_ma_cuentas where", "select * from MA_CUENTAS where"},
        {"select * from @ADMIN_V_TA_CAJAS where", "select * from V_TA_CAJAS where"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(s(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.salida)) << c.entrada;
}

TEST_F(DbSinonimos, AsientosSegunElInterruptorEnCualquierLetra) {
    EXPECT_EQ(s(QStringLiteral("select * from mv_asientos where MA_CUENTAS = 1")),
              "select * from mv_asientos where MA_CUENTAS = 1");
    DB_Dll::setConfidencialidad(true);
    EXPECT_EQ(s(QStringLiteral("select * from mv_asientos where x")),
              "select * from SS_MV_ASIENTOS where x");
}

TEST_F(DbSinonimos, AdministradorSoloPierdeLasMarcas) {
    db.gEsAdmin = true;
    DB_Dll::setConfidencialidad(true);
    EXPECT_EQ(s(QStringLiteral("select * from MA_CUENTAS join @Admin_V_TA_CAJAS on x")),
              "select * from MA_CUENTAS join V_TA_CAJAS on x");
}

TEST_F(DbSinonimos, ExcepcionesPorNombreDeEjecutable) {
    const QString depo = QStringLiteral("select * from V_TA_DEPOSITO where x");
    const QString fam = QStringLiteral("select * from V_TA_FAMILIAS where x");
    rp::suite::Aplicacion::establecerNombreEjecutable(QStringLiteral("rp_stock"));
    EXPECT_EQ(s(depo), depo);
    EXPECT_EQ(s(fam), "select * from SS_V_TA_FAMILIAS where x");
    rp::suite::Aplicacion::establecerNombreEjecutable(QStringLiteral("V_CONS_FICHA_STOCK"));
    EXPECT_EQ(s(depo), depo);
    rp::suite::Aplicacion::establecerNombreEjecutable(QStringLiteral("KSTrans"));
    EXPECT_EQ(s(fam), fam);
    EXPECT_EQ(s(depo), "select * from SS_V_TA_DEPOSITO where x");
    rp::suite::Aplicacion::establecerNombreEjecutable(QStringLiteral("SSL"));
    EXPECT_EQ(s(fam), fam);
}

} // namespace
