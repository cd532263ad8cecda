#include "common/DatosBench.h"

#include "app/demo/CarpetaDemo.h"
#include "app/demo/DemoDatos.h"
#include "db/DB_Dll.h"
#include "db/provider/ConnectionString.h"
#include "suite/Aplicacion.h"
#include "suite/DLL_Print.h"
#include "suite/Regional.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

namespace rp::bench {

using rp::demo::CarpetaDemo;
using rp::demo::OpcionesDemo;

QString DatosBench::carpetaCache() {
    const QString entorno = qEnvironmentVariable("RP_BENCH_DATA");
    return QDir::cleanPath(entorno.isEmpty() ? QStringLiteral(RP_BENCH_DATA_DIR) : entorno);
}

QString DatosBench::carpetaGrande() {
    return carpetaCache() + QStringLiteral("/large");
}

QString DatosBench::baseGrande(QString* error) {
    const QString carpeta = carpetaGrande();
    const QString base = carpeta + QLatin1Char('/') + CarpetaDemo::archivoEmpresa();
    if (CarpetaDemo::carpetaLista(carpeta))
        return base;

    QTextStream err(stderr);
    err << "Generando los datos grandes (100.000 articulos, 1.000.000 de cambios) en " << carpeta
        << " ...\n";
    err.flush();
    if (!QDir().mkpath(carpetaCache())) {
        if (error)
            *error = QStringLiteral("no se puede crear la carpeta ") + carpetaCache();
        return QString();
    }
    QElapsedTimer reloj;
    reloj.start();
    CarpetaDemo demo(OpcionesDemo::escala(QStringLiteral("large")));
    if (!demo.prepararCarpetaDemo(carpeta)) {
        if (error)
            *error = demo.error();
        return QString();
    }
    err << "Datos generados en " << reloj.elapsed() / 1000.0 << " s\n";
    return base;
}

QString DatosBench::copiarBase(const QString& carpeta, const QString& nombre, QString* error) {
    const QString origen = baseGrande(error);
    if (origen.isEmpty())
        return QString();
    const QString destino = QDir(carpeta).filePath(nombre);
    QFile::remove(destino);
    if (!QFile::copy(origen, destino)) {
        if (error)
            *error = QStringLiteral("no se puede copiar %1 en %2").arg(origen, destino);
        return QString();
    }
    QFile(destino).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return destino;
}

QString DatosBench::moduloFunciones() {
    const QString entorno = qEnvironmentVariable("RP_SQLEXT");
    return entorno.isEmpty() ? QStringLiteral(RP_SQLEXT_PATH) : entorno;
}

QString DatosBench::abrirBaseCompartida() {
    rp::db::DB_Dll& db = rp::db::baseCompartida();
    if (db.gOpenFlag)
        return QString();
    QString error;
    if (baseGrande(&error).isEmpty())
        return error;
    rp::suite::Aplicacion::establecerCarpetaPrograma(carpetaGrande());
    rp::suite::Aplicacion::establecerNombreEjecutable(QStringLiteral("rp_tarifario"));
    rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
    rp::db::ProviderSettings ajustes = rp::db::providerSettings();
    ajustes.programFolder = rp::suite::Aplicacion::carpetaPrograma();
    if (!ajustes.programFolder.endsWith(QLatin1Char('/')))
        ajustes.programFolder += QLatin1Char('/');
    ajustes.sqliteExtension = moduloFunciones();
    rp::db::setProviderSettings(ajustes);
    // As the start-up does: the report output finds the templates there.
    rp::suite::dllPrint().pPathSistema = ajustes.programFolder;
    db.gServidor = QStringLiteral("sqlite");
    db.gDBName = CarpetaDemo::nombreBaseDeDatos();
    db.gUsuario = CarpetaDemo::usuarioDemo();
    db.OpenServerADODB(false, 3, QString(), false, false);
    return db.gOpenFlag ? QString() : QStringLiteral("no se pudo abrir la base grande");
}

} // namespace rp::bench
