#include "report/engine/widgets/VentanaVistaPrevia.h"

#include "db/provider/ProviderError.h"
#include "report/engine/DialogoImpresion.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/EscritorCsv.h"
#include "report/engine/EscritorXlsx.h"
#include "report/engine/IndicePaginas.h"
#include "report/engine/Paginador.h"
#include "report/engine/ProgresoTarea.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/BarraBusqueda.h"
#include "report/engine/widgets/SalidaImpresora.h"
#include "report/engine/widgets/SalidaPdf.h"
#include "report/engine/widgets/VistaPagina.h"
#include "ui/Operador.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QLabel>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QScrollArea>
#include <QShortcut>
#include <QToolBar>
#include <QVBoxLayout>

#include <limits>
#include <optional>

namespace rp::motor {

namespace {
const QString tituloAviso = QStringLiteral("Aviso al operador");

// Runs `f`: the text of the engine's or the database's error it throws, none
// when it ends well.
template <typename F> std::optional<QString> errorDe(F&& f) {
    try {
        f();
    } catch (const ErrorMotor& e) {
        return e.texto();
    } catch (const rp::db::DbError& e) {
        return e.description();
    }
    return std::nullopt;
}
} // namespace

VentanaVistaPrevia::VentanaVistaPrevia(std::shared_ptr<const ReportePreparado> reporte,
                                       FuenteDatos fuente, rp::ui::Operador& operador,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), rep_(std::move(reporte)), fuente_(std::move(fuente)),
      operador_(operador), diseno_(DisenoPagina::calcular(*rep_)),
      filasPorPagina_(Paginador(*rep_).filasPorPagina()) {
    setObjectName(QStringLiteral("VentanaVistaPrevia"));
    setWindowTitle(QStringLiteral("Vista previa"));
    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    auto* barra = new QToolBar(this);
    barra_ = barra;
    barra->setObjectName(QStringLiteral("barraVistaPrevia"));
    const auto accion = [&](const char* nombre, const QString& texto, auto funcion) {
        QAction* a = barra->addAction(texto);
        a->setObjectName(QString::fromLatin1(nombre));
        connect(a, &QAction::triggered, this, funcion);
        return a;
    };
    accion("primera", QStringLiteral("|<"), [this] { irAPagina(1); });
    accion("anterior", QStringLiteral("<"), [this] { irAPagina(paginaActual() - 1); });
    etiqueta_ = new QLabel(this);
    etiqueta_->setObjectName(QStringLiteral("etiquetaPagina"));
    barra->addWidget(etiqueta_);
    accion("siguiente", QStringLiteral(">"), [this] { irAPagina(paginaActual() + 1); });
    accion("ultima", QStringLiteral(">|"), [this] { irAPagina(paginasListas()); });
    barra->addSeparator();
    zoom_ = new QComboBox(this);
    zoom_->setObjectName(QStringLiteral("zoom"));
    for (int z : {50, 75, 100, 125, 150, 200})
        zoom_->addItem(QString::number(z) + QLatin1Char('%'), z / 100.0);
    zoom_->setCurrentIndex(2);
    connect(zoom_, &QComboBox::currentIndexChanged, this,
            [this](int) { vista_->fijarZoom(zoom_->currentData().toDouble()); });
    barra->addWidget(zoom_);
    barra->addSeparator();
    accion("imprimir", QStringLiteral("Imprimir"), [this] { imprimir(); });
    accion("exportarPdf", QStringLiteral("Exportar PDF"), [this] { exportarPdf(); });
    accion("exportarCsv", QStringLiteral("Exportar CSV"), [this] { exportarCsv(); });
    accion("exportarXlsx", QStringLiteral("Exportar Excel"), [this] { exportarXlsx(); });
    barra->addSeparator();
    progreso_ = new QProgressBar(this);
    progreso_->setObjectName(QStringLiteral("progreso"));
    progreso_->setMaximumWidth(200);
    progreso_->setTextVisible(false);
    accionProgreso_ = barra->addWidget(progreso_);
    accionCancelar_ = accion("cancelarTarea", QStringLiteral("Cancelar"), [this] { cancelar(); });
    capa->addWidget(barra);
    busqueda_ = new BarraBusqueda(*rep_, fuente_, this);
    capa->addWidget(busqueda_);
    connect(busqueda_, &BarraBusqueda::mostrar, this, &VentanaVistaPrevia::mostrarCoincidencia);
    connect(busqueda_, &BarraBusqueda::cambio, this, &VentanaVistaPrevia::actualizar);

    const Plantilla& p = rep_->plantilla();
    vista_ = new VistaPagina(p.letra, p.tamanoLetra, this);
    desplazamiento_ = new QScrollArea(this);
    desplazamiento_->setObjectName(QStringLiteral("desplazamiento"));
    desplazamiento_->setAlignment(Qt::AlignHCenter);
    desplazamiento_->setWidget(vista_);
    capa->addWidget(desplazamiento_);
    setFocusProxy(vista_);
    vista_->setFocus();
    connect(vista_, &VistaPagina::lineaActivada, this, &VentanaVistaPrevia::detalleSolicitado);
    connect(vista_, &VistaPagina::lineaSeleccionada, this, [this](const QRect& r) {
        desplazamiento_->ensureVisible(r.center().x(), r.center().y(), r.width() / 2,
                                       r.height() * 2);
    });

    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &VentanaVistaPrevia::escape);
    auto* buscar = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(buscar, &QShortcut::activated, busqueda_, &BarraBusqueda::abrir);
    auto* siguiente = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(siguiente, &QShortcut::activated, busqueda_, &BarraBusqueda::siguiente);
    auto* anterior = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(anterior, &QShortcut::activated, busqueda_, &BarraBusqueda::anterior);

