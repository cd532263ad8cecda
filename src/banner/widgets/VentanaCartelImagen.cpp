#include "banner/widgets/VentanaCartelImagen.h"

#include "banner/Lbf_CtrlDisplay.h"

#include <QPainter>
#include <QPen>

namespace rp::banner {

VentanaCartelImagen::VentanaCartelImagen(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    setFixedSize(kLado, kLado);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void VentanaCartelImagen::setCuadro(int cuadro) {
    const int n = Lbf_CtrlDisplay::kCuadros;
    cuadro = ((cuadro - 1) % n + n) % n + 1;
    if (cuadro_ == cuadro) {
        return;
    }
    cuadro_ = cuadro;
    update();
}

void VentanaCartelImagen::paintEvent(QPaintEvent*) {
    const int n = Lbf_CtrlDisplay::kCuadros;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    const QColor base = palette().color(QPalette::Highlight);
    for (int k = 0; k < n; ++k) {
        // Spoke k sits at k * 30 degrees clockwise from twelve o'clock; the
        // spoke of the current frame is the head, the ones behind it fade.
        const int atras = ((cuadro_ - 1 - k) % n + n) % n;
        QColor c = base;
        c.setAlphaF(1.0 - 0.8 * atras / (n - 1));
        p.save();
        p.rotate(30.0 * k);
        p.setPen(QPen(c, 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, -7.0), QPointF(0, -13.0));
        p.restore();
    }
}

} // namespace rp::banner
