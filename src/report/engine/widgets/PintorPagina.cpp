#include "report/engine/widgets/PintorPagina.h"

#include "report/engine/ContextoReporte.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>

namespace rp::motor {

QColor PintorPagina::colorDeTono(ElementoPagina::Tono tono) {
    // Dark enough to read on paper and on a grey printer.
    switch (tono) {
    case ElementoPagina::Sube:
        return QColor(0x1B, 0x7A, 0x2E);
    case ElementoPagina::Baja:
        return QColor(0xB0, 0x1E, 0x1E);
    default:
        return QColor(Qt::black);
    }
}

void PintorPagina::pintar(QPainter& p, const PaginaReporte& pagina, const QRectF& area,
                          double anchoPapelMm, double altoPapelMm, int totalPaginas) const {
    const double sx = area.width() / anchoPapelMm;
    const double sy = area.height() / altoPapelMm;
    p.save();
    p.setPen(QPen(Qt::black, std::max(1.0, 0.2 * sy)));
    for (const ElementoPagina& e : pagina.elementos) {
        if (e.tipo == ElementoPagina::Linea) {
            const double y = area.top() + e.y * sy;
            p.drawLine(QPointF(area.left() + e.x * sx, y),
                       QPointF(area.left() + (e.x + e.ancho) * sx, y));
            continue;
        }
        QFont f(letra_);
        // Font size in device pixels: points are 0.3528 mm.
        f.setPixelSize(std::max(1, qRound(tamano_ * e.escala * 0.3528 * sy)));
        f.setBold(e.negrita);
        p.setFont(f);
        const QRectF caja(area.left() + e.x * sx, area.top() + e.y * sy, e.ancho * sx, e.alto * sy);
        // A small gap between neighbouring columns.
        const QRectF interior = caja.adjusted(0.6 * sx, 0, -0.6 * sx, 0);
        const QString texto = ContextoReporte::sustituirTotal(e.texto, totalPaginas);
        // A text a little wider than its cell (a long description) is set
        // smaller rather than cut; only what does not fit even so is elided.
        const double ancho = QFontMetricsF(f, p.device()).horizontalAdvance(texto);
        if (ancho > interior.width() && ancho > 0) {
            const double escala = std::max(EscalaMinima, interior.width() / ancho);
            f.setPixelSize(std::max(1, static_cast<int>(f.pixelSize() * escala)));
            p.setFont(f);
        }
        const QString visible =
            QFontMetricsF(f, p.device()).elidedText(texto, Qt::ElideRight, interior.width());
        int alineacion = Qt::AlignVCenter | Qt::TextSingleLine;
        switch (e.alineacion) {
        case Alineacion::Izquierda:
            alineacion |= Qt::AlignLeft;
            break;
        case Alineacion::Centro:
            alineacion |= Qt::AlignHCenter;
            break;
        case Alineacion::Derecha:
            alineacion |= Qt::AlignRight;
            break;
        }
        if (e.tono != ElementoPagina::Neutro) {
            const QPen pluma = p.pen();
            p.setPen(colorDeTono(e.tono));
            p.drawText(interior, alineacion, visible);
            p.setPen(pluma);
        } else {
            p.drawText(interior, alineacion, visible);
        }
    }
    p.restore();
}

} // namespace rp::motor
