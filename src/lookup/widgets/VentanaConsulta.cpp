#include "lookup/widgets/VentanaConsulta.h"

#include "lookup/Lib_FrmCons3.h"
#include "lookup/widgets/VentanaConsultaArbol.h"
#include "suite/ControlesForm.h"
#include "ui/widgets/OperadorQt.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace rp::lookup {

namespace {

constexpr int kTwipsPorPixel = 15;

// Rows coloured by stock level are shown bold in their colour.
class DelegadoStock : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* opcion, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(opcion, index);
        const QVariant color = index.data(ModeloListaConsulta::RolColorStock);
        if (!color.isValid())
            return;
        const quint32 bgr = quint32(color.toLongLong());
        const QColor c(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
        opcion->palette.setColor(QPalette::Text, c);
        opcion->palette.setColor(QPalette::HighlightedText, c.lighter(180));
        opcion->font.setBold(true);
    }
};

} // namespace

VentanaConsulta::VentanaConsulta(Lib_FrmCons3& frm, QWidget* parent) : QDialog(parent), frm_(frm) {
    setObjectName(QStringLiteral("Lib_FrmCons3"));
    setWindowTitle(frm.Titulo);
    setModal(true);

    auto* titulo = new QLabel(QStringLiteral("CONSULTA"), this);
    titulo->setObjectName(QStringLiteral("Label1"));
    auto* nuevo = new QPushButton(QStringLiteral("N&uevo"), this);
    nuevo->setObjectName(QStringLiteral("CmdNuevo"));
    nuevo->setAutoDefault(false);
    auto* todos = new QPushButton(QStringLiteral("&Marcar"), this);
    todos->setObjectName(QStringLiteral("CmdTodos"));
    todos->setAutoDefault(false);
    todos->setVisible(frm.CheckBoxes);
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(titulo, 1);
    arriba->addWidget(todos);
    arriba->addWidget(nuevo);

    tira_ = new QWidget(this);
    tira_->setObjectName(QStringLiteral("picFields"));
    tira_->setFixedHeight(QLineEdit().sizeHint().height());

    lista_ = new QTableView(this);
    lista_->setObjectName(QStringLiteral("ListView1"));
    lista_->setModel(&frm.modelo());
    lista_->setItemDelegate(new DelegadoStock(lista_));
    lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista_->setSortingEnabled(false);
    lista_->verticalHeader()->hide();
    lista_->verticalHeader()->setDefaultSectionSize(lista_->fontMetrics().height() + 6);
    lista_->horizontalHeader()->setSectionsClickable(true);
    lista_->horizontalHeader()->setHighlightSections(false);
    lista_->setWordWrap(false);
    QFont f = lista_->font();
    f.setBold(true);
    f.setPointSize(10);
    lista_->setFont(f);
    lista_->installEventFilter(this);

    auto* nueva = new QPushButton(QStringLiteral("&Nueva Busqueda"), this);
    nueva->setObjectName(QStringLiteral("CmdNueva"));
    nueva->setAutoDefault(false);
    nueva->setVisible(frm.ConNuevaBusqueda);
    auto* cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("CmdCancelar"));
    cancelar->setAutoDefault(false);
    aceptar_ = new QPushButton(QStringLiteral("&Aceptar"), this);
    aceptar_->setObjectName(QStringLiteral("CmdAceptar"));
    aceptar_->setDefault(true);
    auto* barra = new QWidget(this);
    barra->setObjectName(QStringLiteral("Frame1"));
    auto* botones = new QHBoxLayout(barra);
    botones->setContentsMargins(0, 0, 0, 0);
    botones->addStretch(1);
    botones->addWidget(nueva);
    botones->addWidget(cancelar);
    botones->addWidget(aceptar_);

    auto* capa = new QVBoxLayout(this);
    capa->addLayout(arriba);
    capa->addWidget(tira_);
    capa->addWidget(lista_, 1);
    capa->addWidget(barra);

    connect(aceptar_, &QPushButton::clicked, this, &VentanaConsulta::aceptar);
    connect(cancelar, &QPushButton::clicked, this, &VentanaConsulta::reject);
    connect(nueva, &QPushButton::clicked, this, [this] {
        frm_.NuevaBusqueda();
        if (!busquedas_.isEmpty())
            busquedas_.first()->setFocus();
    });
    connect(todos, &QPushButton::clicked, this, [this] { frm_.Marcar(); });
    connect(nuevo, &QPushButton::clicked, this, [this] { frm_.Nuevo(); });
    connect(lista_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        frm_.setSeleccionada(i.row());
        aceptar();
    });
    connect(lista_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int col) { frm_.modelo().clicEncabezado(col); });
    connect(lista_->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!ajustando_)
            anchosMovidos_ = true;
        alinearBusquedas();
    });
    connect(lista_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &VentanaConsulta::alinearBusquedas);
    connect(&frm, &Lib_FrmCons3::recargado, this, &VentanaConsulta::reconstruir);
    connect(&frm, &Lib_FrmCons3::seleccionCambiada, this, &VentanaConsulta::seleccionar);
    connect(&frm, &Lib_FrmCons3::busquedaCambiada, this, [this](int k, const QString& t) {
        if (k >= 0 && k < busquedas_.size() && busquedas_[k]->text() != t) {
            const QSignalBlocker b(busquedas_[k]);
            busquedas_[k]->setText(t);
        }
    });
    auto* f12 = new QShortcut(QKeySequence(Qt::Key_F12), this);
    f12->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f12, &QShortcut::activated, this, [this] { frm_.informarFaltante(); });

    reconstruir();
    seleccionar(frm.seleccionada());
}

