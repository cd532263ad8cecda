#include "startup/IniciarSistema.h"
#include "InicioPrueba.h"
#include "db/AccesoPrompt.h"
#include "lookup/Lib_ClsCons3.h"

#include <QFile>

namespace {

using namespace rp::startup;
using Prueba = rp::startup::test::InicioPrueba;

class Inicio : public Prueba {
protected:
    QString estadisticas;
    void SetUp() override {
        Prueba::SetUp();
        estadisticas = temporal.crear(QStringLiteral("KS_ESTADISTICAS.db"));
        rp::db::DB_Dll& est = gDBEstadisticas();
        datosSqlite(est, estadisticas);
        est.OpenServerADODB(false, 3, QString(), false, false);
        sql("CREATE TABLE TA_CONFIGURACION (Clave varchar(50) COLLATE MSSQL PRIMARY KEY, Valor "
            "varchar(255), ValorAux varchar(255), Grupo varchar(50), PoliticaNegocio int)",
            &est);
        est.gCnn->close();
        est.gOpenFlag = false;
        db.gCnn->close();
        db.gOpenFlag = false;
    }
    void TearDown() override {
        rp::db::test::reiniciar(gDBEstadisticas());
        Prueba::TearDown();
    }
    QString parametros() const {
        return "@server=sqlite; @dbname= " + archivo +
               "; @usuario= operador; @Password=; "
               "@Caja=3;quim@";
    }
};

TEST_F(Inicio, CompleteSessionFromTheLaunchString) {
    QString cadena;
    EXPECT_EQ(IniciarSistema(false, parametros(), cadena, 3), ResultadoInicio::Completo);
    const Sesion& s = sesion();
    EXPECT_EQ(s.gCaja, "3");
    EXPECT_EQ(s.gUsuarioLogeado, "operador");
    EXPECT_EQ(s.gCadenaDSN, "DSN=" + archivo + "; UID=operador; PWD=");
    EXPECT_EQ(s.gTimeOut, 360);
    EXPECT_TRUE(s.carpetaPrograma.endsWith('/'));
    EXPECT_EQ(QFile(dir.filePath("consultas.kst")).size(), 13222);
    EXPECT_EQ(rp::lookup::gConsulta().gRutaMascaraConsultas, s.carpetaPrograma + "consultas.kst");
    EXPECT_EQ(uno("SELECT COUNT(*) FROM Control_Acceso").toInt(), 1);
    EXPECT_EQ(configuracion().TablaConfiguracion, "ta_configuracion");
    // A missing or zero time-out is written back as 0 and read as 360.
    auto c = gDBEstadisticas().conexion().execute(
        "SELECT Valor, Grupo FROM TA_CONFIGURACION WHERE Clave = 'TIMEOUT'");
    ASSERT_TRUE(c && c->fetch());
    EXPECT_EQ(c->value(0).toString(), "0");
    EXPECT_EQ(c->value(1).toString(), "BaseDeDatos");
    EXPECT_EQ(db.gCnn->commandTimeout(), 360);
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(Inicio, TimeOutTakenFromTheStatisticsDatabase) {
    rp::db::DB_Dll& est = gDBEstadisticas();
    est.OpenServerADODB(false, 3, QString(), false, false);
    sql("INSERT INTO TA_CONFIGURACION (Clave, Valor) VALUES ('TimeOut', '45')", &est);
    est.gCnn->close();
    est.gOpenFlag = false;
    QString cadena;
    ASSERT_EQ(IniciarSistema(false, parametros(), cadena, 3), ResultadoInicio::Completo);
    EXPECT_EQ(sesion().gTimeOut, 45);
    EXPECT_EQ(db.gCnn->commandTimeout(), 45);
}

TEST_F(Inicio, NoParametersAsksForTheConnectionAndCancelEndsTheProgram) {
    bool preguntado = false;
    op.responderDialogo([&](rp::ui::DialogoModal& m) {
        preguntado = m.dialogName() == "frmAcceso";
        return false;
    });
    QString cadena;
    EXPECT_EQ(IniciarSistema(false, QString(), cadena, 3), ResultadoInicio::Terminar);
    EXPECT_TRUE(preguntado);
    EXPECT_EQ(sesion().gCaja, "1");
    EXPECT_TRUE(cajas().isEmpty()) << "cancelling ends without a message";
}

TEST_F(Inicio, AMissingStatisticsDatabaseIsOptional) {
    QFile::remove(estadisticas);
    QString cadena;
    EXPECT_EQ(IniciarSistema(false, parametros(), cadena, 3), ResultadoInicio::Completo);
    EXPECT_EQ(sesion().gTimeOut, 360);
    EXPECT_TRUE(cajas().isEmpty());
}

} // namespace
