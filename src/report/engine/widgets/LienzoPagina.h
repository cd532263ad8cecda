#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

class QFont;
class QPaintDevice;
class QRawFont;

namespace rp::motor {

// What the page painter draws on: the painter decides where every text and
// line goes (sizes, shrinking, elision, glyphs, colours); a canvas only puts
// them on its device. Coordinates are the device's units, y downwards.
class LienzoPagina {
public:
    virtual ~LienzoPagina() = default;

    // The device the fonts are measured for (null: the default one). The
    // painter keeps its glyph tables while this stays the same.
    virtual const QPaintDevice* dispositivo() const = 0;
    virtual const void* identidad() const = 0;

    virtual void linea(QPointF desde, QPointF hasta, double grosor) = 0;
    // Glyphs of one text, each at its baseline position; `caracteres` is the
    // character each glyph stands for (for searching and copying).
    virtual void glifos(const QRawFont& fuente, const QColor& color, const quint32* glifos,
                        const QPointF* posiciones, const char16_t* caracteres, int cuantos) = 0;
    // A text that needs Qt's shaping, as QPainter::drawText(caja, banderas,
    // texto) would set it with `fuente`.
    virtual void texto(const QFont& fuente, const QColor& color, const QRectF& caja, int banderas,
                       const QString& texto) = 0;
    // The page is complete (a canvas may hold texts back until then).
    virtual void terminarPagina() {}
};

} // namespace rp::motor
