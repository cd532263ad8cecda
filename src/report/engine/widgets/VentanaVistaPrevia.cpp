#include "report/engine/widgets/VentanaVistaPrevia.h"

#include "db/provider/ProviderError.h"
#include "report/engine/DialogoImpresion.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/EscritorCsv.h"
#include "report/engine/EscritorXlsx.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/BarraBusqueda.h"
#include "report/engine/widgets/SalidaImpresora.h"
#include "report/engine/widgets/SalidaPdf.h"
#include "report/engine/widgets/VistaPagina.h"
#include "ui/Operador.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeySequence>
#include <QLabel>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QScrollArea>
#include <QShortcut>
#include <QToolBar>
#include <QVBoxLayout>

namespace rp::motor {

namespace {
const QString tituloAviso = QStringLiteral("Aviso al operador");
}

VentanaVistaPrevia::VentanaVistaPrevia(std::shared_ptr<const ReportePreparado> reporte,
                                       FuenteDatos fuente, rp::ui::Operador& operador,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), rep_(std::move(reporte)), fuente_(std::move(fuente)),
      operador_(operador), paginador_(std::make_unique<Paginador>(*rep_)) {
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
    capa->addWidget(barra);
    busqueda_ = new BarraBusqueda(*paginador_, this);
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
    try {
        filas_ = rep_->abrir(fuente_);
    } catch (const ErrorMotor& e) {
        fallar(e.texto());
        return;
    } catch (const rp::db::DbError& e) {
        fallar(e.description());
        return;
    }
    temporizador_.start();
}

bool VentanaVistaPrevia::terminado() const {
    return paginador_->terminado();
}

int VentanaVistaPrevia::paginasListas() const {
    return terminado() ? static_cast<int>(paginador_->paginas().size())
                       : paginador_->paginasCompletas();
}

void VentanaVistaPrevia::fallar(const QString& texto) {
    temporizador_.stop();
    fallo_ = true;
    filas_.reset();
    paginador_->terminar();
    actualizar();
    operador_.mensaje(QStringLiteral("Ha ocurrido el siguiente error: ") + texto,
                      rp::ui::estilo::Critical, tituloAviso);
}

void VentanaVistaPrevia::procesarLote() {
    if (!filas_) {
        temporizador_.stop();
        return;
    }
    const int antes = paginasListas();
    try {
        for (int i = 0; i < lote_; ++i) {
            if (!filas_->siguiente()) {
                temporizador_.stop();
                filas_.reset();
                paginador_->terminar();
                break;
            }
            paginador_->agregar(*filas_);
        }
    } catch (const ErrorMotor& e) {
        fallar(e.texto());
        return;
    } catch (const rp::db::DbError& e) {
        fallar(e.description());
        return;
    }
    if (paginasListas() != antes || terminado()) {
        actualizar();
        Q_EMIT paginasCambiaron();
    }
    if (terminado())
        Q_EMIT termino();
}

void VentanaVistaPrevia::terminarAhora() {
    comenzar();
    while (filas_ && !fallo_)
        procesarLote();
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
    const DisenoPagina& d = paginador_->diseno();
    const int listas = paginasListas();
    const PaginaReporte* pagina = listas > 0 ? &paginador_->paginas().at(actual_) : nullptr;
    // Until the last page is known the footer shows the pages laid out so far.
    vista_->mostrar(pagina, terminado() ? listas : static_cast<int>(paginador_->paginas().size()),
                    d.anchoPapel, d.altoPapel);
    int marcaActual = -1;
    QList<int> marcas = busqueda_->marcas(actual_, &marcaActual);
    vista_->marcar(std::move(marcas), marcaActual);
    etiqueta_->setText(textoEtiqueta());
}

void VentanaVistaPrevia::escape() {
    if (exportando_)
        cancelarExportacion_ = true;
    else if (!busqueda_->escape())
        close();
    else if (!busqueda_->isVisible())
        vista_->setFocus(); // the lines again take Up, Down and Enter
}

void VentanaVistaPrevia::closeEvent(QCloseEvent* evento) {
    // Closing during an export cancels it; the window stays until it stops.
    if (exportando_) {
        cancelarExportacion_ = true;
        evento->ignore();
        return;
    }
    QWidget::closeEvent(evento);
}

void VentanaVistaPrevia::mostrarCoincidencia(int pagina, int elemento) {
    irAPagina(pagina + 1);
    const QRect r = vista_->rectElemento(elemento);
    if (r.isValid())
        desplazamiento_->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 40,
                                       r.height() + 40);
}

