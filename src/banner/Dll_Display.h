#pragma once

#include "banner/Lbf_CtrlDisplay.h"
#include "banner/VistaCartel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

namespace rp::banner {

// Controller of the progress banner that a long loop drives:
//
//   banner.CartelInicio("Calculando..", false);
//   for (...) {
//       bool cancelado = false;
//       banner.CartelMostrar(cancelado, id, descripcion);
//       if (cancelado) break;
//   }
//   banner.CartelCerrar();
//
// Every CartelMostrar stores its texts at once and lets pending events run
// (the cancel click and the animation are handled there). Painting the window
// is throttled: at most one repaint every kPausaRepintadoMs; an update that
// falls inside the pause is painted when the pause ends, so the last texts
// always reach the screen. Without a window factory (batch runs, tests of
// callers) the banner keeps its state without any window.
class Dll_Display : public QObject {
    Q_OBJECT
public:
    static constexpr int kPausaRepintadoMs = 50;

    Dll_Display();
    explicit Dll_Display(FabricaVistaCartel fabrica);
    ~Dll_Display() override;

    Dll_Display(const Dll_Display&) = delete;
    Dll_Display& operator=(const Dll_Display&) = delete;

    // Creates the window if needed, sets its title, shows the cancel button only
    // when PermiteCancelar, and shows the window without blocking.
    void CartelInicio(const QString& Titulo, bool PermiteCancelar);
    // Puts each given text into its line (absent ones stay as they are), repaints,
    // reports in Cancelado whether the operator pressed cancel, and lets pending
    // events run. Creates the window (unshown) when none exists.
    void CartelMostrar(bool& Cancelado, const std::optional<QString>& L1 = std::nullopt,
                       const std::optional<QString>& L2 = std::nullopt,
                       const std::optional<QString>& L3 = std::nullopt);
    // Hides and destroys the window.
    void CartelCerrar();
    // Write-only: true keeps the banner above every other window.
    void setSiempre_Visible(bool valor);

    // The current window's state; nullptr while closed.
    Lbf_CtrlDisplay* ventana() const { return ventana_.get(); }
    VistaCartel* vista() const { return vista_.get(); }
    // Number of repaints since the window was created (throttling is visible here).
    int repintados() const { return repintados_; }

private:
    void crearVentana();
    void repintarAhora();

    FabricaVistaCartel fabrica_;
    std::unique_ptr<Lbf_CtrlDisplay> ventana_;
    std::unique_ptr<VistaCartel> vista_;
    QElapsedTimer ultimoRepintado_;
    QTimer repintadoPendiente_;
    int repintados_ = 0;
};

} // namespace rp::banner
