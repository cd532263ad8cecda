#pragma once

#include "report/engine/PaginaReporte.h"

#include <QColor>
#include <QString>

class QPainter;
class QRectF;

namespace rp::motor {

// Paints a laid-out page on any device (PDF writer, printer, preview image).
// `area` is where the whole paper goes, in the painter's coordinates; the
// page's millimetres scale into it. A text wider than its box is set smaller,
// down to EscalaMinima of its size, and elided only when it does not fit even
// so; the total page count mark becomes `totalPaginas`.
class PintorPagina {
public:
    static constexpr double EscalaMinima = 0.65;

    PintorPagina(QString letra, double tamanoLetra)
        : letra_(std::move(letra)), tamano_(tamanoLetra) {}

    // Rises green, falls red.
    static QColor colorDeTono(ElementoPagina::Tono tono);

    void pintar(QPainter& pintor, const PaginaReporte& pagina, const QRectF& area,
                double anchoPapelMm, double altoPapelMm, int totalPaginas) const;

private:
    QString letra_;
    double tamano_;
};

} // namespace rp::motor
