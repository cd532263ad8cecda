#include "HistorialBench.h"

#include "common/DatosBench.h"
#include "db/DB_Dll.h"
#include "db/provider/SqliteProvider.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/SolicitudReporte.h"
#include "report/engine/widgets/VentanaVistaPrevia.h"
#include "ui/Operador.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace rp::bench {

QString HistorialBench::plantilla() {
    const QString nombre = QStringLiteral("/RP_CambioPreciosHIS.rpt");
    const QString enCarpeta = DatosBench::carpetaGrande() + nombre;
    if (QFileInfo::exists(enCarpeta))
        return enCarpeta;
    return QStringLiteral(RP_SOURCE_DIR "/templates") + nombre;
}

std::shared_ptr<const rp::motor::ReportePreparado> HistorialBench::preparar(const QString& formula,
                                                                            QString* error) {
    rp::motor::SolicitudReporte solicitud;
    solicitud.plantilla = plantilla();
    solicitud.formula = formula;
    solicitud.formulas[0] = QStringLiteral("Nombreempresa = 'EMPRESA DEMO'");
    try {
        return rp::motor::ReportePreparado::preparar(
            rp::motor::LectorPlantilla::leerArchivo(solicitud.plantilla), solicitud);
    } catch (const rp::motor::ErrorMotor& e) {
        if (error)
            *error = e.texto();
        return nullptr;
    }
}

rp::motor::FuenteDatos HistorialBench::fuente() {
    return rp::motor::FuenteDatos::de(rp::db::baseCompartida().conexion());
}

QString HistorialBench::formaSqlite(const QString& sentencia) {
    auto* proveedor =
        dynamic_cast<rp::db::SqliteProvider*>(rp::db::baseCompartida().conexion().provider());
    return proveedor ? proveedor->rewrite(sentencia) : QString();
}

QString HistorialBench::hastaArticulo(int n) {
    return QStringLiteral("{V_MV_PRECIOSHIS.IDARTICULO} <= '") +
           QString::number(n).rightJustified(25) + QLatin1Char('\'');
}

rp::motor::VentanaVistaPrevia* HistorialBench::abrirVistaPrevia(
    const std::shared_ptr<const rp::motor::ReportePreparado>& reporte) {
    auto* ventana = new rp::motor::VentanaVistaPrevia(reporte, fuente(), rp::ui::operador());
    ventana->resize(1280, 900);
    ventana->show();
    ventana->comenzar();
    while (ventana->paginasListas() < 1 && !ventana->terminado())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return ventana;
}

} // namespace rp::bench
