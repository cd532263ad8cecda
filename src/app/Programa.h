#pragma once

#include "app/OpcionesPrograma.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace rp::db {
class SqlTrace;
}

namespace rp::app {

// What the program does once its command line is read: prepares the program
// folder, runs the start-up sequence, then answers a query, exports a report
// or opens the main window. Window-free: the window is reached through
// `abrirVentana`, installed by the entry point when a display is used.
class Programa {
public:
    // The launch string that opens the demo database.
    static QString parametrosDemo();

    Programa();
    ~Programa();
    Programa(const Programa&) = delete;
    Programa& operator=(const Programa&) = delete;

    // Runs the program up to its event loop: returns the process exit status
    // when it is done, nullopt when the main window is up (what
    // `abrirVentana` returned).
    std::optional<int> arrancar(const OpcionesPrograma& opciones);

    // Shows the main window; nullopt when it is up and the event loop is to
    // run, else an exit status.
    std::function<std::optional<int>()> abrirVentana;
    // Runs a report export (--export); returns the exit status.
    std::function<int(const OpcionesPrograma&)> exportar;
    // --save-preset: saves the form options as a filter, before the
    // start-up (no database is needed); returns the exit status.
    std::function<int(const OpcionesPrograma&)> guardarFiltro;

private:
    // The SQL trace of --trace-sql, kept for the whole run.
    std::unique_ptr<rp::db::SqlTrace> traza_;

    bool prepararCarpeta(const OpcionesPrograma& opciones, QString& error);
    int consultar(const QString& sql);
    // --lookup: the rows the field lookup of that tag shows, as CSV.
    int consultarCampo(const QString& tag, const std::optional<QString>& busqueda);
};

} // namespace rp::app
