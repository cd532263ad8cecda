#pragma once

#include "banner/VistaCartel.h"

#include <QWidget>
#include <array>

class QLabel;
class QPushButton;

namespace rp::banner {

class Lbf_CtrlDisplay;
class VentanaCartelImagen;

// The banner window Lbf_CtrlDisplay: a small frameless, translucent window kept
// above the others, centred on the screen, with a title strip, the animation,
// three progress lines and the cancel button. A thin view of its model.
// Showing it never blocks the caller; while it is shown the program's other
// windows take no input.
class VentanaCartel : public QWidget, public VistaCartel {
    Q_OBJECT
public:
    static constexpr double kOpacidad = 200.0 / 255.0;

    explicit VentanaCartel(Lbf_CtrlDisplay& modelo, QWidget* parent = nullptr);

    // The factory a Dll_Display takes to show real windows.
    static FabricaVistaCartel fabrica();

    void mostrar() override;
    void repintar() override;
    void ocultar() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void tomarTextos();
    void tomarBoton();
    void aplicarSiempreVisible(bool siempre);
    void centrar();

    Lbf_CtrlDisplay& modelo_;
    QLabel* titulo_ = nullptr;
    VentanaCartelImagen* imagen_ = nullptr;
    std::array<QLabel*, 3> lineas_{};
    QPushButton* cancelar_ = nullptr;
};

} // namespace rp::banner
