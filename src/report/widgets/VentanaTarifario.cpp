#include "report/widgets/VentanaTarifario.h"

#include "report/ComandosFiltros.h"

#include "report/CamposFormulario.h"
#include "report/ConsultaCampo.h"
#include "report/FormularioTarifario.h"
#include "report/widgets/QtBarraReporte.h"
#include "report/widgets/QtCampoTexto.h"
#include "suite/Regional.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTabWidget>
#include <QVBoxLayout>

namespace rp::report {

namespace {

// A caption as a button shows it: "&" stands for itself, not for a mnemonic.
QString literal(const QString& texto) {
    QString t = texto;
    return t.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

VentanaTarifario::VentanaTarifario(FormularioTarifario& modelo, QWidget* parent)
    : QMainWindow(parent), modelo_(modelo) {
    setObjectName(QStringLiteral("frmRp_TARIFARIO"));
    setWindowTitle(CamposFormulario::tituloFormulario());
    setWindowIcon(QIcon::fromTheme(QStringLiteral("x-office-spreadsheet")));

    barra_ = new QtBarraReporte(modelo.barra(), this);
    addToolBar(Qt::TopToolBarArea, barra_);
    agregarAccionesFiltros();

    QWidget* central = new QWidget(this);
    auto* marcoCentral = new QVBoxLayout(central);
    marcoCentral->setContentsMargins(10, 8, 10, 6);
    pestanas_ = new QTabWidget(central);
    pestanas_->setObjectName(QStringLiteral("SSTab1"));
    for (int p = 0; p < CamposFormulario::CantidadPestanas; ++p)
        pestanas_->addTab(armarPestana(p), CamposFormulario::tituloPestana(p));
    pestanas_->setCurrentIndex(modelo.pestana());
    marcoCentral->addWidget(pestanas_);
    setCentralWidget(central);
    statusBar()->setSizeGripEnabled(false);
    mostrarTitulos();

    connect(pestanas_, &QTabWidget::currentChanged, &modelo_, &FormularioTarifario::setPestana);
    connect(&modelo_, &FormularioTarifario::pestanaCambiada, pestanas_,
            &QTabWidget::setCurrentIndex);
    connect(&modelo_, &FormularioTarifario::focoPedido, this, &VentanaTarifario::darFoco);
    connect(&modelo_, &FormularioTarifario::titulosCambiados, this,
            &VentanaTarifario::mostrarTitulos);
    connect(&modelo_, &FormularioTarifario::chkFiltroCambiado, this, [this](int i) {
        if (QCheckBox* c = chk_.value(i))
            c->setChecked(modelo_.chkFiltro(i));
    });
    connect(&modelo_, &FormularioTarifario::optPreciosCambiado, this, [this](int i) {
        if (QRadioButton* r = precios_.value(i); r && modelo_.optPrecios(i))
            r->setChecked(true);
    });
    connect(&modelo_, &FormularioTarifario::optOrdenCambiado, this, [this](int i) {
        if (QRadioButton* r = orden_.value(i); r && modelo_.optOrden(i))
            r->setChecked(true);
    });
    connect(&modelo_, &FormularioTarifario::descargado, this, &VentanaTarifario::alDescargar);

    // Sized to its contents, within a 1366x768 screen (less the panel).
    adjustSize();
    QSize tamano = sizeHint().expandedTo(QSize(900, 560));
    tamano = tamano.boundedTo(QSize(1366, 728));
    if (const QScreen* pantalla = screen())
        tamano = tamano.boundedTo(pantalla->availableSize());
    resize(tamano);
}

// "Guardar filtro..." and "Filtros", after the report buttons.
void VentanaTarifario::agregarAccionesFiltros() {
    QAction* antes = nullptr;
    const QList<QAction*> acciones = barra_->actions();
    for (qsizetype i = 1; i < acciones.size(); ++i)
        if (acciones[i]->objectName() == BarraReporte::Cerrar)
            antes = acciones[i - 1]; // the space that pushes "Cerrar" to the right
    auto agregar = [&](const QString& nombre, const QString& texto, const char* icono,
                       const QKeySequence& atajo, const QString& descripcion) {
        auto* a = new QAction(QIcon::fromTheme(QString::fromLatin1(icono)), texto, this);
        a->setObjectName(nombre);
        a->setShortcut(atajo);
        a->setShortcutContext(Qt::WindowShortcut);
        a->setToolTip(
            QStringLiteral("%1 (%2)").arg(descripcion, atajo.toString(QKeySequence::NativeText)));
        a->setStatusTip(descripcion);
        barra_->insertAction(antes, a);
        return a;
    };
    barra_->insertSeparator(antes);
    QAction* guardar = agregar(QStringLiteral("GuardarFiltro"), QStringLiteral("Guardar filtro..."),
                               "document-save-as", QKeySequence(Qt::CTRL | Qt::Key_S),
                               QStringLiteral("Guarda los filtros del formulario con un nombre"));
    QAction* filtros = agregar(QStringLiteral("Filtros"), QStringLiteral("Filtros"),
                               "document-open", QKeySequence(Qt::CTRL | Qt::Key_O),
                               QStringLiteral("Carga, renombra o borra los filtros guardados"));
    connect(guardar, &QAction::triggered, this, [this] {
        FiltrosGuardados filtros;
        GuardarFiltro(modelo_, filtros);
    });
    connect(filtros, &QAction::triggered, this, [this] {
        FiltrosGuardados filtros;
        AbrirFiltros(modelo_, filtros);
    });
}

void VentanaTarifario::aplicarEstilo(QApplication& aplicacion) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        aplicacion.setStyle(fusion);

    QPalette p;
    const QColor fondo(0xEE, 0xF1, 0xF5);
    const QColor texto(0x1F, 0x29, 0x33);
    const QColor boton(0xE3, 0xE8, 0xEE);
    const QColor resalte(0x2F, 0x6F, 0xB0);
    const QColor apagado(0x8A, 0x94, 0x9E);
    p.setColor(QPalette::Window, fondo);
    p.setColor(QPalette::WindowText, texto);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(0xF6, 0xF8, 0xFA));
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFD, 0xE7));
    p.setColor(QPalette::ToolTipText, texto);
    p.setColor(QPalette::PlaceholderText, apagado);
    p.setColor(QPalette::Text, texto);
    p.setColor(QPalette::Button, boton);
    p.setColor(QPalette::ButtonText, texto);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Midlight, QColor(0xF4, 0xF6, 0xF9));
    p.setColor(QPalette::Mid, QColor(0xB8, 0xC1, 0xCC));
    p.setColor(QPalette::Dark, QColor(0x9A, 0xA5, 0xB1));
    p.setColor(QPalette::Shadow, QColor(0x5A, 0x64, 0x70));
    p.setColor(QPalette::Highlight, resalte);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, resalte);
    for (QPalette::ColorRole rol : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, rol, apagado);
    aplicacion.setPalette(p);

    // Without a desktop icon theme (a bare window manager, the offscreen
    // platform) the toolbar takes Adwaita's icons.
    const QString adwaita = QStringLiteral("Adwaita");
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
        QStringList rutas = QIcon::themeSearchPaths();
        const QStringList sistema =
            QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                      QStandardPaths::LocateDirectory);
        for (const QString& ruta : sistema) {
            if (!rutas.contains(ruta))
                rutas << ruta;
        }
        QIcon::setThemeSearchPaths(rutas);
        QIcon::setThemeName(adwaita);
    }
    if (QIcon::fallbackThemeName().isEmpty())
        QIcon::setFallbackThemeName(adwaita);
}

