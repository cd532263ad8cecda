#include "connections/widgets/VentanaAcceso.h"

#include "db/AccesoPrompt.h"
#include "ui/widgets/OperadorQt.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace rp::connections {

namespace {

// A colour value as the suite stores it (0x00BBGGRR).
QColor colorDeValor(int valor) {
    return QColor(valor & 0xFF, (valor >> 8) & 0xFF, (valor >> 16) & 0xFF);
}

} // namespace

VentanaAcceso::VentanaAcceso(frmAcceso& modelo, QWidget* padre) : QDialog(padre), modelo_(modelo) {
    setObjectName(QStringLiteral("frmAcceso"));
    setWindowTitle(QStringLiteral("Control de Acceso"));
    setModal(true);

    for (int i = 0; i < frmAcceso::kCajas; ++i) {
        const auto c = static_cast<frmAcceso::Caja>(i);
        auto* e = new QLineEdit(this);
        e->setObjectName(frmAcceso::nombreCaja(c));
        e->setToolTip(frmAcceso::toolTip(c));
        cajas_[static_cast<size_t>(i)] = e;
        connect(e, &QLineEdit::textEdited, this,
                [this, c](const QString& texto) { modelo_.setTexto(c, texto); });
    }
    QLineEdit* password = caja(frmAcceso::TxtUserPassword);
    password->setEchoMode(QLineEdit::Password);
    password->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    caja(frmAcceso::TxtPuerto)->setMaximumWidth(70);
    caja(frmAcceso::TxtUserId)->installEventFilter(this);

    plataforma_ = new QComboBox(this);
    plataforma_->setObjectName(QStringLiteral("CboPlataformaDB"));
    plataforma_->addItems(frmAcceso::plataformas());
    connect(plataforma_, &QComboBox::activated, &modelo_, &frmAcceso::setCboPlataformaDB);

    lista_ = new QListWidget(this);
    lista_->setObjectName(QStringLiteral("lstBases"));
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->installEventFilter(this);
    connect(lista_, &QListWidget::currentRowChanged, &modelo_, &frmAcceso::lstBases_Click);
    connect(lista_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { modelo_.lstBases_Click(lista_->row(item)); });
    connect(lista_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { modelo_.lstBases_DblClick(lista_->row(item)); });

    aceptar_ = new QPushButton(QStringLiteral("Aceptar"), this);
    aceptar_->setObjectName(QStringLiteral("bcAceptar"));
    aceptar_->setDefault(true);
    cancelar_ = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelar_->setObjectName(QStringLiteral("bcCancelar"));
    cancelar_->setAutoDefault(false);
    connect(aceptar_, &QPushButton::clicked, &modelo_, &frmAcceso::bcAceptar_Click);
    connect(cancelar_, &QPushButton::clicked, &modelo_, &frmAcceso::bcCancelar_Click);
    registrar_ = new QPushButton(QStringLiteral("Registrar"), this);
    registrar_->setObjectName(QStringLiteral("CmdRegistrar"));
    registrar_->setAutoDefault(false);
    accesoDirecto_ = new QPushButton(QStringLiteral("Crear Acceso Directo"), this);
    accesoDirecto_->setObjectName(QStringLiteral("CmdLineaComando"));
    accesoDirecto_->setAutoDefault(false);
    connect(registrar_, &QPushButton::clicked, &modelo_, &frmAcceso::CmdRegistrar_Click);
    connect(accesoDirecto_, &QPushButton::clicked, &modelo_, &frmAcceso::CmdLineaComando_Click);

    // Layout: list on the left, the connection frame on the right.
    auto* izquierda = new QVBoxLayout;
    auto* tituloLista = new QLabel(QStringLiteral("Conexiones registradas"), this);
    tituloLista->setObjectName(QStringLiteral("Label1"));
    tituloLista->setBuddy(lista_);
    izquierda->addWidget(tituloLista);
    izquierda->addWidget(lista_, 1);

    auto* marco = new QGroupBox(QStringLiteral("Complete los datos de conexion"), this);
    marco->setObjectName(QStringLiteral("framAcceso"));
    auto* formulario = new QFormLayout(marco);
    formulario->addRow(QStringLiteral("Plataforma"), plataforma_);
    auto* filaServidor = new QHBoxLayout;
    filaServidor->addWidget(caja(frmAcceso::TxtServidor), 1);
    filaServidor->addWidget(new QLabel(QStringLiteral("Puerto"), marco));
    filaServidor->addWidget(caja(frmAcceso::TxtPuerto));
    formulario->addRow(QStringLiteral("Servidor"), filaServidor);
    formulario->addRow(QStringLiteral("Base de datos"), caja(frmAcceso::TxtDbName));
    formulario->addRow(QStringLiteral("Usuario"), caja(frmAcceso::TxtUserId));
    formulario->addRow(QStringLiteral("Contraseña"), caja(frmAcceso::TxtUserPassword));

    auto* botones = new QHBoxLayout;
    botones->addWidget(registrar_);
    botones->addWidget(accesoDirecto_);
    botones->addStretch(1);
    botones->addWidget(aceptar_);
    botones->addWidget(cancelar_);

    auto* cuerpo = new QHBoxLayout;
    cuerpo->addLayout(izquierda, 2);
    cuerpo->addWidget(marco, 3);
    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(cuerpo, 1);
    raiz->addLayout(botones);
    resize(640, 300);

    connect(&modelo_, &frmAcceso::cajaCambiada, this, &VentanaAcceso::tomarCaja);
    connect(&modelo_, &frmAcceso::mensajeInicialMostrado, this, &VentanaAcceso::seleccionarHint);
    connect(&modelo_, &frmAcceso::listaCambiada, this, &VentanaAcceso::tomarLista);
    connect(&modelo_, &frmAcceso::seleccionListaCambiada, this, &VentanaAcceso::tomarSeleccion);
    connect(&modelo_, &frmAcceso::plataformaCambiada, this, &VentanaAcceso::tomarPlataforma);
    connect(&modelo_, &frmAcceso::ocultar, this, &VentanaAcceso::ocultarPorBoton);

    centrar();
    modelo_.Form_Load();
}

