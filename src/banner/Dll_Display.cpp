#include "banner/Dll_Display.h"

#include <QCoreApplication>

namespace rp::banner {

Dll_Display::Dll_Display() : Dll_Display(FabricaVistaCartel{}) {}

Dll_Display::Dll_Display(FabricaVistaCartel fabrica) : fabrica_(std::move(fabrica)) {
    repintadoPendiente_.setSingleShot(true);
    connect(&repintadoPendiente_, &QTimer::timeout, this, &Dll_Display::repintarAhora);
}

Dll_Display::~Dll_Display() {
    CartelCerrar();
}

void Dll_Display::crearVentana() {
    if (ventana_) {
        return;
    }
    ventana_ = std::make_unique<Lbf_CtrlDisplay>();
    repintados_ = 0;
    ultimoRepintado_.invalidate();
    if (fabrica_) {
        vista_ = fabrica_(*ventana_);
    }
}

void Dll_Display::CartelInicio(const QString& Titulo, bool PermiteCancelar) {
    crearVentana();
    ventana_->setTitulo(Titulo);
    ventana_->setCancelarVisible(PermiteCancelar);
    if (vista_) {
        vista_->mostrar();
    }
}

void Dll_Display::CartelMostrar(bool& Cancelado, const std::optional<QString>& L1,
                                const std::optional<QString>& L2,
                                const std::optional<QString>& L3) {
    crearVentana();
    if (L1) {
        ventana_->setLblCtrol(0, *L1);
    }
    if (L2) {
        ventana_->setLblCtrol(1, *L2);
    }
    if (L3) {
        ventana_->setLblCtrol(2, *L3);
    }

    if (!ultimoRepintado_.isValid() || ultimoRepintado_.elapsed() >= kPausaRepintadoMs) {
        repintarAhora();
    } else if (!repintadoPendiente_.isActive()) {
        const qint64 resto = kPausaRepintadoMs - ultimoRepintado_.elapsed();
        repintadoPendiente_.start(static_cast<int>(qMax<qint64>(resto, 1)));
    }

    Cancelado = ventana_->abortado();

    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents();
    }
}

void Dll_Display::repintarAhora() {
    repintadoPendiente_.stop();
    if (!ventana_) {
        return;
    }
    ultimoRepintado_.start();
    ++repintados_;
    if (vista_) {
        vista_->repintar();
    }
}

void Dll_Display::CartelCerrar() {
    repintadoPendiente_.stop();
    if (vista_) {
        vista_->ocultar();
    }
    vista_.reset();
    ventana_.reset();
}

void Dll_Display::setSiempre_Visible(bool valor) {
    crearVentana();
    ventana_->setSiempreVisible(valor);
}

} // namespace rp::banner
