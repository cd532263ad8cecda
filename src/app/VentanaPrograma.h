#pragma once

class QApplication;

namespace rp::ui {
class OperadorQt;
}

namespace rp::app {

// The program's windows: registers the modal dialogs with the real operator
// (connection prompt, print dialog) before the start-up runs, then shows the
// report form over the session and runs the event loop until it closes.
class VentanaPrograma {
public:
    VentanaPrograma(QApplication& aplicacion, rp::ui::OperadorQt& operador);
    ~VentanaPrograma();
    VentanaPrograma(const VentanaPrograma&) = delete;
    VentanaPrograma& operator=(const VentanaPrograma&) = delete;

    // Shows the main window and runs the event loop; returns the exit status.
    int ejecutar();

private:
    struct Impl;
    Impl* d;
};

} // namespace rp::app
