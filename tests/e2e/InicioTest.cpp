// What each step of the start-up leaves behind, after the program is started
// as a person starts it on a fresh demo folder.
#include "ProgramaPrueba.h"

#include "db/DB_Dll.h"
#include "lookup/Lib_ClsCons3.h"
#include "startup/Configuracion.h"
#include "startup/Sesion.h"
#include "suite/DLL_Print.h"

#include <QFile>
#include <QFileInfo>

namespace {

using rp::e2e::ProgramaPrueba;

class InicioPrograma : public ProgramaPrueba {};

TEST_F(InicioPrograma, CadaPasoDejaSuEfecto) {
    const qint64 accesos =
        valor(QStringLiteral("SELECT COUNT(*) FROM Control_Acceso")).toLongLong();
    arrancar();
    const rp::startup::Sesion& s = rp::startup::sesion();
    rp::db::DB_Dll& db = rp::db::baseCompartida();

    // 1. Program folder, ending in "/", and the help file in it.
    EXPECT_EQ(QFileInfo(s.carpetaPrograma).canonicalFilePath(),
              QFileInfo(carpeta).canonicalFilePath());
    EXPECT_TRUE(s.carpetaPrograma.endsWith('/'));
    EXPECT_EQ(s.archivoAyuda, s.carpetaPrograma + "htmlhelp/ridirozavir.chm");
    // 5-6. Workstation key, no settings file: flat toolbars.
    EXPECT_TRUE(s.claveEstacion.contains('|'));
    EXPECT_EQ(s.gFlatToolbars, 1);
    // 8. The demo launch string: cash register 1, no additional parameter.
    EXPECT_EQ(s.gCaja, "1");
    EXPECT_EQ(s.gParametroAdicional, "");
    // 9-11. The main connection, open on the demo database.
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gServidor, "sqlite");
    EXPECT_EQ(db.gDBName, "EMPRESA_DEMO");
    EXPECT_EQ(db.gUsuario, "demo");
    // 12. Statistics database open; time-out and read-uncommitted isolation
    // on the main connection; the logged-on user is the connection's.
    EXPECT_TRUE(rp::startup::gDBEstadisticas().gOpenFlag);
    EXPECT_GT(s.gTimeOut, 0);
    EXPECT_EQ(db.conexion().commandTimeout(), s.gTimeOut);
    EXPECT_EQ(db.conexion().isolationLevel(), rp::db::adXactReadUncommitted);
    EXPECT_EQ(s.gUsuarioLogeado, "demo");
    // 14. The report engine's connect string.
    EXPECT_EQ(s.gCadenaDSN, "DSN=EMPRESA_DEMO; UID=demo; PWD=demo");
    // 15. The report output finds its templates in the program folder.
    EXPECT_EQ(rp::suite::dllPrint().pPathSistema, s.carpetaPrograma);
    // 16, 18. Default database.
    EXPECT_EQ(db.conexion().defaultDatabase(), "EMPRESA_DEMO");
    // 17. The lookup request, and its definition file created.
    const rp::lookup::Lib_ClsCons3& consulta = rp::lookup::gConsulta();
    EXPECT_EQ(consulta.gConnString, db.gConnString);
    EXPECT_TRUE(consulta.gUsarMascarasConsultas);
    EXPECT_EQ(consulta.gRutaMascaraConsultas, s.carpetaPrograma + "consultas.kst");
    EXPECT_TRUE(QFileInfo(consulta.gRutaMascaraConsultas).isFile());
    // 19. Configuration loaded: the company name of the demo.
    EXPECT_FALSE(rp::startup::Cfg(QStringLiteral("NOMBRE")).trimmed().isEmpty());
    // 20. One access row for this start.
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM Control_Acceso")).toLongLong(),
              accesos + 1);
}

// `--export` runs through the same assembly, without a window.
TEST_F(InicioPrograma, ExportarSinVentanas) {
    const QString csv = dir.filePath(QStringLiteral("historial.csv"));
    QString error;
    const auto opciones = rp::app::OpcionesPrograma::leer(
        {QStringLiteral("--demo"), QStringLiteral("--program-folder"), carpeta,
         QStringLiteral("--export"), csv, QStringLiteral("--tab"), QStringLiteral("0"),
         QStringLiteral("--field"), QStringLiteral("ListaDesde=1"), QStringLiteral("--field"),
         QStringLiteral("ListaHasta=1")},
        error);
    ASSERT_TRUE(opciones) << error.toStdString();
    programa = std::make_unique<rp::app::Ensamblaje>(*opciones, &guion);
    EXPECT_EQ(programa->arrancar(), std::optional<int>(0));
    EXPECT_EQ(programa->ventana(), nullptr);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_GT(f.readAll().count('\n'), 100);
    EXPECT_TRUE(mensajes().isEmpty()) << mensajes().join('\n').toStdString();
}

} // namespace
