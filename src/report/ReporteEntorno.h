#pragma once

#include "report/Reporte.h"
#include "report/ReporteControl.h"
#include "suite/DialogoComun.h"

#include <QString>
#include <functional>
#include <memory>

namespace rp::banner {
class Dll_Display;
}
namespace rp::db {
class DB_Dll;
}

namespace rp::report {

class FormularioTarifario;

// What the three report runs of the form work with: the form whose fields
// they read, its report-engine control and print dialog, the progress banner,
// the configuration read and the database object.
struct ReporteEntorno {
    using LectorConfiguracion = std::function<QString(const QString& clave)>;

    // `cartel` and `base` may be null: a banner without window and the shared
    // database object are used then. `cfg` empty: the configuration store.
    ReporteEntorno(FormularioTarifario& formulario, banner::Dll_Display* cartel = nullptr,
                   db::DB_Dll* base = nullptr, LectorConfiguracion cfg = {});
    ~ReporteEntorno();
    ReporteEntorno(const ReporteEntorno&) = delete;
    ReporteEntorno& operator=(const ReporteEntorno&) = delete;

    FormularioTarifario& formulario;
    ReporteControl control;
    suite::DialogoComun dialogo;

    banner::Dll_Display& cartel();
    db::DB_Dll& base();
    QString Cfg(const QString& clave) const;
    // The report engine's connect string of the session (gCadenaDSN).
    QString cadenaDSN() const;
    // "Nombreempresa = '" + company name + "'".
    QString tituloEmpresa() const;
    // The control of a price run: reset, saved data discarded, no group
    // tree, the export button shown.
    void prepararControl();
    // Titles 2 to 4 of a price run: "Actual" and "Anterior" named after the
    // price class's title, no fifth title.
    static void titulosDePrecio(TitulosReporte& titulos, const QString& tituloClase);

private:
    banner::Dll_Display* cartel_;
    std::unique_ptr<banner::Dll_Display> cartelPropio_;
    db::DB_Dll* base_;
    LectorConfiguracion cfg_;
};

} // namespace rp::report