void VentanaVistaPrevia::imprimir() {
    terminarAhora();
    if (fallo_)
        return;
    DialogoImpresion dialogo;
    dialogo.impresoras = QPrinterInfo::availablePrinterNames();
    dialogo.impresora = QPrinterInfo::defaultPrinterName();
    dialogo.copias = std::max(1, rep_->solicitud().copias);
    dialogo.totalPaginas = static_cast<int>(paginador_->paginas().size());
    if (!operador_.dialogo(dialogo))
        return;
    dialogo.normalizar();
    OpcionesImpresion o;
    o.impresora = dialogo.impresora;
    o.copias = dialogo.copias;
    o.desdePagina = dialogo.desdePagina;
    o.hastaPagina = dialogo.hastaPagina;
    o.archivoPdf = dialogo.archivoPdf;
    try {
        SalidaImpresora::imprimir(*rep_, paginador_->paginas(), o);
    } catch (const ErrorMotor& e) {
        operador_.mensaje(QStringLiteral("Ha ocurrido el siguiente error: ") + e.texto(),
                          rp::ui::estilo::Critical, tituloAviso);
    }
}

void VentanaVistaPrevia::exportarPdf() {
    terminarAhora();
    if (fallo_)
        return;
    const auto ruta = operador_.guardarArchivo(QStringLiteral("Exportar a PDF"),
                                               QStringLiteral("Documento PDF |*.pdf"));
    if (!ruta || ruta->isEmpty())
        return;
    QSaveFile archivo(*ruta);
    try {
        if (!archivo.open(QIODevice::WriteOnly))
            throw ErrorMotor(QStringLiteral("no se puede crear el archivo %1: %2")
                                 .arg(*ruta, archivo.errorString()));
        SalidaPdf::escribir(*rep_, paginador_->paginas(), archivo);
        if (!archivo.commit())
            throw ErrorMotor(QStringLiteral("no se puede escribir el archivo %1: %2")
                                 .arg(*ruta, archivo.errorString()));
    } catch (const ErrorMotor& e) {
        operador_.mensaje(QStringLiteral("Ha ocurrido el siguiente error: ") + e.texto(),
                          rp::ui::estilo::Critical, tituloAviso);
    }
}

void VentanaVistaPrevia::exportarCsv() {
    const auto ruta = operador_.guardarArchivo(
        QStringLiteral("Exportar a CSV"), QStringLiteral("Valores separados por comas |*.csv"));
    if (!ruta || ruta->isEmpty())
        return;
    try {
        EscritorCsv::escribirArchivo(*rep_, fuente_, *ruta);
    } catch (const ErrorMotor& e) {
        operador_.mensaje(QStringLiteral("Ha ocurrido el siguiente error: ") + e.texto(),
                          rp::ui::estilo::Critical, tituloAviso);
    } catch (const rp::db::DbError& e) {
        operador_.mensaje(QStringLiteral("Ha ocurrido el siguiente error: ") + e.description(),
                          rp::ui::estilo::Critical, tituloAviso);
    }
}

void VentanaVistaPrevia::exportarXlsx() {
    const auto ruta = operador_.guardarArchivo(QStringLiteral("Exportar a Excel"),
                                               QStringLiteral("Libro de Excel |*.xlsx"));
    if (!ruta || ruta->isEmpty() || exportando_)
        return;
    // The export shows its progress in the page label and lets the window
    // answer between batches of rows: Esc (or closing) cancels it and leaves
    // no file; the toolbar waits until it ends.
    exportando_ = true;
    cancelarExportacion_ = false;
    barra_->setEnabled(false);
    struct Fin {
        VentanaVistaPrevia* v;
        ~Fin() {
            v->exportando_ = false;
            v->barra_->setEnabled(true);
            v->etiqueta_->setText(v->textoEtiqueta());
        }
    } fin{this};
    EscritorXlsx::Opciones opciones;
    opciones.continuar = [this](qint64 filas) {
        etiqueta_->setText(QStringLiteral("Exportando: %L1 filas (Esc cancela)").arg(filas));
        QCoreApplication::processEvents();
        return !cancelarExportacion_;
    };
    try {
        EscritorXlsx::escribirArchivo(*rep_, fuente_, *ruta, opciones);
    } catch (const ErrorMotor& e) {
        if (cancelarExportacion_)
            return;
        operador_.mensaje(QStringLiteral("Ha ocurrido el siguiente error: ") + e.texto(),
                          rp::ui::estilo::Critical, tituloAviso);
    } catch (const rp::db::DbError& e) {
        operador_.mensaje(QStringLiteral("Ha ocurrido el siguiente error: ") + e.description(),
                          rp::ui::estilo::Critical, tituloAviso);
    }
}

} // namespace rp::motor
