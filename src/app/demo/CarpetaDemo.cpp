#include "app/demo/CarpetaDemo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace rp::demo {

namespace {

bool esPlantilla(const QFileInfo& fi) {
    return fi.isFile() && fi.suffix().compare(QLatin1String("rpt"), Qt::CaseInsensitive) == 0;
}

} // namespace

CarpetaDemo::CarpetaDemo(const OpcionesDemo& opciones) : opciones_(opciones) {}

QString CarpetaDemo::carpetaPorDefecto() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/demo");
}

QString CarpetaDemo::carpetaPlantillas() const {
    if (!plantillas_.isEmpty())
        return plantillas_;
    QStringList candidatas;
    if (QCoreApplication::instance()) {
        const QString exe = QCoreApplication::applicationDirPath();
        // Build tree, then an installation (<prefix>/bin beside <prefix>/share).
        candidatas << exe + QStringLiteral("/templates") << exe + QStringLiteral("/../templates")
                   << exe + QStringLiteral("/../share/rp_tarifario/templates");
    }
#ifdef RP_PLANTILLAS_DIR
    candidatas << QStringLiteral(RP_PLANTILLAS_DIR);
#endif
    for (const QString& c : candidatas)
        if (QFileInfo(c).isDir())
            return QDir::cleanPath(c);
    return QString();
}

bool CarpetaDemo::carpetaLista(const QString& carpeta) {
    const QDir d(carpeta);
    return QFileInfo(d.filePath(archivoEmpresa())).isFile() &&
           QFileInfo(d.filePath(archivoEstadisticas())).isFile();
}

bool CarpetaDemo::prepararCarpetaDemo(const QString& carpeta) {
    error_.clear();
    creados_.clear();
    if (carpeta.trimmed().isEmpty()) {
        error_ = QStringLiteral("No se indicó la carpeta de demostración");
        return false;
    }
    const QString destino = QDir::cleanPath(QDir(carpeta).absolutePath());
    if (carpetaLista(destino)) {
        // Templates added to the source tree since the last preparation.
        return copiarPlantillas(destino);
    }
    const QFileInfo fi(destino);
    if (!fi.exists()) {
        // Build everything beside the destination, then rename it into place.
        if (!QDir().mkpath(fi.absolutePath())) {
            error_ = QStringLiteral("No se puede crear la carpeta ") + fi.absolutePath();
            return false;
        }
        QTemporaryDir temporal(fi.absolutePath() + QLatin1Char('/') + fi.fileName() +
                               QStringLiteral(".preparando-XXXXXX"));
        if (!temporal.isValid()) {
            error_ = QStringLiteral("No se puede crear una carpeta temporal junto a ") + destino;
            return false;
        }
        if (!completar(temporal.path()))
            return false;
        QFile::setPermissions(temporal.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ReadGroup |
                                                   QFile::ExeGroup | QFile::ReadOther |
                                                   QFile::ExeOther);
        if (QDir().rename(temporal.path(), destino)) {
            temporal.setAutoRemove(false);
            return true;
        }
        // Someone else created the folder meanwhile: complete it in place.
        creados_.clear();
    } else if (!fi.isDir()) {
        error_ = destino + QStringLiteral(" existe y no es una carpeta");
        return false;
    }
    return completar(destino);
}

bool CarpetaDemo::completar(const QString& carpeta) {
    return copiarPlantillas(carpeta) && generarBase(carpeta, archivoEstadisticas(), false) &&
           generarBase(carpeta, archivoEmpresa(), true);
}

bool CarpetaDemo::generarBase(const QString& carpeta, const QString& nombre, bool empresa) {
    const QDir d(carpeta);
    const QString final = d.filePath(nombre);
    if (QFileInfo::exists(final))
        return true;
    const QString temporal = d.filePath(QStringLiteral(".") + nombre + QStringLiteral(".tmp"));
    QFile::remove(temporal);
    QFile::remove(temporal + QStringLiteral("-journal"));
    DemoDatos datos(opciones_);
    const bool ok = empresa ? datos.generarEmpresa(temporal) : datos.generarEstadisticas(temporal);
    if (!ok) {
        error_ = datos.error();
        return false;
    }
    // QFile::rename never replaces an existing file: a database that a
    // concurrent preparation put in place meanwhile is kept.
    if (!QFile::rename(temporal, final)) {
        QFile::remove(temporal);
        if (QFileInfo::exists(final))
            return true;
        error_ = QStringLiteral("No se puede crear ") + final;
        return false;
    }
    creados_.append(nombre);
    return true;
}

bool CarpetaDemo::copiarPlantillas(const QString& carpeta) {
    const QString origen = carpetaPlantillas();
    if (origen.isEmpty())
        return true;
    const QDir desde(origen), hacia(carpeta);
    const QFileInfoList archivos = desde.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& fi : archivos) {
        if (!esPlantilla(fi))
            continue;
        const QString final = hacia.filePath(fi.fileName());
        if (QFileInfo::exists(final))
            continue;
        const QString temporal =
            hacia.filePath(QStringLiteral(".") + fi.fileName() + QStringLiteral(".tmp"));
        QFile::remove(temporal);
        if (!QFile::copy(fi.filePath(), temporal)) {
            error_ = QStringLiteral("No se puede copiar ") + fi.filePath();
            return false;
        }
        if (!QFile::rename(temporal, final)) {
            QFile::remove(temporal);
            if (!QFileInfo::exists(final)) {
                error_ = QStringLiteral("No se puede crear ") + final;
                return false;
            }
            continue;
        }
        creados_.append(fi.fileName());
    }
    return true;
}

} // namespace rp::demo
