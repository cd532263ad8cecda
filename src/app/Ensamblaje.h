#pragma once

#include "app/OpcionesPrograma.h"

#include <memory>
#include <optional>

class QCoreApplication;

namespace rp::report {
class VentanaTarifario;
}
namespace rp::ui {
class Operador;
}

namespace rp::app {

// The program as the entry point puts it together, between reading the
// command line and running the event loop: the operator (batch or real
// dialogs), the window set-up, the report engine, the program folder, the
// start-up sequence, and then the query, the export or the main window.
// Tests start the program through this same class, so what they drive is
// what a person gets.
class Ensamblaje {
public:
    // The application object the options call for: a QCoreApplication for
    // queries and health checks, a QApplication otherwise (on the offscreen
    // platform for exports, which paint without a display).
    static std::unique_ptr<QCoreApplication> crearAplicacion(const OpcionesPrograma& opciones,
                                                             int& argc, char** argv);

    // `operador` replaces the operator the options call for (tests pass the
    // scripted one); it must outlive this object.
    explicit Ensamblaje(OpcionesPrograma opciones, rp::ui::Operador* operador = nullptr);
    ~Ensamblaje();
    Ensamblaje(const Ensamblaje&) = delete;
    Ensamblaje& operator=(const Ensamblaje&) = delete;

    // Runs the program up to its event loop. Returns the exit status when it
    // has nothing more to do (query, export, health check, failed start);
    // nullopt when the main window is up and the event loop is to run.
    std::optional<int> arrancar();

    // The main window while it is up (null before and without one).
    rp::report::VentanaTarifario* ventana() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace rp::app
