#include "banner/Lbf_CtrlDisplay.h"

#include <QCoreApplication>

namespace rp::banner {

const QString Lbf_CtrlDisplay::kTituloInicial = QStringLiteral("Procesando Datos");
const QString Lbf_CtrlDisplay::kCaptionCancelar = QStringLiteral("&Cancelar");
const QString Lbf_CtrlDisplay::kCaptionAbortado = QStringLiteral("Abortado");

Lbf_CtrlDisplay::Lbf_CtrlDisplay(QObject* parent)
    : QObject(parent), titulo_(kTituloInicial), captionCancelar_(kCaptionCancelar) {
    timer1_.setInterval(kIntervaloTimerMs);
    connect(&timer1_, &QTimer::timeout, this, &Lbf_CtrlDisplay::Timer1_Timer);
    // Timers need the event dispatcher of an application object; without one
    // the banner still works, only the animation stands still.
    if (QCoreApplication::instance() != nullptr) {
        timer1_.start();
    }
}

void Lbf_CtrlDisplay::setTitulo(const QString& titulo) {
    if (titulo_ == titulo) {
        return;
    }
    titulo_ = titulo;
    Q_EMIT tituloCambiado();
}

QString Lbf_CtrlDisplay::LblCtrol(int indice) const {
    if (indice < 0 || indice >= kLineas) {
        return QString();
    }
    return lineas_[static_cast<size_t>(indice)];
}

void Lbf_CtrlDisplay::setLblCtrol(int indice, const QString& texto) {
    if (indice < 0 || indice >= kLineas) {
        return;
    }
    QString& linea = lineas_[static_cast<size_t>(indice)];
    if (linea == texto) {
        return;
    }
    linea = texto;
    Q_EMIT lineaCambiada(indice);
}

void Lbf_CtrlDisplay::setCancelarVisible(bool visible) {
    if (cancelarVisible_ == visible) {
        return;
    }
    cancelarVisible_ = visible;
    Q_EMIT botonCambiado();
}

void Lbf_CtrlDisplay::setSiempreVisible(bool siempre) {
    if (siempreVisible_ == siempre) {
        return;
    }
    siempreVisible_ = siempre;
    Q_EMIT siempreVisibleCambiado(siempre);
}

void Lbf_CtrlDisplay::Timer1_Timer() {
    contador_ = static_cast<qint16>(contador_ + 1);
    cuadro_ = contador_;
    if (contador_ >= kCuadros) {
        contador_ = 0;
    }
    Q_EMIT cuadroCambiado(cuadro_);
}

void Lbf_CtrlDisplay::CmdDisplayCancelar_Click() {
    if (captionCancelar_ == kCaptionAbortado) {
        return;
    }
    captionCancelar_ = kCaptionAbortado;
    Q_EMIT botonCambiado();
}

} // namespace rp::banner
