#pragma once

#include <QString>

namespace rp::report {

class FormularioTarifario;
struct ReporteEntorno;

// The last-cost-change report (tab 2, "Ultimo Costo"): brings the date of each
// selected article's last cost change (FHULTIMOCOSTO) up to date under the
// progress banner (EscaneoUltimoCosto), then runs the template
// "RP_CambioPreciosHISFEchacosto" through Reporte with a selection formula
// made of the same ranges.
class ReporteUltimoCosto {
public:
    static void ejecutar(ReporteEntorno& entorno);

    // The tab's ranges as the report's selection formula F and as the
    // article-scan condition S. Bounds keep their apostrophes doubled in both.
    struct Rangos {
        QString formula;
        QString condicion;
    };
    static Rangos rangos(const FormularioTarifario& formulario);
    // The first selected price option over both groups (0..17).
    static int clase(const FormularioTarifario& formulario);
};

} // namespace rp::report
