#include "suite/Aplicacion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace rp::suite {

namespace {

struct DatosAplicacion {
    QString carpeta;
    QString nombre = QStringLiteral("rp_tarifario");
};

DatosAplicacion& datos() {
    static DatosAplicacion d;
    return d;
}

QString conBarra(const QString& carpeta) {
    if (carpeta.endsWith(QLatin1Char('/')))
        return carpeta;
    return carpeta + QLatin1Char('/');
}

} // namespace

QString Aplicacion::carpetaEjecutable() {
    QString carpeta;
    if (QCoreApplication::instance() != nullptr)
        carpeta = QCoreApplication::applicationDirPath();
    if (carpeta.isEmpty()) {
        const QFileInfo exe(QStringLiteral("/proc/self/exe"));
        carpeta = QFileInfo(exe.symLinkTarget()).absolutePath();
    }
    if (carpeta.isEmpty())
        carpeta = QDir::currentPath();
    return conBarra(carpeta);
}

QString Aplicacion::carpetaPrograma() {
    DatosAplicacion& d = datos();
    if (d.carpeta.isEmpty())
        d.carpeta = carpetaEjecutable();
    return d.carpeta;
}

void Aplicacion::establecerCarpetaPrograma(const QString& carpeta) {
    const QString limpia = carpeta.trimmed();
    datos().carpeta = limpia.isEmpty() ? QString() : conBarra(limpia);
}

QString Aplicacion::nombreEjecutable() {
    return datos().nombre;
}

void Aplicacion::establecerNombreEjecutable(const QString& nombre) {
    datos().nombre = nombre;
}

} // namespace rp::suite
