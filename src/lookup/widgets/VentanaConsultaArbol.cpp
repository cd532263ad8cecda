#include "lookup/widgets/VentanaConsultaArbol.h"

#include "lookup/Lib_FrmCons3Tree.h"
#include "lookup/widgets/VentanaConsulta.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace rp::lookup {

VentanaConsultaArbol::VentanaConsultaArbol(Lib_FrmCons3Tree& arbol, QWidget* parent)
    : QDialog(parent), arbol_(arbol) {
    setObjectName(QStringLiteral("Lib_FrmCons3Tree"));
    setWindowTitle(QStringLiteral("Consulta..."));
    setModal(true);
    resize(560, 520);

    auto* etiqueta = new QLabel(QStringLiteral("Familia"), this);
    etiqueta->setObjectName(QStringLiteral("lblFieldName"));
    busqueda_ = new QLineEdit(this);
    busqueda_->setObjectName(QStringLiteral("CmbSearch_0"));
    busqueda_->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
    busqueda_->installEventFilter(this);

    vista_ = new QTreeView(this);
    vista_->setObjectName(QStringLiteral("TreeV"));
    vista_->setModel(&arbol);
    vista_->setHeaderHidden(true);
    vista_->setRootIsDecorated(true);
    vista_->setUniformRowHeights(true);
    vista_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* nueva = new QPushButton(QStringLiteral("&Nueva Busqueda"), this);
    nueva->setObjectName(QStringLiteral("CmdNueva"));
    nueva->setAutoDefault(false);
    auto* cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("CmdCancelar"));
    cancelar->setAutoDefault(false);
    auto* botonAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    botonAceptar->setObjectName(QStringLiteral("CmdAceptar"));
    botonAceptar->setDefault(true);
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(nueva);
    botones->addWidget(cancelar);
    botones->addWidget(botonAceptar);

    auto* capa = new QVBoxLayout(this);
    capa->addWidget(etiqueta);
    capa->addWidget(busqueda_);
    capa->addWidget(vista_, 1);
    capa->addLayout(botones);

    connect(busqueda_, &QLineEdit::textChanged, this,
            [this](const QString& t) { arbol_.cambioBusqueda(t); });
    connect(botonAceptar, &QPushButton::clicked, this, &VentanaConsultaArbol::aceptar);
    connect(cancelar, &QPushButton::clicked, this, &VentanaConsultaArbol::reject);
    connect(nueva, &QPushButton::clicked, this, [this] { arbol_.NuevaBusqueda(); });
    connect(vista_, &QTreeView::doubleClicked, this, [this](const QModelIndex& i) {
        arbol_.setSeleccionado(arbol_.nodoDeIndice(i));
        aceptar();
    });
    connect(vista_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& i) { arbol_.setSeleccionado(arbol_.nodoDeIndice(i)); });
    connect(&arbol, &Lib_FrmCons3Tree::seleccionCambiada, this, &VentanaConsultaArbol::seleccionar);
    connect(&arbol, &Lib_FrmCons3Tree::recargado, this,
            [this] { vista_->expand(arbol_.indiceDeNodo(0)); });
    vista_->expand(arbol.indiceDeNodo(0));
    busqueda_->setFocus();
}

void VentanaConsultaArbol::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    activateWindow();
    busqueda_->setFocus();
}

void VentanaConsultaArbol::seleccionar(int nodo) {
    const QModelIndex i = arbol_.indiceDeNodo(nodo);
    if (!i.isValid())
        return;
    if (vista_->currentIndex() != i)
        vista_->setCurrentIndex(i);
    vista_->scrollTo(i);
}

void VentanaConsultaArbol::aceptar() {
    if (arbol_.Aceptar())
        accept();
}

void VentanaConsultaArbol::reject() {
    arbol_.Cancelar();
    QDialog::reject();
}

bool VentanaConsultaArbol::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == busqueda_ && evento->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(evento)->key()) {
        case Qt::Key_F5: {
            const QString t = busqueda_->text();
            {
                const QSignalBlocker b(busqueda_);
                busqueda_->clear();
            }
            arbol_.busquedaServidor(t);
            return true;
        }
        case Qt::Key_Down:
        case Qt::Key_Up:
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
            vista_->setFocus();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

bool VentanaConsultaArbol::mostrar(rp::ui::DialogoModal& modelo, QWidget* padre) {
    return mostrarModal<VentanaConsultaArbol, Lib_FrmCons3Tree>(modelo, padre);
}

} // namespace rp::lookup
