#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/ReportePreparado.h"

#include <QString>
#include <memory>

namespace rp::motor {
class VentanaVistaPrevia;
}

namespace rp::bench {

// The change-history report "RP_CambioPreciosHIS" on the large database, as
// the program runs it: its template (from the demo program folder, else the
// source tree), a request with the given selection formula, rows through the
// shared database connection.
class HistorialBench {
public:
    // Template file of the report.
    static QString plantilla();
    // The prepared report; null with a message in `error` on failure.
    static std::shared_ptr<const rp::motor::ReportePreparado> preparar(const QString& formula,
                                                                       QString* error);
    // Rows through the shared database object's connection.
    static rp::motor::FuenteDatos fuente();
    // The statement the report sends, in the form SQLite receives.
    static QString formaSqlite(const QString& sentencia);
    // Selection formula of the articles up to number `n` (codes are numbers
    // right-aligned in 25 characters).
    static QString hastaArticulo(int n);
    // The preview window of `reporte` over fuente(), 1280 x 900 and shown,
    // once its first page is laid out (or the layout ended without one).
    // The caller deletes it.
    static rp::motor::VentanaVistaPrevia*
    abrirVistaPrevia(const std::shared_ptr<const rp::motor::ReportePreparado>& reporte);
};

} // namespace rp::bench
