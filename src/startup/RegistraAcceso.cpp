#include "startup/RegistraAcceso.h"

#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "startup/AvisoError.h"
#include "startup/FormatosFecha.h"
#include "startup/Sentencias.h"
#include "startup/Sesion.h"
#include "suite/Aplicacion.h"
#include "suite/SistemaInfo.h"
#include "suite/Utilidades.h"

#include <QHash>

namespace rp::startup {

using rp::db::DB_Dll;
using rp::db::DbError;

QString ProcesoRegistrado(const QString& proceso) {
    struct Regla {
        QStringList nombres;
        QString registrado;
    };
    static const QList<Regla> reglas = {
        {{"FS_V_MV_VENTAS", "FS_V_MV_VENTASh", "V_MV_VENTASPDVG", "V_MV_VENTASPDV"}, "V_MV_VENTAS"},
        {{"V_MV_VENTASPDVGEP"}, "V_MV_VENTASPDVG"},
        {{"FS_V_MV_COMANDAH"}, "FS_V_MV_COMANDA"},
        {{"EM_PLANILLAARTICULOS2"}, "EM_PLANILLAARTICULOS"},
        {{"EM_PLANILLAEDITDATOS2"}, "EM_PLANILLAEDITDATOS"},
        {{"V_MA_PRECIOS2"}, "V_MA_PRECIOS"},
        {{"V_MA_ARTICULOS2"}, "V_MA_ARTICULOS"},
        {{"UTLFISCALH"}, "UTLFISCAL"},
        {{"EM_DBACUM"}, "Controlbaseap"},
    };
    if (proceso.compare(QLatin1String("EM_Backup"), Qt::CaseInsensitive) == 0)
        return QString();
    for (const Regla& r : reglas) {
        if (r.nombres.contains(proceso, Qt::CaseInsensitive))
            return r.registrado;
    }
    return proceso;
}

bool ProcesoSinTarea(const QString& proceso) {
    static const QStringList sinTarea = {
        "UtlFiscal",           "UtlFiscalh",    "Utl_CtrlFiscal",        "Utl_CtrlFiscalh",
        "TIMERLIQUIDACION",    "Interface_Art", "MA_AFdesANEW",          "CONS_MV_ASIENTOS",
        "EM_DMD_InformeStock", "KSMAPA",        "INTERFACERECEPMAESTROS"};
    return sinTarea.contains(proceso, Qt::CaseInsensitive);
}

namespace {

QString sinApostrofes(QString s) {
    return s.remove(QLatin1Char('\''));
}

} // namespace

void RegistraAcceso(const QString& Proceso) {
    DB_Dll& db = rp::db::baseCompartida();
    Sesion& s = sesion();
    const QString ejecutable = rp::suite::Aplicacion::nombreEjecutable();
    QString proceso = Proceso.isEmpty() ? ejecutable : Proceso;
    s.gUsuarioLogeado = db.gUsuario;

    if (proceso.compare(QLatin1String("EM_Backup"), Qt::CaseInsensitive) == 0)
        return;
    proceso = ProcesoRegistrado(proceso);

    QString tarea;
    if (!ProcesoSinTarea(proceso)) {
        try {
            // Operator-typed names reach the statement with their apostrophes
            // doubled, so they can never change it.
            const QString usuario = rp::db::TextoVb::duplicarApostrofes(s.gUsuarioLogeado);
            const QString nombreProceso = rp::db::TextoVb::duplicarApostrofes(proceso);
            QString sql =
                QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , "
                               "TA_MENU.Nombre ") +
                QStringLiteral(" FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON "
                               "TA_TAREAS.TAREA = TA_MENU.Clave ") +
                QStringLiteral(" WHERE (TA_TAREAS.USUARIO = '") + usuario +
                QStringLiteral(" ') AND (TA_MENU.Proceso LIKE '%") + nombreProceso +
                QStringLiteral("%')");
            rp::db::Recordset rs;
            db.AbrirRecordset(sql, rs);
            if (rs.isOpen() && !rs.eof()) {
                tarea = rp::suite::Utilidades::TextoDeValor(rs.value(QStringLiteral("Nombre")));
            } else if (ejecutable.compare(QLatin1String("DA000VA"), Qt::CaseInsensitive) == 0) {
                tarea = QStringLiteral("Menu Principal");
            } else if (db.gDBName.compare(db.gUsuario, Qt::CaseInsensitive) == 0 ||
                       db.gUsuario.compare(QLatin1String("SUPERVISOR KESTREL MC"),
                                           Qt::CaseInsensitive) == 0) {
                tarea = ejecutable;
            }
            db.CierraRecordset(rs);
        } catch (const DbError&) {
        }
    }

    try {
        // The run's user name loses its apostrophes from here on.
        s.gUsuarioLogeado = sinApostrofes(s.gUsuarioLogeado);
        QString maquina = rp::suite::SistemaInfo::NombrePc().trimmed().toUpper();
        QString usuario = s.gUsuarioLogeado.trimmed().toUpper();
        QString formulario = proceso.trimmed().toUpper();
        QString tareaMayus = tarea.trimmed().toUpper();
        QString ingreso = FormatoFecha() + QLatin1Char(' ') + FormatoHora();
        QString nombreUsuario = s.gUsuarioLogeado;
        const QString marca = QStringLiteral("'");
        ListaCampos lista;
        AgregaValor(QStringLiteral("Maquina"), maquina, marca, true, lista);
        AgregaValor(QStringLiteral("Usuario"), usuario, marca, false, lista);
        AgregaValor(QStringLiteral("Formulario"), formulario, marca, false, lista);
        AgregaValor(QStringLiteral("Tarea"), tareaMayus, marca, false, lista);
        AgregaValor(QStringLiteral("Ingreso"), ingreso, marca, false, lista);
        AgregaValor(QStringLiteral("NombreUsuario"), nombreUsuario, marca, false, lista);
        QStringList script;
        QString condicion;
        ArmaSentencia(lista, script, QStringLiteral("Control_Acceso"), false, condicion, false);
        bool huboError = false;
        qint32 nativo = 0;
        QString sentencia;
        QString mensaje;
        GActualizarDatoScript(script, huboError, nativo, false, false, sentencia, mensaje, true);
    } catch (const DbError&) {
    }
}

} // namespace rp::startup
