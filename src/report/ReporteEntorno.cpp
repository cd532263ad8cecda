#include "report/ReporteEntorno.h"

#include "banner/Dll_Display.h"
#include "db/DB_Dll.h"
#include "startup/Configuracion.h"
#include "startup/Sesion.h"

namespace rp::report {

ReporteEntorno::ReporteEntorno(FormularioTarifario& f, banner::Dll_Display* cartel,
                               db::DB_Dll* base, LectorConfiguracion cfg)
    : formulario(f), cartel_(cartel), base_(base), cfg_(std::move(cfg)) {}

ReporteEntorno::~ReporteEntorno() = default;

banner::Dll_Display& ReporteEntorno::cartel() {
    if (cartel_)
        return *cartel_;
    if (!cartelPropio_)
        cartelPropio_ = std::make_unique<banner::Dll_Display>();
    return *cartelPropio_;
}

db::DB_Dll& ReporteEntorno::base() {
    return base_ ? *base_ : db::baseCompartida();
}

QString ReporteEntorno::Cfg(const QString& clave) const {
    return cfg_ ? cfg_(clave) : startup::Cfg(clave);
}

QString ReporteEntorno::cadenaDSN() const {
    return startup::sesion().gCadenaDSN;
}

QString ReporteEntorno::tituloEmpresa() const {
    return QStringLiteral("Nombreempresa = '") + Cfg(QStringLiteral("NOMBRE")) +
           QStringLiteral("'");
}

void ReporteEntorno::prepararControl() {
    control.Reset();
    control.DiscardSavedData = true;
    control.WindowShowGroupTree = false;
    control.WindowShowExportBtn = true;
}

void ReporteEntorno::titulosDePrecio(TitulosReporte& titulos, const QString& tituloClase) {
    titulos[2] = QStringLiteral("Actual='") + tituloClase + QStringLiteral("'");
    titulos[3] = QStringLiteral("Anterior='") + tituloClase + QStringLiteral("Ant'");
    titulos[4] = QString();
}

} // namespace rp::report
