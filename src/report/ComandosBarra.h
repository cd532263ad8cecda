#pragma once

#include "report/ConsultaCampo.h"
#include "report/ReporteEntorno.h"

#include <optional>

namespace rp::report {

class FormularioTarifario;

// The report toolbar's report commands for the report form: "PANTALLA" and
// "IMPRESORA" set the report output's destination (DLL_Print::Destino) and
// run the report of the visible tab: tab 0 the report by price list, tab 1
// the report by date, any other tab the last-cost-change report. ("CERRAR"
// and the lookup "CONSULTAR" are the form's own; the database lookups they
// open go to the run's lookup request, installed here as the form's lookup.)
//
// Constructing it plugs the three runs into the form's report hooks and
// installs the report output's engine (DLL_Print::ImprimirReporte) on this
// form's report-engine control and print dialog; the object must live as long
// as the form.
class ComandosBarra {
public:
    explicit ComandosBarra(FormularioTarifario& formulario, banner::Dll_Display* cartel = nullptr,
                           db::DB_Dll* base = nullptr,
                           ReporteEntorno::LectorConfiguracion cfg = {});
    ~ComandosBarra();
    ComandosBarra(const ComandosBarra&) = delete;
    ComandosBarra& operator=(const ComandosBarra&) = delete;

    ReporteEntorno& entorno() { return entorno_; }

    // Runs the report of tab `pestana` to `destino` (0 screen, 1 printer).
    void ejecutar(int pestana, int destino);
    // The field lookups' database lookup: the run's lookup request with the
    // field's key column and table or statement; nullopt when cancelled.
    static std::optional<QString> consultar(const ConsultaCampo& consulta);

private:
    ReporteEntorno entorno_;
};

} // namespace rp::report
