#include "startup/MenuExes.h"

#include "db/DB_Dll.h"
#include "startup/Sesion.h"
#include "suite/Aplicacion.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

#include <QFileInfo>
#include <QProcess>

namespace rp::startup {

QString ParametrosMenuExes(const QString& parametroAdicional) {
    const rp::db::DB_Dll& db = rp::db::baseCompartida();
    const Sesion& s = sesion();
    return QStringLiteral(" ; @server=") + db.gServidor + QStringLiteral("; @dbname=") +
           db.gDBName + QStringLiteral("; @usuario=") + db.gUsuario +
           QStringLiteral("; @Password=") + db.gUserPassWord +
           QStringLiteral("; @ParametroAdicional=") + parametroAdicional +
           QStringLiteral("; quim@ ; @UsuarioLogeado = ") + s.gUsuarioLogeado +
           QStringLiteral("; @Caja=") + s.gCaja + QStringLiteral(";");
}

QString EjecutableMenuExes(const QString& comando) {
    const QString carpeta =
        rp::suite::Utilidades::RutaConBarra(rp::suite::Aplicacion::carpetaPrograma());
    if (comando.contains(QLatin1Char('\\')) || comando.contains(QLatin1Char('/')))
        return comando.mid(6);
    if (comando.contains(QLatin1String("SHELL"), Qt::CaseInsensitive))
        return carpeta + comando.mid(6);
    return carpeta + comando;
}

void MenuExes(const QString& comando, const QString& parametroAdicional, qint64& idProceso) {
    idProceso = 0;
    const QString ejecutable = EjecutableMenuExes(comando);
    const QFileInfo info(ejecutable);
    if (info.isFile() && info.isExecutable()) {
        qint64 pid = 0;
        if (QProcess::startDetached(ejecutable, {ParametrosMenuExes(parametroAdicional)},
                                    info.absolutePath(), &pid))
            idProceso = pid;
    }
    if (idProceso == 0)
        rp::ui::operador().mensaje(QStringLiteral("Opcion no Implementada!\rComuniquese con su "
                                                  "proveedor de sistemas"),
                                   rp::ui::estilo::Critical, QString::fromUtf8("Atención"));
}

} // namespace rp::startup
