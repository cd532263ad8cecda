#pragma once

#include "report/engine/PaginaReporte.h"

#include <QColor>
#include <QString>

#include <memory>

class QPainter;
class QRectF;

namespace rp::motor {

class LienzoPagina;

// Paints a laid-out page on any device (PDF writer, printer, preview image).
// `area` is where the whole paper goes, in the painter's coordinates; the
// page's millimetres scale into it. A text wider than its box is set smaller,
// down to EscalaMinima of its size, and elided only when it does not fit even
// so; the total page count mark becomes `totalPaginas`.
//
// Texts of simple scripts (Latin, punctuation, symbols the font has) are set
// from glyphs the painter keeps per font and size, and all texts of one font
// on a page go out as one glyph run; anything else (other scripts, a glyph the
// font lacks) goes through QPainter::drawText.
// On a PDF device the glyphs sit on whole device units (1/300 inch for the
// writer), which keeps the page's content stream short. One painter kept for
// a whole document reuses its glyph tables on every page.
//
// Every decision is made here and drawn through a LienzoPagina: on a
// QPainter (screen, printer, Qt's PDF engine) or straight into a PDF
// document (EscritorPdf).
class PintorPagina {
public:
    static constexpr double EscalaMinima = 0.65;

    // Referencia paints every text through QPainter::drawText, as the
    // reference the fast path is compared with.
    enum class Modo { Rapido, Referencia };

    PintorPagina(QString letra, double tamanoLetra, Modo modo = Modo::Rapido);
    ~PintorPagina();
    PintorPagina(const PintorPagina&) = delete;
    PintorPagina& operator=(const PintorPagina&) = delete;

    // Rises green, falls red.
    static QColor colorDeTono(ElementoPagina::Tono tono);

    void pintar(QPainter& pintor, const PaginaReporte& pagina, const QRectF& area,
                double anchoPapelMm, double altoPapelMm, int totalPaginas) const;
    // The same page on any canvas (the direct PDF writer's too).
    void pintar(LienzoPagina& lienzo, const PaginaReporte& pagina, const QRectF& area,
                double anchoPapelMm, double altoPapelMm, int totalPaginas) const;

private:
    struct Tablas;

    QString letra_;
    double tamano_;
    Modo modo_;
    std::unique_ptr<Tablas> tablas_; // glyph tables per font and size
};

} // namespace rp::motor