    temporizador_.setInterval(0);
    connect(&temporizador_, &QTimer::timeout, this, &VentanaVistaPrevia::procesarLote);
    actualizar();
}

VentanaVistaPrevia::~VentanaVistaPrevia() = default;

void VentanaVistaPrevia::comenzar() {
    if (comenzado_)
        return;
    comenzado_ = true;
    indice_ = std::make_unique<IndicePaginas>(*rep_);
    if (const auto e = errorDe([this] { indice_->abrir(fuente_); })) {
        fallar(*e);
        return;
    }
    leyendo_ = true;
    temporizador_.start();
    actualizar();
}

bool VentanaVistaPrevia::terminado() const {
    return fallo_ || (indice_ && indice_->terminado());
}

int VentanaVistaPrevia::paginasListas() const {
    if (!indice_)
        return 0;
    return std::max(primeraLista_ ? 1 : 0, indice_->paginasCompletas());
}

void VentanaVistaPrevia::error(const QString& texto) {
    operador_.mensaje(QStringLiteral("Ha ocurrido el siguiente error: ") + texto,
                      rp::ui::estilo::Critical, tituloAviso);
}

void VentanaVistaPrevia::fallar(const QString& texto) {
    temporizador_.stop();
    fallo_ = true;
    leyendo_ = false;
    actualizar();
    error(texto);
}

