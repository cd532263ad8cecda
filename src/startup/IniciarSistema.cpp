#include "startup/IniciarSistema.h"

#include "db/DB_Dll.h"
#include "db/provider/ConnectionString.h"
#include "lookup/ArchivoConsultas.h"
#include "lookup/Lib_ClsCons3.h"
#include "startup/Configuracion.h"
#include "startup/MenuExes.h"
#include "startup/ParametrosLanzamiento.h"
#include "startup/RegistraAcceso.h"
#include "startup/Sesion.h"
#include "suite/Aplicacion.h"
#include "suite/ArchivoIni.h"
#include "suite/DLL_Print.h"
#include "suite/SistemaInfo.h"
#include "suite/Utilidades.h"

#include <QFileInfo>
#include <cmath>

namespace rp::startup {

using rp::db::DB_Dll;
using rp::db::DbError;
using rp::suite::ArchivoIni;
using rp::suite::Utilidades;

namespace {
const QString kIni = QStringLiteral("DA000va.INI");
}

QString ClaveEstacion() {
    return rp::suite::SistemaInfo::NombrePc().toUpper() + QLatin1Char('|') +
           rp::suite::SistemaInfo::NombreUsuarioPc().toUpper();
}

QString ParametrosDesdeIni(const QString& claveEstacion) {
    const QString seccion = claveEstacion + QStringLiteral("BaseDeDatos");
    auto leer = [&](const char* clave, const QString& porDefecto, bool decodificar) {
        QString v = ArchivoIni::LeerIni(kIni, seccion, QString::fromLatin1(clave), porDefecto);
        if (decodificar)
            v = Utilidades::DecodificarClave(v);
        return Utilidades::QuitarCaracter(v, QStringLiteral("|"));
    };
    const QString servidor = leer("Servidor", QString(), false);
    const QString base = leer("DbName", QString(), false);
    const QString usuario =
        leer("Usuario", Utilidades::CodificarClave(QStringLiteral("Kestrel")), true);
    const QString clave =
        leer("UserPassWord", Utilidades::CodificarClave(QStringLiteral("tapirus")), true);
    return QStringLiteral("@server=") + servidor + QStringLiteral("; @dbname= ") + base +
           QStringLiteral("; @usuario= ") + usuario + QStringLiteral("; @Password= ") + clave +
           QStringLiteral("; @ParametroAdicional=; @Caja=1;quim@");
}

void AbrirEstadisticas() {
    Sesion& s = sesion();
    DB_Dll& principal = rp::db::baseCompartida();
    DB_Dll& est = gDBEstadisticas();
    s.gTimeOut = 360;
    // Every step is skipped silently when it fails.
    auto paso = [](auto&& f) {
        try {
            f();
        } catch (const DbError&) {
        } catch (const std::exception&) {
        }
    };
    paso([&] {
        if (est.gCnn && est.gCnn->isOpen())
            est.gCnn->close();
    });
    est.gProveedor = DB_Dll::pSQLOLEDB();
    est.gServidor = principal.gServidor;
    est.gDBName = QStringLiteral("KS_ESTADISTICAS");
    est.gUsuario = QStringLiteral("KS_ESTADISTICAS");
    est.gUserPassWord = QStringLiteral("ZT_OBSERVATORIO");
    paso([&] { est.OpenServerADODB(false, 3, QString(), true, false); });
    if (est.gOpenFlag) {
        paso([&] { est.conexion().setDefaultDatabase(QStringLiteral("KS_ESTADISTICAS")); });
        paso([&] {
            QString aux;
            const double n =
                std::round(Utilidades::TextoANumero(CfgKS(QStringLiteral("TimeOut"), aux)));
            s.gTimeOut = (n > 32767 || n < -32768) ? 0 : static_cast<qint16>(n);
            if (s.gTimeOut == 0)
                GrabaCfgKS(QStringLiteral("TimeOut"), 0, QString(), false,
                           QStringLiteral("BaseDeDatos"), false);
        });
    }
    if (s.gTimeOut == 0)
        s.gTimeOut = 360;
}

ResultadoInicio IniciarSistema(bool usarIni, const QString& parametros, QString& cadenaConexion,
                               int ubicacionCursor) {
    Sesion& s = sesion();
    DB_Dll& db = rp::db::baseCompartida();
    try {
        // 1-2
        s.carpetaPrograma = Utilidades::RutaConBarra(rp::suite::Aplicacion::carpetaPrograma());
        s.archivoAyuda = s.carpetaPrograma + QStringLiteral("htmlhelp/ridirozavir.chm");
        // Bare database names of the embedded provider live in the program folder.
        rp::db::ProviderSettings ajustes = rp::db::providerSettings();
        ajustes.programFolder = s.carpetaPrograma;
        rp::db::setProviderSettings(ajustes);
        s.gColorFondoFoco = 0xFFFFFF;
        s.gColorLetraFoco = 0;

        // 3-4
        QString texto = parametros;
        if (texto.trimmed().isEmpty() && usarIni)
            texto = ParametrosDesdeIni(ClaveEstacion());

        // 5-6
        s.claveEstacion = ClaveEstacion();
        if (s.claveEstacion.trimmed().size() > 50)
            s.claveEstacion = s.claveEstacion.left(50);
        s.gFlatToolbars = Utilidades::NumeroInicial(ArchivoIni::LeerIni(
            kIni, s.claveEstacion, QStringLiteral("FlatToolbars"), QStringLiteral("1")));

        // 7-11
        if (!db.gOpenFlag) {
            ParametrosLanzamiento anterior;
            anterior.caja = s.gCaja;
            anterior.menu = s.gMenu;
            anterior.usuarioLogeado = s.gUsuarioLogeado;
            const ParametrosLanzamiento p = ParametrosLanzamiento::leer(texto, anterior);
            s.gParametroAdicional = p.parametroAdicional;
            s.gMenu = p.menu;
            s.gUsuarioLogeado = p.usuarioLogeado;
            s.gCaja = p.caja;
            db.gUsuario = p.usuario;
            db.gDBName = p.baseDatos;
            db.gUserPassWord = p.password;
            db.gServidor = NormalizarServidor(p.servidor);
            const bool pedir = p.servidor.trimmed().isEmpty() || p.usuario.trimmed().isEmpty();
            db.OpenServerADODB(pedir, ubicacionCursor, cadenaConexion, true, true);
            if (!db.gOpenFlag)
                return ResultadoInicio::Terminar;
            cadenaConexion = db.gConnString;

            // 12
            AbrirEstadisticas();
            s.gUsuarioLogeado = db.gUsuario;
            db.conexion().setCommandTimeout(s.gTimeOut);
            db.conexion().setIsolationLevel(rp::db::adXactReadUncommitted);
        }

        // 13-18
        if (!db.gDBName.isEmpty()) {
            s.gCadenaDSN = QStringLiteral("DSN=") + db.gDBName + QStringLiteral("; UID=") +
                           db.gUsuario + QStringLiteral("; PWD=") + db.gUserPassWord;
            // 15: the report output finds the templates in the program folder.
            rp::suite::dllPrint().pPathSistema = s.carpetaPrograma;
            // 16
            db.conexion().setDefaultDatabase(db.gDBName);
            rp::lookup::Lib_ClsCons3& consulta = rp::lookup::gConsulta();
            consulta.gConnString = db.gConnString;
            consulta.gUsarMascarasConsultas = true;
            consulta.gRutaMascaraConsultas = s.carpetaPrograma + QStringLiteral("consultas.kst");
            consulta.cfg = [](const QString& clave) { return Cfg(clave); };
            consulta.olvidarConfiguracion();
            consulta.lanzador = [](const QString& comando, const QString& parametro) {
                qint64 id = 0;
                MenuExes(comando, parametro, id);
            };
            if (!QFileInfo::exists(consulta.gRutaMascaraConsultas) &&
                !rp::lookup::ArchivoConsultas::crear(consulta.gRutaMascaraConsultas))
                return ResultadoInicio::Interrumpido;
            db.conexion().setDefaultDatabase(db.gDBName);
            // 19
            CargaConfiguracion(s.carpetaPrograma);
        }
        // 20
        RegistraAcceso(QString());
    } catch (const DbError&) {
        return ResultadoInicio::Interrumpido;
    }
    return ResultadoInicio::Completo;
}

} // namespace rp::startup
