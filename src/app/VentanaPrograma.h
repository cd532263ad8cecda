#pragma once

class QApplication;

namespace rp::report {
class VentanaTarifario;
}
namespace rp::ui {
class Operador;
}

namespace rp::app {

// The program's windows: registers the modal dialogs with the real operator
// (connection prompt, print dialog) before the start-up runs; `abrir` then
// shows the report form over the session. With another operator (the
// scripted one of the tests) nothing is registered: its answers stand for
// the dialogs.
class VentanaPrograma {
public:
    VentanaPrograma(QApplication& aplicacion, rp::ui::Operador& operador);
    ~VentanaPrograma();
    VentanaPrograma(const VentanaPrograma&) = delete;
    VentanaPrograma& operator=(const VentanaPrograma&) = delete;

    // Builds and shows the main window; closing it quits the event loop.
    void abrir();
    // The main window once open.
    rp::report::VentanaTarifario* ventana() const;

private:
    struct Impl;
    Impl* d;
};

} // namespace rp::app
