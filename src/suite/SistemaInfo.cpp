#include "suite/SistemaInfo.h"

#include <QDir>
#include <QSysInfo>
#include <ctime>
#include <pwd.h>
#include <unistd.h>

namespace rp::suite {

QString SistemaInfo::NombrePc() {
    return QSysInfo::machineHostName();
}

QString SistemaInfo::NombreUsuarioPc() {
    if (const passwd* pw = getpwuid(geteuid()); pw != nullptr && pw->pw_name != nullptr)
        return QString::fromLocal8Bit(pw->pw_name);
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        const QString valor = qEnvironmentVariable(variable);
        if (!valor.isEmpty())
            return valor;
    }
    return QString();
}

QString SistemaInfo::CarpetaSistema() {
    return QDir::tempPath();
}

void SistemaInfo::FijarZonaHoraria() {
    if (qEnvironmentVariableIsSet("TZ"))
        return;
    qputenv("TZ", ":/etc/localtime");
    tzset();
}

} // namespace rp::suite
