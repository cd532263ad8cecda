#include "report/engine/widgets/VistaPagina.h"

#include "report/engine/widgets/PintorPagina.h"

#include <QPainter>

namespace rp::motor {

VistaPagina::VistaPagina(QString letra, double tamanoLetra, QWidget* parent)
    : QWidget(parent), letra_(std::move(letra)), tamanoLetra_(tamanoLetra) {
    setObjectName(QStringLiteral("vistaPagina"));
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
}

void VistaPagina::mostrar(const PaginaReporte* pagina, int totalPaginas, double anchoPapelMm,
                          double altoPapelMm) {
    pagina_ = pagina;
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

QRect VistaPagina::rectElemento(int elemento) const {
    if (!pagina_ || elemento < 0 || elemento >= pagina_->elementos.size())
        return QRect();
    const QSize hoja = tamanoHoja();
    const double sx = hoja.width() / anchoMm_;
    const double sy = hoja.height() / altoMm_;
    const ElementoPagina& e = pagina_->elementos.at(elemento);
    return QRectF(10 + e.x * sx, 10 + e.y * sy, e.ancho * sx, e.alto * sy).toAlignedRect();
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
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        PintorPagina(letra_, tamanoLetra_).pintar(p, *pagina_, hoja, anchoMm_, altoMm_, total_);
    }
}

} // namespace rp::motor
