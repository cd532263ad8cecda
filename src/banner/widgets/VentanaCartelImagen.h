#pragma once

#include <QWidget>

namespace rp::banner {

// Image1 of the banner: a 32 by 32 busy animation of twelve frames, drawn as
// twelve spokes of which the one at the current frame is darkest and the
// following ones fade out.
class VentanaCartelImagen : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLado = 32;

    explicit VentanaCartelImagen(QWidget* parent = nullptr);

    int cuadro() const { return cuadro_; }
    // Frames are numbered 1..12; other numbers are taken modulo 12.
    void setCuadro(int cuadro);

    QSize sizeHint() const override { return {kLado, kLado}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int cuadro_ = 1;
};

} // namespace rp::banner