QWidget* VentanaTarifario::armarPestana(int pestana) {
    QWidget* pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("Pestana_%1").arg(pestana));
    auto* fila = new QHBoxLayout(pagina);
    fila->setContentsMargins(12, 12, 12, 12);
    fila->setSpacing(14);

    auto* izquierda = new QVBoxLayout;
    izquierda->setSpacing(8);
    const QList<CamposFormulario::Marco>& marcos = CamposFormulario::marcos();
    for (int n = 0; n < marcos.size(); ++n) {
        if (marcos[n].pestana == pestana)
            izquierda->addWidget(armarMarco(pestana, n));
    }
    izquierda->addStretch(1);

    auto* derecha = new QVBoxLayout;
    derecha->setSpacing(8);
    if (pestana == 0) {
        derecha->addWidget(armarColumnas());
        derecha->addWidget(armarOrden());
    } else {
        derecha->addWidget(armarPrecios(pestana));
    }
    derecha->addStretch(1);

    fila->addLayout(izquierda, 3);
    fila->addLayout(derecha, 2);
    igualarRotulos(pestana);
    return pagina;
}

QGroupBox* VentanaTarifario::armarMarco(int pestana, int numero) {
    const CamposFormulario::Marco& marco = CamposFormulario::marcos().at(numero);
    auto* caja = new QGroupBox(marco.titulo);
    caja->setObjectName(QStringLiteral("Marco_%1").arg(numero));
    auto* grilla = new QGridLayout(caja);
    grilla->setHorizontalSpacing(8);
    grilla->setContentsMargins(10, 6, 10, 6);
    grillas_[pestana].append(grilla);

    // Columns: label, field, gap, label, field. Every frame of a tab has the
    // same columns, so labels and fields line up from frame to frame.
    const QFontMetrics fm(font());
    const int anchoCampo = fm.horizontalAdvance(QLatin1Char('M')) * 13;
    grilla->setColumnMinimumWidth(1, anchoCampo);
    grilla->setColumnMinimumWidth(2, 10);
    grilla->setColumnMinimumWidth(4, anchoCampo);
    grilla->setColumnStretch(1, 1);
    grilla->setColumnStretch(4, 1);

    QString muestraFecha = rp::suite::Regional::actual().fechaATexto(QDate(2000, 12, 31));
    QString ayudaFecha = rp::suite::Regional::actual().formatoFechaCorta().toLower();
    ayudaFecha.replace(QLatin1Char('y'), QLatin1Char('a'));
    for (int k = 0; k < marco.campos.size(); ++k) {
        const int indice = marco.campos[k];
        const CamposFormulario::Campo* c = CamposFormulario::campo(indice);
        auto* campo = new QtCampoTexto(modelo_, indice, caja);
        campos_.insert(indice, campo);
        const bool fecha = ConsultaCampo::esFecha(c->tagConsulta);
        campo->setToolTip(fecha ? QStringLiteral("Clic derecho o F2: elegir la fecha")
                                : QStringLiteral("Clic derecho o F2: consultar los valores"));
        Qt::Alignment alineacion;
        if (fecha) {
            campo->setPlaceholderText(ayudaFecha);
            campo->setFixedWidth(fm.horizontalAdvance(muestraFecha) + 26);
            alineacion = Qt::AlignLeft;
        } else if (c->longitudMaxima <= 10) {
            campo->setFixedWidth(fm.horizontalAdvance(QStringLiteral("00000")) + 22);
            alineacion = Qt::AlignLeft;
        } else {
            campo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        }

        auto* rotulo = new QLabel(c->rotulo + QLatin1Char(':'), caja);
        rotulo->setObjectName(QStringLiteral("rotulo_%1").arg(indice));
        rotulo->setBuddy(campo);
        rotulo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        (k == 0 ? rotulosPrimeros_ : rotulosSegundos_)[pestana].append(rotulo);

        grilla->addWidget(rotulo, 0, 3 * k);
        grilla->addWidget(campo, 0, 3 * k + 1, alineacion);
    }
    return caja;
}