void VentanaConsulta::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    // The operator types at once: the window takes the keyboard and the
    // first search box the focus.
    activateWindow();
    if (!busquedas_.isEmpty())
        busquedas_.first()->setFocus();
}

void VentanaConsulta::reconstruir() {
    const int n = frm_.modelo().columnCount();
    while (busquedas_.size() > n)
        delete busquedas_.takeLast();
    while (busquedas_.size() < n) {
        auto* caja = new QLineEdit(tira_);
        const int k = int(busquedas_.size());
        caja->setObjectName(QStringLiteral("CmbSearch_%1").arg(k));
        caja->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
        caja->installEventFilter(this);
        connect(caja, &QLineEdit::textChanged, this,
                [this, k](const QString& t) { frm_.cambioBusqueda(k, t); });
        busquedas_.append(caja);
    }
    for (int k = 0; k < n; ++k) {
        const QSignalBlocker b(busquedas_[k]);
        busquedas_[k]->setText(frm_.textoBusqueda(k));
        busquedas_[k]->setProperty("tag", frm_.modelo().columnas()[k].campo);
        busquedas_[k]->show();
    }
    // Widths: the saved ones (twips) where there are, else the field's size
    // in letters "X".
    ajustando_ = true;
    const QList<int> guardados = frm_.anchosGuardados();
    const int x = lista_->fontMetrics().horizontalAdvance(QLatin1Char('X'));
    int total = 0;
    for (int c = 0; c < n; ++c) {
        const int w = c < guardados.size() ? guardados[c] / kTwipsPorPixel
                                           : frm_.modelo().columnas()[c].caracteres * x;
        lista_->setColumnWidth(c, qMax(w, 8));
        total += lista_->columnWidth(c);
    }
    ajustando_ = false;
    const QScreen* pantalla = screen();
    const int maximo = pantalla ? pantalla->availableGeometry().width() - 32 : 1200;
    resize(qBound(420, total + 48, qMax(420, maximo)), qMax(height(), 420));
    alinearBusquedas();
    seleccionar(frm_.seleccionada());
}

void VentanaConsulta::alinearBusquedas() {
    const QHeaderView* h = lista_->horizontalHeader();
    const int izquierda = lista_->viewport()->x() + lista_->frameWidth();
    for (int k = 0; k < busquedas_.size(); ++k) {
        const int x = h->sectionViewportPosition(k);
        busquedas_[k]->setGeometry(izquierda + x, 0, qMax(h->sectionSize(k) - 3, 4),
                                   tira_->height());
    }
}

