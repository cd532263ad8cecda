#pragma once

#include "app/demo/DemoDatos.h"

#include <QString>
#include <QStringList>

namespace rp::demo {

// A ready demo program folder: the demo business database "EMPRESA_DEMO.db"
// (the program connects to it with Server "sqlite" and Database
// "EMPRESA_DEMO"), the statistics database "KS_ESTADISTICAS.db" and copies of
// the report templates.
//
// Preparation never overwrites a file. A missing folder is built complete in
// a temporary sibling folder and then renamed into place; in an existing
// folder each missing file is written under a temporary name and renamed, the
// business database last. So the folder is ready exactly when both database
// files exist, and a half-prepared folder is never taken for a ready one.
class CarpetaDemo {
public:
    static QString archivoEmpresa() { return QStringLiteral("EMPRESA_DEMO.db"); }
    static QString archivoEstadisticas() { return QStringLiteral("KS_ESTADISTICAS.db"); }
    static QString nombreBaseDeDatos() { return QStringLiteral("EMPRESA_DEMO"); }
    static QString usuarioDemo() { return QStringLiteral("demo"); }
    static QString claveDemo() { return QStringLiteral("demo"); }

    explicit CarpetaDemo(const OpcionesDemo& opciones = OpcionesDemo());

    // Folder of the report templates to copy; by default the first of
    // <executable folder>/templates, <executable folder>/../templates, the
    // installed <executable folder>/../share/rp_tarifario/templates and the
    // source tree's templates folder that exists.
    void setCarpetaPlantillas(const QString& carpeta) { plantillas_ = carpeta; }
    QString carpetaPlantillas() const;

    // Creates what is missing of the demo folder. True when the folder is ready.
    bool prepararCarpetaDemo(const QString& carpeta);
    const QString& error() const { return error_; }
    // Files written by the last preparation (names relative to the folder).
    const QStringList& creados() const { return creados_; }

    static bool carpetaLista(const QString& carpeta);
    // AppDataLocation + "/demo".
    static QString carpetaPorDefecto();

private:
    bool completar(const QString& carpeta);
    bool copiarPlantillas(const QString& carpeta);
    bool generarBase(const QString& carpeta, const QString& nombre, bool empresa);

    OpcionesDemo opciones_;
    QString plantillas_;
    QString error_;
    QStringList creados_;
};

} // namespace rp::demo
