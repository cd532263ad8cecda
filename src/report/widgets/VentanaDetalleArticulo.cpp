#include "report/widgets/VentanaDetalleArticulo.h"

#include "db/DB_Dll.h"
#include "report/DetalleArticulo.h"
#include "report/ReportePasos.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/VentanaVistaPrevia.h"
#include "startup/Configuracion.h"
#include "startup/NombreReporte.h"
#include "ui/Operador.h"

#include <QComboBox>
#include <QCursor>
#include <QDateTimeAxis>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QScreen>
#include <QSplitter>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QtCharts/QChartView>
#include <cmath>

namespace rp::report {

VentanaDetalleArticulo::VentanaDetalleArticulo(QString codigo,
                                               QList<HistorialArticulo::Cambio> cambios,
                                               const QStringList& titulosClase, Preparar preparar,
                                               motor::FuenteDatos fuente, ui::Operador& operador,
                                               QWidget* parent)
    : QWidget(parent), codigo_(std::move(codigo)), preparar_(std::move(preparar)),
      fuente_(std::move(fuente)), operador_(operador), cambios_(std::move(cambios)) {
    setObjectName(QStringLiteral("VentanaDetalleArticulo"));
    setWindowTitle(QStringLiteral("Historial del artículo %1").arg(codigo_));

    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    auto* fila = new QHBoxLayout;
    fila->setContentsMargins(8, 6, 8, 0);
    auto* titulo = new QLabel(windowTitle(), this);
    QFont negrita = titulo->font();
    negrita.setBold(true);
    titulo->setFont(negrita);
    fila->addWidget(titulo);
    fila->addStretch();
    auto* rotulo = new QLabel(QStringLiteral("&Clase:"), this);
    clases_ = new QComboBox(this);
    clases_->setObjectName(QStringLiteral("Clase"));
    rotulo->setBuddy(clases_);
    clases_->addItems(titulosClase);
    fila->addWidget(rotulo);
    fila->addWidget(clases_);
    capa->addLayout(fila);

    grafico_ = new QChart;
    grafico_->legend()->setAlignment(Qt::AlignRight);
    vista_ = new QChartView(grafico_, this);
    vista_->setObjectName(QStringLiteral("Grafico"));
    vista_->setRenderHint(QPainter::Antialiasing);
    vista_->setMinimumHeight(220);

    division_ = new QSplitter(Qt::Vertical, this);
    division_->addWidget(vista_);
    capa->addWidget(division_);
    previa_ = nullptr;
    clases_->setCurrentIndex(clase_);
    mostrarReporte();
    dibujar();
    connect(clases_, &QComboBox::currentIndexChanged, this, &VentanaDetalleArticulo::fijarClase);
}

void VentanaDetalleArticulo::mostrarReporte() {
    // Made as a window of its own, the splitter takes it in as a pane.
    auto* nueva = new motor::VentanaVistaPrevia(preparar_(clase_), fuente_, operador_);
    nueva->setAttribute(Qt::WA_DeleteOnClose);
    if (previa_) {
        previa_->disconnect(this);
        previa_->hide(); // its keys (Esc) go at once
        previa_->deleteLater();
    }
    previa_ = nueva;
    division_->addWidget(previa_);
    division_->setStretchFactor(0, 2);
    division_->setStretchFactor(1, 3);
    // Its PDF starts with the chart as the window shows it.
    previa_->fijarPortada(
        [this](QPainter& pintor, const QRectF& area) { pintarGrafico(pintor, area); });
    // Esc in the history's preview (or closing it) goes back.
    connect(previa_, &QObject::destroyed, this, &QWidget::close, Qt::QueuedConnection);
    if (isVisible()) {
        previa_->comenzar();
        previa_->setFocus();
    }
}

void VentanaDetalleArticulo::fijarClase(int clase) {
    if (clase < 0 || clase >= HistorialArticulo::CantidadClases)
        return;
    const int anterior = clase_;
    clase_ = clase;
    try {
        mostrarReporte();
    } catch (...) {
        clase_ = anterior;
        const suite::CodErr e = ReportePasos::errorDe(std::current_exception());
        operador_.mensaje(e.description, ui::estilo::Critical,
                          QStringLiteral("Historial del artículo"));
    }
    if (clases_->currentIndex() != clase_)
        clases_->setCurrentIndex(clase_);
    dibujar();
}

void VentanaDetalleArticulo::pintarGrafico(QPainter& pintor, const QRectF& area) const {
    // The window's title over the chart, the chart in the page's width (at
    // least a third of its height), drawn as vectors.
    QFont letra(QStringLiteral("DejaVu Sans"));
    letra.setBold(true);
    letra.setPixelSize(std::max(1, static_cast<int>(area.height() / 28)));
    pintor.setFont(letra);
    const QRectF titulo(area.left(), area.top(), area.width(), letra.pixelSize() * 1.8);
    pintor.drawText(titulo, Qt::AlignLeft | Qt::AlignVCenter, windowTitle());
    const QRect origen = vista_->viewport()->rect();
    const double alto = std::clamp(area.width() * origen.height() / std::max(1, origen.width()),
                                   area.height() / 3, area.height() - titulo.height());
    vista_->render(&pintor, QRectF(area.left(), titulo.bottom(), area.width(), alto), origen,
                   Qt::KeepAspectRatio);
}

void VentanaDetalleArticulo::dibujar() {
    grafico_->removeAllSeries();
    for (QAbstractAxis* eje : grafico_->axes())
        grafico_->removeAxis(eje);
    grafico_->setTitle(QStringLiteral("%1 por lista").arg(clases_->currentText()));

    auto* ejeX = new QDateTimeAxis;
    ejeX->setFormat(QStringLiteral("dd/MM/yyyy"));
    auto* ejeY = new QValueAxis;
    ejeY->setLabelFormat(QStringLiteral("%.2f"));
    grafico_->addAxis(ejeX, Qt::AlignBottom);
    grafico_->addAxis(ejeY, Qt::AlignLeft);

    QMap<QString, QString> nombres;
    for (const HistorialArticulo::Cambio& c : cambios_)
        nombres.insert(c.lista, c.nombreLista);
    const QMap<QString, QList<HistorialArticulo::Punto>> series =
        HistorialArticulo::series(cambios_, clase_);
    double minimo = 0, maximo = 0;
    bool primero = true;
    for (auto it = series.cbegin(); it != series.cend(); ++it) {
        auto* linea = new QLineSeries;
        const QString lista = it.key();
        linea->setName(nombres.value(lista).isEmpty()
                           ? lista
                           : lista + QStringLiteral(" ") + nombres.value(lista));
        linea->append(HistorialArticulo::trazo(it.value()));
        linea->setPointsVisible(true);
        for (const HistorialArticulo::Punto& p : it.value()) {
            minimo = primero ? p.valor : std::min(minimo, p.valor);
            maximo = primero ? p.valor : std::max(maximo, p.valor);
            primero = false;
        }
        grafico_->addSeries(linea);
        linea->attachAxis(ejeX);
        linea->attachAxis(ejeY);
        const QList<HistorialArticulo::Punto> puntos = it.value();
        connect(linea, &QLineSeries::hovered, this,
                [this, lista, puntos](const QPointF& punto, bool encima) {
                    if (!encima) {
                        QToolTip::hideText();
                        return;
                    }
                    const auto* p = HistorialArticulo::puntoCercano(
                        puntos, QDateTime::fromMSecsSinceEpoch(std::llround(punto.x())));
                    if (p)
                        QToolTip::showText(QCursor::pos(), HistorialArticulo::textoPunto(lista, *p),
                                           vista_);
                });
    }
    // Some room above and below the lines, and a range even for one value.
    const double margen = std::max(1.0, (maximo - minimo) * 0.1);
    ejeY->setRange(std::max(0.0, minimo - margen), maximo + margen);
    if (!cambios_.isEmpty()) {
        QDateTime desde = cambios_.first().fecha, hasta = cambios_.last().fecha;
        for (const HistorialArticulo::Cambio& c : cambios_) {
            desde = std::min(desde, c.fecha);
            hasta = std::max(hasta, c.fecha);
        }
        ejeX->setRange(desde.addDays(-1), hasta.addDays(1));
    }
}

VentanaDetalleArticulo* VentanaDetalleArticulo::abrir(QWidget* sobre, const QString& codigo) {
    ui::Operador& operador = ui::operador();
    try {
        const QString plantilla = startup::NombreReporte(QStringLiteral("RP_CambioPreciosHIS"));
        if (plantilla.isEmpty())
            return nullptr;
        const auto cfg = [](const QString& clave) { return startup::Cfg(clave); };
        const motor::Plantilla molde = motor::LectorPlantilla::leerArchivo(plantilla);
        const QDateTime momento = QDateTime::currentDateTime();
        const auto preparar = [=](int clase) {
            return motor::ReportePreparado::preparar(
                molde, DetalleArticulo::solicitud(codigo, plantilla, cfg, clase), momento);
        };
        db::DB_Dll& base = db::baseCompartida();
        auto* v =
            new VentanaDetalleArticulo(codigo.trimmed(), HistorialArticulo::leer(base, codigo),
                                       DetalleArticulo::titulosClase(cfg), preparar,
                                       motor::FuenteDatos::de(base.conexion()), operador);
        v->setAttribute(Qt::WA_DeleteOnClose);
        // A window of its own, so that it takes the keyboard; it goes with
        // the preview it was opened from, and Esc gives that one back.
        if (sobre) {
            connect(sobre, &QObject::destroyed, v, &QWidget::close);
            connect(v, &QObject::destroyed, sobre, [sobre] {
                sobre->activateWindow();
                if (QWidget* foco = sobre->focusProxy())
                    foco->setFocus();
            });
        }
        if (const QScreen* pantalla = QGuiApplication::primaryScreen())
            v->setGeometry(pantalla->availableGeometry());
        v->showMaximized();
        v->raise();
        v->activateWindow();
        v->previa().comenzar();
        v->previa().setFocus();
        return v;
    } catch (...) {
        const suite::CodErr e = ReportePasos::errorDe(std::current_exception());
        operador.mensaje(e.description, ui::estilo::Critical,
                         QStringLiteral("Historial del artículo"));
        return nullptr;
    }
}

} // namespace rp::report
