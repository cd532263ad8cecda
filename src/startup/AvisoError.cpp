#include "startup/AvisoError.h"

#include "suite/RegistroErrores.h"
#include "suite/SistemaInfo.h"
#include "suite/Utilidades.h"

#include <QProcessEnvironment>

namespace rp::startup {

namespace {

// Environment variables are looked up as on the suite's home platform: the
// exact name first, then any letter case.
QString variableEntorno(const QString& nombre) {
    const QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    if (entorno.contains(nombre))
        return entorno.value(nombre);
    const QStringList claves = entorno.keys();
    for (const QString& clave : claves) {
        if (clave.compare(nombre, Qt::CaseInsensitive) == 0)
            return entorno.value(clave);
    }
    return QString();
}

} // namespace

QString RutaLogAvisoError() {
    QString carpeta;
    if (!variableEntorno(QStringLiteral("temp")).isEmpty())
        carpeta = variableEntorno(QStringLiteral("tmp"));
    carpeta = carpeta.trimmed();
    if (carpeta.isEmpty())
        carpeta = suite::SistemaInfo::CarpetaSistema();
    carpeta = suite::Utilidades::RutaConBarra(carpeta);
    if (!carpeta.endsWith(QLatin1Char('/')))
        carpeta += QLatin1Char('/');
    return carpeta + QStringLiteral("KSERR.LOG");
}

int AvisoError(const suite::CodErr& error, std::optional<int> botones,
               const std::optional<QString>& rutina) {
    if (error.number == 0)
        return 0;
    return suite::RegistroErrores::Informar(error, botones.value_or(18), rutina, error.source,
                                            QStringLiteral("2"), RutaLogAvisoError());
}

} // namespace rp::startup