QGroupBox* VentanaTarifario::armarColumnas() {
    auto* caja = new QGroupBox(CamposFormulario::tituloMarcoColumnas());
    caja->setObjectName(QStringLiteral("MarcoColumnas"));
    auto* grilla = new QGridLayout(caja);
    grilla->setHorizontalSpacing(18);
    for (int i = 0; i < CamposFormulario::CantidadChkFiltro; ++i) {
        auto* chk = new QCheckBox(caja);
        chk->setObjectName(QStringLiteral("ChkFiltro_%1").arg(i));
        chk->setProperty("tag", CamposFormulario::tagChkFiltro(i));
        chk->setChecked(modelo_.chkFiltro(i));
        connect(chk, &QCheckBox::toggled, this,
                [this, i](bool marcado) { modelo_.setChkFiltro(i, marcado); });
        chk_.insert(i, chk);
        grilla->addWidget(chk, i % 5, i / 5);
    }
    variacion_ = new QCheckBox(CamposFormulario::tituloVariacion(), caja);
    variacion_->setObjectName(QStringLiteral("ChkVariacion"));
    variacion_->setToolTip(
        QStringLiteral("Muestra junto a cada precio su variación y su variación porcentual "
                       "respecto del valor anterior"));
    variacion_->setChecked(modelo_.mostrarVariacion());
    connect(variacion_, &QCheckBox::toggled, &modelo_, &FormularioTarifario::setMostrarVariacion);
    connect(&modelo_, &FormularioTarifario::variacionCambiada, this,
            [this] { variacion_->setChecked(modelo_.mostrarVariacion()); });
    grilla->addWidget(variacion_, 5, 0, 1, 2);
    return caja;
}

