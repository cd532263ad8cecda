#include "report/engine/widgets/VistaPagina.h"

#include "report/engine/widgets/PintorPagina.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace rp::motor {

VistaPagina::VistaPagina(QString letra, double tamanoLetra, QWidget* parent)
    : QWidget(parent), letra_(std::move(letra)), tamanoLetra_(tamanoLetra) {
    setObjectName(QStringLiteral("vistaPagina"));
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void VistaPagina::mostrar(const PaginaReporte* pagina, int totalPaginas, double anchoPapelMm,
                          double altoPapelMm) {
    // The same page again (its list may have moved in memory, so the old
    // pointer is never read): its chosen line stays, and nothing is
    // repainted when nothing shown changed.
    const bool misma = pagina && pagina_ && pagina->numero == numero_;
    const bool igual =
        misma && totalPaginas == total_ && anchoPapelMm == anchoMm_ && altoPapelMm == altoMm_;
    if (!misma || linea_ >= pagina->lineas.size())
        linea_ = -1;
    pagina_ = pagina;
    numero_ = pagina ? pagina->numero : 0;
    if (igual)
        return;
    total_ = totalPaginas;
    anchoMm_ = anchoPapelMm;
    altoMm_ = altoPapelMm;
    setFixedSize(sizeHint());
    update();
}

void VistaPagina::fijarZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.1, 8.0);
    setFixedSize(sizeHint());
    update();
}

void VistaPagina::marcar(QList<int> elementos, int actual) {
    if (elementos == marcas_ && actual == marcaActual_)
        return;
    marcas_ = std::move(elementos);
    marcaActual_ = actual;
    update();
}

QRect VistaPagina::rectMm(double x, double y, double ancho, double alto) const {
    const QSize hoja = tamanoHoja();
    const double sx = hoja.width() / anchoMm_;
    const double sy = hoja.height() / altoMm_;
    return QRectF(10 + x * sx, 10 + y * sy, ancho * sx, alto * sy).toAlignedRect();
}

QRect VistaPagina::rectElemento(int elemento) const {
    if (!pagina_ || elemento < 0 || elemento >= pagina_->elementos.size())
        return QRect();
    const ElementoPagina& e = pagina_->elementos.at(elemento);
    return rectMm(e.x, e.y, e.ancho, e.alto);
}

QRect VistaPagina::rectLinea(int linea) const {
    if (!pagina_ || linea < 0 || linea >= pagina_->lineas.size())
        return QRect();
    const LineaDetalle& l = pagina_->lineas.at(linea);
    return rectMm(5, l.y, anchoMm_ - 10, l.alto);
}

int VistaPagina::lineaEn(const QPointF& punto) const {
    if (!pagina_)
        return -1;
    const double sy = tamanoHoja().height() / altoMm_;
    const LineaDetalle* l = pagina_->lineaEn((punto.y() - 10) / sy);
    return l ? static_cast<int>(l - pagina_->lineas.constData()) : -1;
}

void VistaPagina::seleccionarLinea(int linea) {
    if (!pagina_ || linea < 0 || linea >= pagina_->lineas.size())
        linea = -1;
    if (linea == linea_)
        return;
    linea_ = linea;
    update();
    if (linea_ >= 0)
        Q_EMIT lineaSeleccionada(rectLinea(linea_));
}

void VistaPagina::mousePressEvent(QMouseEvent* event) {
    seleccionarLinea(lineaEn(event->position()));
    QWidget::mousePressEvent(event);
}

void VistaPagina::mouseDoubleClickEvent(QMouseEvent* event) {
    const int linea = lineaEn(event->position());
    seleccionarLinea(linea);
    if (linea >= 0)
        Q_EMIT lineaActivada(pagina_->lineas.at(linea).clave);
}

void VistaPagina::keyPressEvent(QKeyEvent* event) {
    const int cantidad = pagina_ ? static_cast<int>(pagina_->lineas.size()) : 0;
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (cantidad == 0)
            break;
        seleccionarLinea(linea_ < 0 ? 0
                                    : std::clamp(linea_ + (event->key() == Qt::Key_Down ? 1 : -1),
                                                 0, cantidad - 1));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (linea_ >= 0) {
            Q_EMIT lineaActivada(pagina_->lineas.at(linea_).clave);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

QSize VistaPagina::tamanoHoja() const {
    const double px = logicalDpiX() / 25.4 * zoom_;
    return QSize(qRound(anchoMm_ * px), qRound(altoMm_ * px));
}

QSize VistaPagina::sizeHint() const {
    return tamanoHoja() + QSize(20, 20);
}

void VistaPagina::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF hoja(QPointF(10, 10), tamanoHoja());
    p.fillRect(hoja.translated(3, 3), QColor(0, 0, 0, 80));
    p.fillRect(hoja, Qt::white);
    if (pagina_) {
        for (int m : marcas_)
            p.fillRect(rectElemento(m),
                       m == marcaActual_ ? QColor(255, 150, 50) : QColor(255, 235, 120));
        if (linea_ >= 0)
            p.fillRect(rectLinea(linea_), QColor(200, 220, 255));
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        PintorPagina(letra_, tamanoLetra_).pintar(p, *pagina_, hoja, anchoMm_, altoMm_, total_);
    }
}

} // namespace rp::motor
