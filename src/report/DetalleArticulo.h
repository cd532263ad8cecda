#pragma once

#include "report/engine/SolicitudReporte.h"

#include <QString>
#include <functional>

namespace rp::report {

// The drill-down from a report line: the whole change history of one article
// across every list, as a run of the change-history template ("RP_CambioPreciosHIS")
// filtered on the article, ordered by date, showing the cost and one value
// class (the chart's) with their previous values and changes, under the
// captions of the configuration.
class DetalleArticulo {
public:
    // The configuration read: the company name ("NOMBRE") and the captions
    // of the price classes ("NOM_PCLASE1".."NOM_PCLASE8").
    using LectorConfiguracion = std::function<QString(const QString& clave)>;

    // The request for the article `codigo` (as shown, trimmed or not) on the
    // template file `plantilla`, to the screen, for the class `clase` (0 the
    // cost, 1..8 a price class).
    static motor::SolicitudReporte solicitud(const QString& codigo, const QString& plantilla,
                                             const LectorConfiguracion& cfg, int clase);
    // Captions of the value classes 0..8: "Costo", then each price class's
    // caption, "Precio N" where the configuration has none.
    static QStringList titulosClase(const LectorConfiguracion& cfg);
};

} // namespace rp::report
