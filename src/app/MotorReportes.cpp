#include "app/MotorReportes.h"

#include "db/DB_Dll.h"
#include "db/provider/Connection.h"
#include "db/provider/SqlTrace.h"
#include "report/ReporteControl.h"
#include "report/engine/widgets/EjecutorReporte.h"
#include "report/engine/widgets/VentanaVistaPrevia.h"
#include "report/widgets/VentanaDetalleArticulo.h"
#include "ui/Operador.h"

#include <memory>

namespace rp::app {

void instalarMotorReportes() {
    // One engine for the installation: a preview window keeps reading its
    // rows after the request has been handed over.
    auto motor = std::make_shared<std::unique_ptr<rp::motor::EjecutorReporte>>();
    rp::report::ReporteControl::establecerEjecutor([motor](const rp::motor::SolicitudReporte& s) {
        if (!*motor) {
            *motor = std::make_unique<rp::motor::EjecutorReporte>(
                rp::motor::FuenteDatos::de(rp::db::baseCompartida().conexion()),
                rp::ui::operador());
            (*motor)->fijarTraza([](const QString& texto) {
                if (rp::db::SqlTrace* traza = rp::db::Connection::trace())
                    traza->note(QStringLiteral("REPORT"), texto);
            });
            // A line of a preview opens that article's history over it.
            (*motor)->fijarDetalle([](rp::motor::VentanaVistaPrevia& previa, const QString& clave) {
                rp::report::VentanaDetalleArticulo::abrir(&previa, clave);
            });
        }
        if ((*motor)->ejecutar(s) == rp::motor::EjecutorReporte::Resultado::Cancelado)
            throw rp::report::ReporteControl::Fallo(
                rp::report::ReporteControl::ErrorCancelado,
                QStringLiteral("El usuario ha cancelado el reporte"));
    });
}

void quitarMotorReportes() {
    rp::report::ReporteControl::establecerEjecutor(nullptr);
}

} // namespace rp::app