void VentanaVistaPrevia::procesarLote() {
    if (!indice_ || !leyendo_) {
        temporizador_.stop();
        return;
    }
    // A running search lays the pages out in a pass of its own: it goes first.
    if (busqueda_->buscando())
        return;
    const int antes = paginasListas();
    // The first turn lays out the first page from the report's own rows
    // (the count of the pages is not needed for it), so that it shows at
    // once; then a turn counts what fits in a few milliseconds (fewer turns
    // of the event loop, the window still answering).
    if (!primeraLista_) {
        std::shared_ptr<const PaginaReporte> primera;
        if (const auto e = errorDe([&] {
                primera = std::make_shared<const PaginaReporte>(indice_->componer(fuente_, 1));
            })) {
            fallar(*e);
            return;
        }
        memoria_ << primera;
        primeraLista_ = true;
        actualizar();
        Q_EMIT paginasCambiaron();
        return;
    }
    QElapsedTimer reloj;
    reloj.start();
    const auto e = errorDe([&] {
        if (lote_ > 0) {
            indice_->avanzar(lote_);
        } else {
            while (reloj.elapsed() < 20 && indice_->avanzar(2048)) {
            }
        }
    });
    if (e) {
        fallar(*e);
        return;
    }
    if (indice_->terminado()) {
        temporizador_.stop();
        leyendo_ = false;
    }
    if (paginasListas() != antes || terminado()) {
        // The label and the shown page's footer (its page count) follow at
        // most four times a second.
        if (terminado() || antes == 0 || repintado_.elapsed() >= 250)
            actualizar();
        Q_EMIT paginasCambiaron();
    }
    if (terminado())
        Q_EMIT termino();
}

bool VentanaVistaPrevia::contarHasta(int numero) {
    comenzar();
    if (!indice_ || fallo_)
        return false;
    const bool antes = terminado();
    const auto e = errorDe([&] {
        while (indice_->paginasCompletas() < numero && indice_->avanzar(lote_ > 0 ? lote_ : 4096)) {
        }
    });
    if (e) {
        fallar(*e);
        return false;
    }
    if (indice_->terminado()) {
        temporizador_.stop();
        leyendo_ = false;
        if (!antes) {
            Q_EMIT paginasCambiaron();
            Q_EMIT termino();
        }
    }
    return true;
}

void VentanaVistaPrevia::terminarAhora() {
    if (contarHasta(std::numeric_limits<int>::max()))
        actualizar();
}

std::shared_ptr<const PaginaReporte> VentanaVistaPrevia::pagina(int numero) {
    for (qsizetype i = 0; i < memoria_.size(); ++i) {
        if (memoria_.at(i)->numero == numero) {
            auto p = memoria_.takeAt(i);
            memoria_ << p;
            return p;
        }
    }
    if (!indice_ || numero < 1 || numero > paginasListas())
        return nullptr;
    std::shared_ptr<const PaginaReporte> p;
    if (const auto e = errorDe([&] {
            p = std::make_shared<const PaginaReporte>(indice_->componer(fuente_, numero));
        })) {
        // Told once: the window stops counting, as when the rows fail, and
        // the pages it keeps stay (no repaint from here: it would ask again).
        if (!fallo_) {
            temporizador_.stop();
            fallo_ = true;
            leyendo_ = false;
            error(*e);
        }
        return nullptr;
    }
    memoria_ << p;
    while (memoria_.size() > PaginasEnMemoria)
        memoria_.removeFirst();
    return p;
}

QList<PaginaReporte> VentanaVistaPrevia::todasLasPaginas() const {
    QList<PaginaReporte> r;
    IndicePaginas desdeElPrincipio(*rep_);
    desdeElPrincipio.recorrer(fuente_, 1, std::numeric_limits<int>::max(),
                              [&r](const PaginaReporte& p) {
                                  r << p;
                                  return true;
                              });
    return r;
}

void VentanaVistaPrevia::irAPagina(int numero) {
    const int listas = paginasListas();
    if (listas == 0)
        return;
    actual_ = std::clamp(numero, 1, listas) - 1;
    actualizar();
}

QString VentanaVistaPrevia::textoEtiqueta() const {
    const int listas = paginasListas();
    if (listas == 0)
        return QStringLiteral("Página 0 de 0+");
    return QStringLiteral("Página %1 de %2%3")
        .arg(actual_ + 1)
        .arg(listas)
        .arg(terminado() ? QString() : QStringLiteral("+"));
}