QGroupBox* VentanaTarifario::armarPrecios(int pestana) {
    auto* caja = new QGroupBox(CamposFormulario::tituloMarcoPrecios());
    caja->setObjectName(QStringLiteral("MarcoPrecios_%1").arg(pestana));
    auto* lista = new QVBoxLayout(caja);
    auto* grupo = new QButtonGroup(caja);
    for (int i : CamposFormulario::optPreciosDePestana(pestana)) {
        auto* opcion = new QRadioButton(caja);
        opcion->setObjectName(QStringLiteral("optPrecios_%1").arg(i));
        opcion->setChecked(modelo_.optPrecios(i));
        grupo->addButton(opcion, i);
        connect(opcion, &QRadioButton::toggled, this, [this, i](bool elegido) {
            if (elegido)
                modelo_.setOptPrecios(i);
        });
        precios_.insert(i, opcion);
        lista->addWidget(opcion);
    }
    return caja;
}

QGroupBox* VentanaTarifario::armarOrden() {
    auto* caja = new QGroupBox(CamposFormulario::tituloMarcoOrden());
    caja->setObjectName(QStringLiteral("MarcoOrden"));
    auto* grilla = new QGridLayout(caja);
    grilla->setHorizontalSpacing(18);
    auto* grupo = new QButtonGroup(caja);
    for (int i = 0; i < CamposFormulario::CantidadOptOrden; ++i) {
        auto* opcion = new QRadioButton(literal(CamposFormulario::tituloOptOrden(i)), caja);
        opcion->setObjectName(QStringLiteral("OptOrden_%1").arg(i));
        opcion->setProperty("tag", CamposFormulario::tagOptOrden(i));
        opcion->setChecked(modelo_.optOrden(i));
        grupo->addButton(opcion, i);
        connect(opcion, &QRadioButton::toggled, this, [this, i](bool elegido) {
            if (elegido)
                modelo_.setOptOrden(i);
        });
        orden_.insert(i, opcion);
        grilla->addWidget(opcion, i % 5, i / 5);
    }
    return caja;
}

void VentanaTarifario::igualarRotulos(int pestana) {
    int columna = 0;
    for (const QList<QLabel*>& rotulos : {rotulosPrimeros_[pestana], rotulosSegundos_[pestana]}) {
        int ancho = 0;
        for (QLabel* r : rotulos)
            ancho = qMax(ancho, r->sizeHint().width());
        for (QGridLayout* grilla : std::as_const(grillas_[pestana]))
            grilla->setColumnMinimumWidth(columna, ancho);
        columna += 3;
    }
}

void VentanaTarifario::mostrarTitulos() {
    for (auto it = chk_.cbegin(); it != chk_.cend(); ++it)
        it.value()->setText(literal(modelo_.tituloChkFiltro(it.key())));
    for (auto it = precios_.cbegin(); it != precios_.cend(); ++it)
        it.value()->setText(literal(modelo_.tituloOptPrecios(it.key())));
}

void VentanaTarifario::darFoco(int indice) {
    if (QtCampoTexto* c = campos_.value(indice)) {
        c->setFocus(Qt::OtherFocusReason);
        c->selectAll();
    }
}

void VentanaTarifario::alDescargar() {
    if (!cerrando_)
        close();
    if (!cerrada_) {
        cerrada_ = true;
        Q_EMIT cerrada();
    }
}

void VentanaTarifario::closeEvent(QCloseEvent* e) {
    if (!modelo_.estaDescargado()) {
        cerrando_ = true;
        modelo_.descargar();
        cerrando_ = false;
    }
    e->accept();
    if (!cerrada_) {
        cerrada_ = true;
        Q_EMIT cerrada();
    }
}

} // namespace rp::report
