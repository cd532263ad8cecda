#include "banner/widgets/VentanaCartel.h"

#include "banner/Lbf_CtrlDisplay.h"
#include "banner/widgets/VentanaCartelImagen.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace rp::banner {

namespace {
constexpr int kAncho = 380;
constexpr int kAlto = 132;
} // namespace

VentanaCartel::VentanaCartel(Lbf_CtrlDisplay& modelo, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint |
                          (modelo.siempreVisible() ? Qt::WindowStaysOnTopHint : Qt::WindowFlags{})),
      modelo_(modelo) {
    setObjectName(QStringLiteral("Lbf_CtrlDisplay"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Never blocks the loop that shows it, but while it is up the program's
    // other windows take no input: the operator cannot close the form or start
    // a second run under a loop that is still working. Its own cancel button
    // stays live.
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(kAncho, kAlto);

    titulo_ = new QLabel(this);
    titulo_->setObjectName(QStringLiteral("Titulo"));
    QFont negrita = titulo_->font();
    negrita.setBold(true);
    titulo_->setFont(negrita);
    titulo_->setContentsMargins(8, 4, 8, 4);
    titulo_->setAutoFillBackground(true);
    QPalette pt = titulo_->palette();
    pt.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    pt.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
    titulo_->setPalette(pt);

    imagen_ = new VentanaCartelImagen(this);

    auto* textos = new QVBoxLayout;
    textos->setSpacing(2);
    for (size_t i = 0; i < lineas_.size(); ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("LblCtrol%1").arg(i));
        // Long texts are clipped instead of widening the window.
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        l->setTextFormat(Qt::PlainText);
        lineas_[i] = l;
        textos->addWidget(l);
    }

    cancelar_ = new QPushButton(this);
    cancelar_->setObjectName(QStringLiteral("CmdDisplayCancelar"));
    cancelar_->setAutoDefault(false);
    cancelar_->setFocusPolicy(Qt::NoFocus);

    auto* cuerpo = new QHBoxLayout;
    cuerpo->setContentsMargins(10, 6, 10, 0);
    cuerpo->setSpacing(10);
    cuerpo->addWidget(imagen_, 0, Qt::AlignTop);
    cuerpo->addLayout(textos, 1);

    auto* pie = new QHBoxLayout;
    pie->setContentsMargins(10, 0, 10, 8);
    pie->addStretch(1);
    pie->addWidget(cancelar_);

    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(1, 1, 1, 1);
    raiz->setSpacing(4);
    raiz->addWidget(titulo_);
    raiz->addLayout(cuerpo, 1);
    raiz->addLayout(pie);

    // Start-up: centred, translucent, frame 1 and the model's caption. Window
    // systems without translucency show the window opaque.
    centrar();
    setWindowOpacity(kOpacidad);
    imagen_->setCuadro(modelo_.cuadro());
    tomarTextos();
    tomarBoton();

    connect(cancelar_, &QPushButton::clicked, &modelo_, &Lbf_CtrlDisplay::CmdDisplayCancelar_Click);
    connect(&modelo_, &Lbf_CtrlDisplay::botonCambiado, this, &VentanaCartel::tomarBoton);
    connect(&modelo_, &Lbf_CtrlDisplay::cuadroCambiado, imagen_, &VentanaCartelImagen::setCuadro);
    connect(&modelo_, &Lbf_CtrlDisplay::siempreVisibleCambiado, this,
            &VentanaCartel::aplicarSiempreVisible);
}

FabricaVistaCartel VentanaCartel::fabrica() {
    return [](Lbf_CtrlDisplay& modelo) -> std::unique_ptr<VistaCartel> {
        return std::make_unique<VentanaCartel>(modelo);
    };
}

void VentanaCartel::centrar() {
    QScreen* pantalla = QGuiApplication::primaryScreen();
    if (pantalla == nullptr) {
        return;
    }
    const QRect area = pantalla->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void VentanaCartel::tomarTextos() {
    setWindowTitle(modelo_.titulo());
    titulo_->setText(modelo_.titulo());
    for (size_t i = 0; i < lineas_.size(); ++i) {
        lineas_[i]->setText(modelo_.LblCtrol(static_cast<int>(i)));
    }
}

void VentanaCartel::tomarBoton() {
    cancelar_->setText(modelo_.captionCancelar());
    cancelar_->setVisible(modelo_.cancelarVisible());
}

void VentanaCartel::aplicarSiempreVisible(bool siempre) {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, siempre);
    // Changing the flags hides a shown window; show it again where it was.
    if (visible) {
        show();
    }
}

void VentanaCartel::mostrar() {
    tomarTextos();
    tomarBoton();
    show();
    // Platforms without a window stack (offscreen) have nothing to raise.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
    }
}

void VentanaCartel::repintar() {
    tomarTextos();
    if (isVisible()) {
        repaint();
    }
}

void VentanaCartel::ocultar() {
    hide();
}

void VentanaCartel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace rp::banner