void VentanaVistaPrevia::actualizar() {
    const int listas = paginasListas();
    if (listas > 0) {
        actual_ = std::min(actual_, listas - 1);
        if (!mostrada_ || mostrada_->numero != actual_ + 1)
            mostrada_ = pagina(actual_ + 1);
    } else {
        mostrada_.reset();
    }
    // Until the last page is known the footer shows the pages found so far.
    totalMostrado_ = indice_ ? std::max(listas, indice_->paginas()) : 0;
    repintado_.restart();
    vista_->mostrar(mostrada_.get(), totalMostrado_, diseno_.anchoPapel, diseno_.altoPapel);
    int marcaActual = -1;
    QList<int> marcas = busqueda_->marcas(actual_, &marcaActual);
    vista_->marcar(std::move(marcas), marcaActual);
    if (tarea_)
        return; // the label shows the task's progress
    etiqueta_->setText(textoEtiqueta());
    // While the pages are counted: a bar without an end and the button that stops.
    const bool componiendo = temporizador_.isActive();
    progreso_->setRange(0, 0);
    accionProgreso_->setVisible(componiendo);
    accionCancelar_->setVisible(componiendo);
}

void VentanaVistaPrevia::escape() {
    if (tarea_)
        tarea_->cancelar();
    else if (!busqueda_->escape())
        close();
    else if (!busqueda_->isVisible())
        vista_->setFocus(); // the lines again take Up, Down and Enter
}

void VentanaVistaPrevia::cancelar() {
    if (tarea_) {
        tarea_->cancelar();
    } else if (temporizador_.isActive()) {
        // The pages counted so far stay; an export or print goes on from there.
        temporizador_.stop();
        actualizar();
    }
}

void VentanaVistaPrevia::closeEvent(QCloseEvent* evento) {
    // Closing during an export cancels it; the window stays until it stops.
    if (tarea_) {
        tarea_->cancelar();
        evento->ignore();
        return;
    }
    QWidget::closeEvent(evento);
}

void VentanaVistaPrevia::mostrarCoincidencia(int pagina, int elemento) {
    // The search may be ahead of the count of the pages.
    if (!contarHasta(pagina + 1))
        return;
    irAPagina(pagina + 1);
    const QRect r = vista_->rectElemento(elemento);
    if (r.isValid())
        desplazamiento_->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 40,
                                       r.height() + 40);
}

void VentanaVistaPrevia::mostrarProgreso(const QString& texto, qint64 hecho, qint64 total) {
    etiqueta_->setText(texto);
    if (total > 0 && total <= std::numeric_limits<int>::max()) {
        progreso_->setRange(0, static_cast<int>(total));
        progreso_->setValue(static_cast<int>(std::min(hecho, total)));
    } else {
        progreso_->setRange(0, 0);
    }
    // The window answers here: repaints, Esc, the Cancel button.
    QCoreApplication::processEvents();
}

bool VentanaVistaPrevia::conProgreso(const std::function<void(ProgresoTarea&)>& trabajo) {
    if (tarea_)
        return false;
    ProgresoTarea progreso(
        [this](const QString& t, qint64 hecho, qint64 total) { mostrarProgreso(t, hecho, total); });
    // Only the Cancel button answers until the work ends.
    const QList<QAction*> acciones = barra_->actions();
    for (QAction* a : acciones)
        a->setEnabled(a == accionCancelar_ || a == accionProgreso_);
    accionProgreso_->setVisible(true);
    accionCancelar_->setVisible(true);
    const bool componiendo = temporizador_.isActive();
    temporizador_.stop();
    tarea_ = &progreso;
    struct Fin {
        VentanaVistaPrevia* v;
        const QList<QAction*>& acciones;
        bool componiendo;
        ~Fin() {
            v->tarea_ = nullptr;
            for (QAction* a : acciones)
                a->setEnabled(true);
            if (componiendo && v->leyendo_)
                v->temporizador_.start();
            v->actualizar();
        }
    } fin{this, acciones, componiendo};
    const auto e = errorDe([&] { trabajo(progreso); });
    if (e && !progreso.cancelada())
        error(*e);
    return !e && !progreso.cancelada() && !fallo_;
}