void VentanaAcceso::centrar() {
    QScreen* pantalla = QGuiApplication::primaryScreen();
    if (pantalla == nullptr) {
        return;
    }
    const QRect area = pantalla->geometry();
    move(area.left() + area.width() / 2 - width() / 2,
         area.top() + area.height() / 2 - height() / 2);
}

void VentanaAcceso::tomarCaja(frmAcceso::Caja c) {
    QLineEdit* e = caja(c);
    if (e->text() != modelo_.texto(c)) {
        const QSignalBlocker bloqueo(e);
        e->setText(modelo_.texto(c));
    }
    QPalette p = e->palette();
    const int color = modelo_.colorTexto(c);
    p.setColor(QPalette::Text, color == frmAcceso::kColorNormal ? palette().color(QPalette::Text)
                                                                : colorDeValor(color));
    e->setPalette(p);
}

void VentanaAcceso::seleccionarHint(frmAcceso::Caja c) {
    caja(c)->setSelection(modelo_.selInicio(c), modelo_.selLargo(c));
}

void VentanaAcceso::tomarLista() {
    const QSignalBlocker bloqueo(lista_);
    lista_->clear();
    lista_->addItems(modelo_.lstBases());
    lista_->setCurrentRow(modelo_.lstBasesIndice());
}

void VentanaAcceso::tomarSeleccion(int indice) {
    const QSignalBlocker bloqueo(lista_);
    lista_->setCurrentRow(indice);
}

void VentanaAcceso::tomarPlataforma(int indice) {
    const QSignalBlocker bloqueo(plataforma_);
    plataforma_->setCurrentIndex(indice);
}

void VentanaAcceso::ocultarPorBoton() {
    done(modelo_.Aceptar() ? Accepted : Rejected);
}

bool VentanaAcceso::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == caja(frmAcceso::TxtUserId) && evento->type() == QEvent::FocusIn) {
        modelo_.TxtUserId_GotFocus();
    } else if (objeto == lista_ && evento->type() == QEvent::KeyPress) {
        // Keys first move the list's selection, then the entry is assigned.
        const bool resultado = QDialog::eventFilter(objeto, evento);
        QMetaObject::invokeMethod(&modelo_, &frmAcceso::lstBases_KeyDown, Qt::QueuedConnection);
        return resultado;
    }
    return QDialog::eventFilter(objeto, evento);
}

void VentanaAcceso::reject() {
    if (cerrandoPorMarco_) {
        // Closing by the frame sets nothing: the flag keeps its value.
        QDialog::reject();
        return;
    }
    // Escape is the "Cancelar" button.
    modelo_.bcCancelar_Click();
}

void VentanaAcceso::closeEvent(QCloseEvent* evento) {
    cerrandoPorMarco_ = true;
    QDialog::closeEvent(evento);
    cerrandoPorMarco_ = false;
}

bool VentanaAcceso::mostrarPrompt(frmAcceso& modelo, rp::db::AccesoPrompt& prompt, QWidget* padre) {
    if (modelo.registrando()) {
        // A second window over the same model would hide the first with it.
        prompt.Aceptar = false;
        return false;
    }
    VentanaAcceso ventana(modelo, padre);
    modelo.recibirPrompt(prompt);
    ventana.exec();
    modelo.entregarPrompt(prompt);
    return prompt.Aceptar;
}

void VentanaAcceso::registrar(rp::ui::OperadorQt& operador, frmAcceso& modelo) {
    operador.registrarDialogo(QStringLiteral("frmAcceso"),
                              [&modelo](rp::ui::DialogoModal& dialogo, QWidget* padre) {
                                  auto* prompt = dynamic_cast<rp::db::AccesoPrompt*>(&dialogo);
                                  if (prompt == nullptr) {
                                      return false;
                                  }
                                  return mostrarPrompt(modelo, *prompt, padre);
                              });
}

} // namespace rp::connections
