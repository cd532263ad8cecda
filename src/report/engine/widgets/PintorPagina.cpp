#include "report/engine/widgets/PintorPagina.h"

#include "report/engine/ContextoReporte.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QRectF>
#include <QVarLengthArray>

#include <cmath>
#include <unordered_map>
#include <vector>

namespace rp::motor {

namespace {

// UTF-16 units below this one have a slot in a font's glyph table.
constexpr char16_t kFinTabla = 0x2C00;

// Characters that need no shaping: Latin letters with their precomposed
// accents, punctuation, currency, arrows, mathematical and geometric symbols.
// Control and format characters, every other script and the letter pairs
// the font joins into ligatures are shaped by Qt.
bool sinForma(char16_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD) // controls, the soft hyphen
        return false;
    if (c < 0x0300)
        return true;
    return (c >= 0x2010 && c < 0x2028) || (c >= 0x2030 && c < 0x205F) ||
           (c >= 0x2070 && c < kFinTabla);
}

int alineacionQt(Alineacion a) {
    int r = Qt::AlignVCenter | Qt::TextSingleLine;
    switch (a) {
    case Alineacion::Izquierda:
        r |= Qt::AlignLeft;
        break;
    case Alineacion::Centro:
        r |= Qt::AlignHCenter;
        break;
    case Alineacion::Derecha:
        r |= Qt::AlignRight;
        break;
    }
    return r;
}

} // namespace

// The glyphs of each font (family, pixel size, weight) on the current
// device: glyph index and advance per character, looked up once.
struct PintorPagina::Tablas {
    struct Fuente {
        QRawFont cruda;
        double ascenso = 0, descenso = 0;
        std::vector<qint32> glifo; // -1 not looked up yet, -2 the font lacks it
        std::vector<double> avance;

        // Glyphs and advances of `t`; false when a character needs shaping
        // or the font lacks it.
        bool formar(QStringView t, QVarLengthArray<quint32, 64>& glifos,
                    QVarLengthArray<double, 64>& avances, double& ancho) {
            glifos.clear();
            avances.clear();
            ancho = 0;
            char16_t anterior = 0;
            for (QChar qc : t) {
                const char16_t c = qc.unicode();
                // "fi", "fl", "ff" are set as ligatures by the shaper.
                if (!sinForma(c) || (anterior == u'f' && (c == u'i' || c == u'l' || c == u'f')))
                    return false;
                anterior = c;
                if (glifo.empty()) {
                    glifo.assign(kFinTabla, -1);
                    avance.assign(kFinTabla, 0.0);
                }
                if (glifo[c] == -1) {
                    const QList<quint32> g = cruda.glyphIndexesForString(QString(qc));
                    if (g.size() != 1 || g.first() == 0) {
                        glifo[c] = -2;
                    } else {
                        glifo[c] = static_cast<qint32>(g.first());
                        avance[c] = cruda.advancesForGlyphIndexes(g, QRawFont::UseDesignMetrics)
                                        .value(0)
                                        .x();
                    }
                }
                if (glifo[c] < 0)
                    return false;
                glifos.append(static_cast<quint32>(glifo[c]));
                avances.append(avance[c]);
                ancho += avance[c];
            }
            if (glifos.size() > 1) {
                QVarLengthArray<QPointF, 64> kern(glifos.size());
                cruda.advancesForGlyphIndexes(
                    glifos.constData(), kern.data(), static_cast<int>(glifos.size()),
                    QRawFont::UseDesignMetrics | QRawFont::KernedAdvances);
                ancho = 0;
                for (qsizetype i = 0; i < glifos.size(); ++i) {
                    avances[i] = kern[i].x();
                    ancho += avances[i];
                }
            }
            return true;
        }

        // Cuts the glyphs of a text wider than `disponible` as
        // QFontMetricsF::elidedText does with Qt::ElideRight: the characters
        // that fit with "…" after them. False when the font lacks "…" or
        // not even "…" fits.
        bool elidir(QVarLengthArray<quint32, 64>& glifos, QVarLengthArray<double, 64>& avances,
                    double& ancho, double disponible) {
            QVarLengthArray<quint32, 64> g;
            QVarLengthArray<double, 64> a;
            double anchoPuntos = 0;
            if (!formar(u"\u2026", g, a, anchoPuntos) || anchoPuntos > disponible)
                return false;
            qsizetype pos = 0, siguiente = 0;
            double acumulado = 0;
            do {
                pos = siguiente;
                ++siguiente;
                acumulado += avances[pos];
            } while (siguiente < glifos.size() && acumulado + anchoPuntos <= disponible);
            glifos.resize(pos);
            avances.resize(pos);
            glifos.append(g[0]);
            avances.append(a[0]);
            ancho = 0;
            for (double v : avances)
                ancho += v;
            return true;
        }
    };

    // Glyphs of one font and colour waiting to be drawn as one run.
    struct Lote {
        const Fuente* fuente = nullptr;
        ElementoPagina::Tono tono = ElementoPagina::Neutro;
        std::vector<quint32> glifos;
        std::vector<QPointF> posiciones;
    };

    const QPaintDevice* dispositivo = nullptr;
    std::unordered_map<int, std::unique_ptr<Fuente>> fuentes;
    std::vector<Lote> lotes;