void VentanaVistaPrevia::componerTodo(ProgresoTarea& progreso) {
    comenzar();
    if (!indice_ || fallo_)
        return;
    progreso.fijarPaso(QStringLiteral("Componiendo"), QStringLiteral("páginas"));
    progreso.informarAhora(paginasListas());
    while (!terminado()) {
        if (!contarHasta(paginasListas() + 1))
            return;
        if (!progreso.avanzar(paginasListas()))
            return;
    }
}

void VentanaVistaPrevia::imprimir() {
    if (!conProgreso([this](ProgresoTarea& p) { componerTodo(p); }))
        return;
    DialogoImpresion dialogo;
    dialogo.impresoras = QPrinterInfo::availablePrinterNames();
    dialogo.impresora = QPrinterInfo::defaultPrinterName();
    dialogo.copias = std::max(1, rep_->solicitud().copias);
    dialogo.totalPaginas = indice_ ? indice_->paginas() : 0;
    if (!operador_.dialogo(dialogo))
        return;
    dialogo.normalizar();
    OpcionesImpresion o;
    o.impresora = dialogo.impresora;
    o.copias = dialogo.copias;
    o.desdePagina = dialogo.desdePagina;
    o.hastaPagina = dialogo.hastaPagina;
    o.archivoPdf = dialogo.archivoPdf;
    conProgreso([&](ProgresoTarea& p) {
        const int total = dialogo.totalPaginas;
        const int desde = o.desdePagina > 0 ? std::min(o.desdePagina, total) : 1;
        const int hasta = o.hastaPagina > 0 ? std::min(o.hastaPagina, total) : total;
        p.fijarPaso(QStringLiteral("Imprimiendo"), QStringLiteral("hojas"),
                    std::max(0, hasta - desde + 1) * std::max(1, o.copias));
        p.informarAhora();
        SalidaImpresora::imprimir(
            *rep_, total,
            [this](int desde, int hasta, const std::function<bool(const PaginaReporte&)>& cada) {
                indice_->recorrer(fuente_, desde, hasta, cada);
            },
            o, p.continuar());
    });
}

void VentanaVistaPrevia::exportar(
    const QString& titulo, const QString& filtro, bool paginas,
    const std::function<void(const QString& ruta, ProgresoTarea&)>& escribir) {
    if (tarea_)
        return;
    const auto ruta = operador_.guardarArchivo(titulo, filtro);
    if (!ruta || ruta->isEmpty())
        return;
    conProgreso([&](ProgresoTarea& p) {
        if (paginas) {
            componerTodo(p);
            if (p.cancelada() || fallo_)
                return;
        }
        p.fijarPaso(QStringLiteral("Exportando"),
                    paginas ? QStringLiteral("páginas") : QStringLiteral("filas"),
                    paginas && indice_ ? indice_->paginas() : 0);
        p.informarAhora();
        escribir(*ruta, p);
    });
}

void VentanaVistaPrevia::exportarPdf() {
    exportar(QStringLiteral("Exportar a PDF"), QStringLiteral("Documento PDF |*.pdf"), true,
             [this](const QString& ruta, ProgresoTarea& p) {
                 SalidaPdf::escribirArchivo(*rep_, *indice_, fuente_, ruta, p.continuar(),
                                            portada_);
             });
}

void VentanaVistaPrevia::exportarCsv() {
    exportar(QStringLiteral("Exportar a CSV"), QStringLiteral("Valores separados por comas |*.csv"),
             false, [this](const QString& ruta, ProgresoTarea& p) {
                 EscritorCsv::escribirArchivo(*rep_, fuente_, ruta, p.continuar());
             });
}

void VentanaVistaPrevia::exportarXlsx() {
    exportar(QStringLiteral("Exportar a Excel"), QStringLiteral("Libro de Excel |*.xlsx"), false,
             [this](const QString& ruta, ProgresoTarea& p) {
                 EscritorXlsx::Opciones opciones;
                 opciones.continuar = p.continuar();
                 EscritorXlsx::escribirArchivo(*rep_, fuente_, ruta, opciones);
             });
}

} // namespace rp::motor
