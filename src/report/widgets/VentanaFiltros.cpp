#include "report/widgets/VentanaFiltros.h"

#include "report/ComandosFiltros.h"
#include "ui/widgets/OperadorQt.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace rp::report {

VentanaFiltros::VentanaFiltros(ListaFiltros& lista, QWidget* parent)
    : QDialog(parent), lista_(lista) {
    setObjectName(QStringLiteral("frmFiltros"));
    setWindowTitle(QStringLiteral("Filtros"));
    auto* marco = new QVBoxLayout(this);
    marco->addWidget(new QLabel(QStringLiteral("Filtros guardados:"), this));
    vista_ = new QListWidget(this);
    vista_->setObjectName(QStringLiteral("ListaFiltros"));
    marco->addWidget(vista_);
    auto* botones = new QDialogButtonBox(this);
    QPushButton* botonCargar =
        botones->addButton(QStringLiteral("&Cargar"), QDialogButtonBox::AcceptRole);
    botonCargar->setObjectName(QStringLiteral("CmdCargar"));
    botonCargar->setDefault(true);
    QPushButton* renombrar =
        botones->addButton(QStringLiteral("&Renombrar..."), QDialogButtonBox::ActionRole);
    renombrar->setObjectName(QStringLiteral("CmdRenombrar"));
    QPushButton* borrar =
        botones->addButton(QStringLiteral("&Borrar"), QDialogButtonBox::ActionRole);
    borrar->setObjectName(QStringLiteral("CmdBorrar"));
    QPushButton* cerrar =
        botones->addButton(QStringLiteral("C&errar"), QDialogButtonBox::RejectRole);
    cerrar->setObjectName(QStringLiteral("CmdCerrar"));
    marco->addWidget(botones);

    connect(botonCargar, &QPushButton::clicked, this, &VentanaFiltros::cargar);
    connect(renombrar, &QPushButton::clicked, this, [this] { lista_.renombrar(); });
    connect(borrar, &QPushButton::clicked, this, [this] { lista_.borrar(); });
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
    connect(vista_, &QListWidget::itemActivated, this, [this] { cargar(); });
    connect(vista_, &QListWidget::currentRowChanged, this,
            [this](int fila) { lista_.setSeleccionada(fila); });
    connect(&lista_, &ListaFiltros::listaCambiada, this, &VentanaFiltros::mostrarLista);
    mostrarLista();
    resize(480, 360);
}

void VentanaFiltros::mostrarLista() {
    const QSignalBlocker bloqueo(vista_);
    vista_->clear();
    for (int i = 0; i < lista_.entradas().size(); ++i) {
        auto* item = new QListWidgetItem(lista_.textoEntrada(i), vista_);
        if (!lista_.entradas()[i].opciones)
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
    vista_->setCurrentRow(lista_.seleccionada());
    vista_->setFocus();
}

void VentanaFiltros::cargar() {
    if (lista_.cargar())
        accept();
}

bool VentanaFiltros::mostrar(rp::ui::DialogoModal& modelo, QWidget* padre) {
    auto* lista = dynamic_cast<ListaFiltros*>(&modelo);
    if (!lista)
        return false;
    VentanaFiltros ventana(*lista, padre);
    return ventana.exec() == QDialog::Accepted;
}

void VentanaFiltros::registrar(rp::ui::OperadorQt& operador) {
    operador.registrarDialogo(QStringLiteral("FiltrosGuardados"), &VentanaFiltros::mostrar);
}

} // namespace rp::report