    Fuente& fuente(const QString& letra, int pixeles, bool negrita) {
        auto& f = fuentes[pixeles * 2 + (negrita ? 1 : 0)];
        if (!f) {
            f = std::make_unique<Fuente>();
            QFont q(letra);
            q.setPixelSize(pixeles);
            q.setBold(negrita);
            f->cruda = QRawFont::fromFont(QFont(q, dispositivo));
            f->ascenso = f->cruda.ascent();
            f->descenso = f->cruda.descent();
        }
        return *f;
    }

    Lote& lote(const Fuente& f, ElementoPagina::Tono tono) {
        for (Lote& l : lotes)
            if (l.fuente == &f && l.tono == tono)
                return l;
        lotes.push_back(Lote{&f, tono, {}, {}});
        return lotes.back();
    }
};

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

PintorPagina::PintorPagina(QString letra, double tamanoLetra, Modo modo)
    : letra_(std::move(letra)), tamano_(tamanoLetra), modo_(modo),
      tablas_(std::make_unique<Tablas>()) {}

PintorPagina::~PintorPagina() = default;

void PintorPagina::pintar(QPainter& p, const PaginaReporte& pagina, const QRectF& area,
                          double anchoPapelMm, double altoPapelMm, int totalPaginas) const {
    const double sx = area.width() / anchoPapelMm;
    const double sy = area.height() / altoPapelMm;
    Tablas& t = *tablas_;
    if (t.dispositivo != p.device()) {
        t.fuentes.clear();
        t.dispositivo = p.device();
    }
    t.lotes.clear();
    // On a PDF page the glyphs go on whole device units: short numbers in the
    // content stream, a shift far below what the eye sees at 300 dpi.
    const bool rejilla = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Pdf;
    const auto enRejilla = [rejilla](double v) { return rejilla ? std::round(v) : v; };

    p.save();
    p.setPen(QPen(Qt::black, std::max(1.0, 0.2 * sy)));
    QVarLengthArray<quint32, 64> glifos;
    QVarLengthArray<double, 64> avances;
    for (const ElementoPagina& e : pagina.elementos) {
        if (e.tipo == ElementoPagina::Linea) {
            const double y = area.top() + e.y * sy;
            p.drawLine(QPointF(area.left() + e.x * sx, y),
                       QPointF(area.left() + (e.x + e.ancho) * sx, y));
            continue;
        }
        const QString texto = ContextoReporte::sustituirTotal(e.texto, totalPaginas);
        if (texto.isEmpty())
            continue;
        // Font size in device pixels: points are 0.3528 mm.
        const int pixeles = std::max(1, qRound(tamano_ * e.escala * 0.3528 * sy));
        const QRectF caja(area.left() + e.x * sx, area.top() + e.y * sy, e.ancho * sx, e.alto * sy);
        // A small gap between neighbouring columns.
        const QRectF interior = caja.adjusted(0.6 * sx, 0, -0.6 * sx, 0);

        if (modo_ == Modo::Rapido) {
            Tablas::Fuente* f = &t.fuente(letra_, pixeles, e.negrita);
            double ancho = 0;
            bool rapido = f->formar(texto, glifos, avances, ancho);
            if (rapido && ancho > interior.width() && ancho > 0) {
                // Set smaller and elided as below.
                const double escala = std::max(EscalaMinima, interior.width() / ancho);
                f = &t.fuente(letra_, std::max(1, static_cast<int>(pixeles * escala)), e.negrita);
                rapido = f->formar(texto, glifos, avances, ancho) &&
                         (ancho <= interior.width() ||
                          f->elidir(glifos, avances, ancho, interior.width()));
            }
            if (rapido) {
                double x = interior.left();
                if (e.alineacion == Alineacion::Derecha)
                    x = interior.right() - ancho;
                else if (e.alineacion == Alineacion::Centro)
                    x += (interior.width() - ancho) / 2;
                const double base =
                    enRejilla(interior.top() + (interior.height() - f->ascenso - f->descenso) / 2 +
                              f->ascenso);
                Tablas::Lote& l = t.lote(*f, e.tono);
                for (qsizetype i = 0; i < glifos.size(); ++i) {
                    l.glifos.push_back(glifos[i]);
                    l.posiciones.emplace_back(enRejilla(x), base);
                    x += avances[i];
                }
                continue;
            }
        }

        QFont f(letra_);
        f.setPixelSize(pixeles);
        f.setBold(e.negrita);
        p.setFont(f);
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
        if (e.tono != ElementoPagina::Neutro) {
            const QPen pluma = p.pen();
            p.setPen(colorDeTono(e.tono));
            p.drawText(interior, alineacionQt(e.alineacion), visible);
            p.setPen(pluma);
        } else {
            p.drawText(interior, alineacionQt(e.alineacion), visible);
        }
    }
    const QPen pluma = p.pen();
    for (const Tablas::Lote& l : t.lotes) {
        p.setPen(l.tono == ElementoPagina::Neutro ? pluma : QPen(colorDeTono(l.tono)));
        QGlyphRun run;
        run.setRawFont(l.fuente->cruda);
        run.setRawData(l.glifos.data(), l.posiciones.data(), static_cast<int>(l.glifos.size()));
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    t.lotes.clear();
    p.restore();
}

} // namespace rp::motor
