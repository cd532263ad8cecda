#pragma once

#include "report/engine/widgets/LienzoPagina.h"

#include <QByteArray>
#include <QSizeF>

#include <memory>

class QIODevice;
class QPageLayout;

namespace rp::motor {

// Writes a PDF document of report pages straight from the page painter's
// texts and lines, without Qt's PDF engine: one content stream per page
// ("BT /Fn size Tf ... Tm [<glyphs> kerning ...] TJ ET" per text, lines,
// colours), deflated with zlib; the fonts embedded at the end as TrueType
// subsets (CIDFontType2, Identity-H, glyph ids kept) with their widths and a
// ToUnicode map, so the text stays searchable and copyable. Texts that need
// shaping (other scripts, ligatures, characters from other fonts) are set
// with Qt's text layout, their glyphs from the fonts Qt picks.
//
// Device units are 1/300 inch, y downwards, as Qt's PDF writer at 300 dpi:
// the page painter lays out the same glyphs on both.
class EscritorPdf final : public LienzoPagina {
public:
    static constexpr int Resolucion = 300;

    // `pagina`: the paper and its orientation (margins are not used).
    EscritorPdf(QIODevice& salida, const QPageLayout& pagina, const QString& creador);
    ~EscritorPdf() override;
    EscritorPdf(const EscritorPdf&) = delete;
    EscritorPdf& operator=(const EscritorPdf&) = delete;

    // Whether `fuente` (with its bold face) can be embedded by this writer:
    // TrueType outlines. Documents of other fonts go through Qt's engine.
    static bool fuenteAdmitida(const QString& familia);

    // The page in device units.
    QSizeF tamanoDispositivo() const;

    void comenzarPagina();
    // After the last page: the fonts, the page tree, the cross-reference
    // table. Throws ErrorMotor when the device refuses the bytes.
    void terminar();

    const QPaintDevice* dispositivo() const override { return nullptr; }
    const void* identidad() const override { return this; }
    void linea(QPointF desde, QPointF hasta, double grosor) override;
    void glifos(const QRawFont& fuente, const QColor& color, const quint32* glifos,
                const QPointF* posiciones, const char16_t* caracteres, int cuantos) override;
    void texto(const QFont& fuente, const QColor& color, const QRectF& caja, int banderas,
               const QString& texto) override;
    void terminarPagina() override;

private:
    struct Datos;
    std::unique_ptr<Datos> d_;
};

} // namespace rp::motor
