#include "startup/GrabaErrorAux.h"

#include "db/DB_Dll.h"
#include "suite/Aplicacion.h"
#include "suite/Regional.h"
#include "suite/SistemaInfo.h"
#include "suite/Utilidades.h"

#include <QDateTime>

namespace rp::startup {

using rp::db::DB_Dll;
using rp::db::DbError;
using rp::db::Recordset;

namespace {

// "dd/mm/yy hh:mm" with the workstation's date separator.
QString fechaHora() {
    const QString sep = QString(rp::suite::Regional::actual().separadorFecha);
    return QDateTime::currentDateTime().toString(QStringLiteral("dd") + sep + QStringLiteral("MM") +
                                                 sep + QStringLiteral("yy hh:mm"));
}

} // namespace

void GrabaErrorAux(const QString& SQL, const QString& Proceso, qint32 Error,
                   const QString& Descripcion) {
    DB_Dll& db = rp::db::baseCompartida();
    const QString proceso = Proceso.isEmpty() ? rp::suite::Aplicacion::nombreEjecutable() : Proceso;
    try {
        // Without the table the row is lost silently: the record-set open
        // would otherwise put a failure report in front of the operator.
        if (!db.gCnn || !db.gCnn->isOpen() || !db.ExisteTablaDB(QStringLiteral("AUX_ERR")))
            return;
        QString sentencia = QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) ");
        Recordset rs;
        db.AbrirRecordset(sentencia, rs, nullptr, rp::db::adOpenDynamic, rp::db::adLockOptimistic,
                          -1, true);
        if (!rs.isOpen())
            return;
        try {
            rs.addNew();
            rs.setValue(QStringLiteral("Proceso"), proceso);
            rs.setValue(QStringLiteral("fecha"), fechaHora());
            rs.setValue(QStringLiteral("Error"), Error);
            rs.setValue(QStringLiteral("Descripcion"),
                        rp::suite::Utilidades::RecortarTexto(Descripcion, 250));
            rs.setValue(QStringLiteral("SQL"), SQL);
            rs.setValue(QStringLiteral("Pc"), rp::suite::SistemaInfo::NombrePc());
            rs.setValue(QStringLiteral("Usuario"), db.gUsuario);
            rs.update();
        } catch (const DbError&) {
            // The row is lost; the record set is still closed below.
        }
        db.CierraRecordset(rs);
    } catch (const DbError&) {
    } catch (const std::exception&) {
    }
}

} // namespace rp::startup
