#pragma once

#include "app/OpcionesPrograma.h"

#include <QString>
#include <functional>

namespace rp::app {

// What the program does once its command line is read: prepares the program
// folder, runs the start-up sequence, then answers a query, exports a report
// or opens the main window. Window-free: the window is reached through
// `abrirVentana`, installed by the entry point when a display is used.
class Programa {
public:
    // The launch string that opens the demo database.
    static QString parametrosDemo();

    // Runs the program; returns the process exit status.
    int ejecutar(const OpcionesPrograma& opciones);

    // Opens the main window and runs the event loop; returns the exit status.
    std::function<int()> abrirVentana;
    // Runs a report export (--export); returns the exit status.
    std::function<int(const OpcionesPrograma&)> exportar;

private:
    bool prepararCarpeta(const OpcionesPrograma& opciones, QString& error);
    int consultar(const QString& sql);
};

} // namespace rp::app
