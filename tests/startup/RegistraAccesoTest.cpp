#include "startup/RegistraAcceso.h"
#include "InicioPrueba.h"
#include "suite/SistemaInfo.h"

namespace {

using namespace rp::startup;
using Prueba = rp::startup::test::InicioPrueba;

TEST(RegistraAcceso, ProcessNameMapping) {
    EXPECT_EQ(ProcesoRegistrado("fs_v_mv_ventash"), "V_MV_VENTAS");
    EXPECT_EQ(ProcesoRegistrado("V_MV_VENTASPDVGEP"), "V_MV_VENTASPDVG");
    EXPECT_EQ(ProcesoRegistrado("em_dbacum"), "Controlbaseap");
    EXPECT_EQ(ProcesoRegistrado("rp_tarifario"), "rp_tarifario");
    EXPECT_EQ(ProcesoRegistrado("EM_BACKUP"), "");
    EXPECT_TRUE(ProcesoSinTarea("utlfiscal"));
    EXPECT_FALSE(ProcesoSinTarea("rp_tarifario"));
}

TEST_F(Prueba, LogsTheTaskOfTheUsersMenuEntry) {
    db.gUsuario = "o'neil";
    sql("INSERT INTO TA_TAREAS VALUES ('o''neil', 'T1')");
    sql("INSERT INTO TA_MENU VALUES ('T1', 'MENU_RP_TARIFARIO_X', 'Precios históricos')");
    RegistraAcceso();
    auto c = db.conexion().execute(
        "SELECT Maquina, Usuario, Formulario, Tarea, Ingreso, NombreUsuario FROM Control_Acceso");
    ASSERT_TRUE(c && c->fetch());
    EXPECT_EQ(c->value(0).toString(), rp::suite::SistemaInfo::NombrePc().trimmed().toUpper());
    EXPECT_EQ(c->value(1).toString(), "ONEIL");
    EXPECT_EQ(c->value(2).toString(), "RP_TARIFARIO");
    EXPECT_EQ(c->value(3).toString(), "PRECIOS HISTÓRICOS");
    EXPECT_FALSE(c->value(4).toString().isEmpty());
    EXPECT_EQ(c->value(5).toString(), "oneil");
    EXPECT_FALSE(c->fetch());
    EXPECT_EQ(sesion().gUsuarioLogeado, "oneil");
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(Prueba, TaskRulesWithoutAMenuEntry) {
    db.gUsuario = "ANA";
    RegistraAcceso();
    EXPECT_EQ(uno("SELECT COALESCE(Tarea, '') FROM Control_Acceso").toString(), "");

    // A user named like the database logs the program itself.
    sql("DELETE FROM Control_Acceso");
    db.gUsuario = db.gDBName;
    RegistraAcceso();
    EXPECT_EQ(uno("SELECT Tarea FROM Control_Acceso").toString(), "RP_TARIFARIO");

    sql("DELETE FROM Control_Acceso");
    RegistraAcceso("EM_Backup");
    EXPECT_EQ(uno("SELECT COUNT(*) FROM Control_Acceso").toInt(), 0);
}

} // namespace