void VentanaConsulta::seleccionar(int pos) {
    if (pos < 0) {
        lista_->clearSelection();
        return;
    }
    const QModelIndex i = frm_.modelo().index(pos, 0);
    if (lista_->currentIndex().row() != pos)
        lista_->setCurrentIndex(i);
    lista_->selectRow(pos);
    lista_->scrollTo(i);
}

void VentanaConsulta::aceptar() {
    if (lista_->currentIndex().isValid() && frm_.seleccionada() < 0)
        frm_.setSeleccionada(lista_->currentIndex().row());
    if (frm_.Aceptar()) {
        cerrarAnchos();
        accept();
    }
}

void VentanaConsulta::reject() {
    frm_.Cancelar();
    cerrarAnchos();
    QDialog::reject();
}

void VentanaConsulta::cerrarAnchos() {
    // Widths the operator dragged are kept for this table.
    if (!anchosMovidos_)
        return;
    QList<int> twips;
    for (int c = 0; c < frm_.modelo().columnCount(); ++c)
        twips << lista_->columnWidth(c) * kTwipsPorPixel;
    frm_.GrabarAnchos(twips);
    anchosMovidos_ = false;
}

bool VentanaConsulta::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::FocusIn) {
        const int k = int(busquedas_.indexOf(qobject_cast<QLineEdit*>(objeto)));
        if (k >= 0) {
            frm_.BusquedaActiva = k;
            busquedas_[k]->setStyleSheet(QStringLiteral("background-color: #00FFFF;"));
        }
    } else if (evento->type() == QEvent::FocusOut) {
        if (auto* caja = qobject_cast<QLineEdit*>(objeto); caja && busquedas_.contains(caja))
            caja->setStyleSheet(QStringLiteral("background-color: #FFFFFF;"));
    }
    if (evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objeto, evento);
    auto* tecla = static_cast<QKeyEvent*>(evento);
    const int k = int(busquedas_.indexOf(qobject_cast<QLineEdit*>(objeto)));
    if (k >= 0) {
        switch (tecla->key()) {
        case Qt::Key_F5:
            frm_.busquedaServidor(k);
            return true;
        case Qt::Key_Down:
        case Qt::Key_Up:
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
            lista_->setFocus();
            return true;
        default:
            return false;
        }
    }
    if (objeto != lista_)
        return QDialog::eventFilter(objeto, evento);
    // Arrows, pages, Home and End move in the list as usual.
    switch (tecla->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_F12:
        return false;
    default:
        break;
    }
    if (lista_->currentIndex().isValid())
        frm_.setSeleccionada(lista_->currentIndex().row());
    const int codigo = tecla->key() == Qt::Key_Space    ? 32
                       : tecla->key() == Qt::Key_Insert ? 45
                       : tecla->key() == Qt::Key_Delete
                           ? 46
                           : suite::ControlesForm::CodigoTecla(tecla->key());
    const int shift = suite::ControlesForm::EstadoShift(int(tecla->modifiers()));
    bool acepta = false;
    const std::optional<QString> texto = frm_.teclaLista(codigo, shift, acepta, tecla->text());
    if (acepta) {
        aceptar();
        return true;
    }
    if (texto) {
        const int activa = qBound(0, frm_.BusquedaActiva, int(busquedas_.size()) - 1);
        if (activa >= 0 && activa < busquedas_.size()) {
            busquedas_[activa]->setFocus();
            busquedas_[activa]->setText(*texto);
        }
        return true;
    }
    return codigo == 32 || codigo == 45 || codigo == 46;
}

bool VentanaConsulta::mostrar(rp::ui::DialogoModal& modelo, QWidget* padre) {
    return mostrarModal<VentanaConsulta, Lib_FrmCons3>(modelo, padre);
}

void VentanaConsulta::registrar(rp::ui::OperadorQt& operador) {
    operador.registrarDialogo(QStringLiteral("Lib_FrmCons3"), &VentanaConsulta::mostrar);
    operador.registrarDialogo(QStringLiteral("Lib_FrmCons3Tree"), &VentanaConsultaArbol::mostrar);
}

} // namespace rp::lookup
