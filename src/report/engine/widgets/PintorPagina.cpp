#include "report/engine/widgets/PintorPagina.h"

#include "report/engine/ContextoReporte.h"
#include "report/engine/widgets/LienzoPagina.h"

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
        std::unordered_map<quint64, double> kerning; // per glyph pair

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
            // Kerning by pairs, as the font engine applies it, each pair
            // looked up once.
            for (qsizetype i = 0; i + 1 < glifos.size(); ++i) {
                const quint64 clave = (quint64(glifos[i]) << 32) | glifos[i + 1];
                auto k = kerning.find(clave);
                if (k == kerning.end()) {
                    QPointF par[2];
                    const quint32 g[2] = {glifos[i], glifos[i + 1]};
                    cruda.advancesForGlyphIndexes(
                        g, par, 2, QRawFont::UseDesignMetrics | QRawFont::KernedAdvances);
                    k = kerning.emplace(clave, par[0].x() - avances[i]).first;
                }
                if (k->second != 0) {
                    avances[i] += k->second;
                    ancho += k->second;
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

    const void* identidad = nullptr;
    const QPaintDevice* dispositivo = nullptr;
    std::unordered_map<int, std::unique_ptr<Fuente>> fuentes;

    Fuente& fuente(const QString& letra, int pixeles, bool negrita) {
        auto& f = fuentes[pixeles * 2 + (negrita ? 1 : 0)];
        if (!f) {
            f = std::make_unique<Fuente>();
            QFont q(letra);
            q.setPixelSize(pixeles);
            q.setBold(negrita);
            f->cruda = QRawFont::fromFont(dispositivo ? QFont(q, dispositivo) : q);
            f->ascenso = f->cruda.ascent();
            f->descenso = f->cruda.descent();
        }
        return *f;
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

namespace {

// The canvas of a QPainter (screen, printer, Qt's PDF engine): the glyphs of
// one font and colour on a page go out as one glyph run when the page is
// complete. On a PDF device they sit on whole device units: short numbers in
// the engine's content stream, a shift far below what the eye sees at 300 dpi.
class LienzoQPainter final : public LienzoPagina {
public:
    explicit LienzoQPainter(QPainter& p)
        : p_(p), rejilla_(p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Pdf) {}

    const QPaintDevice* dispositivo() const override { return p_.device(); }
    const void* identidad() const override { return p_.device(); }

    void linea(QPointF desde, QPointF hasta, double grosor) override {
        if (pluma_.widthF() != grosor || pluma_.color() != Qt::black) {
            pluma_ = QPen(Qt::black, grosor);
            p_.setPen(pluma_);
        }
        p_.drawLine(desde, hasta);
    }

    void glifos(const QRawFont& fuente, const QColor& color, const quint32* glifos,
                const QPointF* posiciones, const char16_t*, int cuantos) override {
        Lote* l = nullptr;
        for (Lote& x : lotes_)
            if (x.fuente == fuente && x.color == color) {
                l = &x;
                break;
            }
        if (!l) {
            lotes_.push_back(Lote{fuente, color, {}, {}});
            l = &lotes_.back();
        }
        for (int i = 0; i < cuantos; ++i) {
            l->glifos.push_back(glifos[i]);
            l->posiciones.push_back(
                rejilla_ ? QPointF(std::round(posiciones[i].x()), std::round(posiciones[i].y()))
                         : posiciones[i]);
        }
    }

    void texto(const QFont& fuente, const QColor& color, const QRectF& caja, int banderas,
               const QString& texto) override {
        p_.setFont(fuente);
        pluma_ = QPen(color);
        p_.setPen(pluma_);
        p_.drawText(caja, banderas, texto);
    }

    void terminarPagina() override {
        for (const Lote& l : lotes_) {
            p_.setPen(QPen(l.color));
            QGlyphRun run;
            run.setRawFont(l.fuente);
            run.setRawData(l.glifos.data(), l.posiciones.data(), static_cast<int>(l.glifos.size()));
            p_.drawGlyphRun(QPointF(0, 0), run);
        }
        lotes_.clear();
    }

private:
    // Glyphs of one font and colour waiting to be drawn as one run.
    struct Lote {
        QRawFont fuente;
        QColor color;
        std::vector<quint32> glifos;
        std::vector<QPointF> posiciones;
    };

    QPainter& p_;
    bool rejilla_;
    QPen pluma_;
    std::vector<Lote> lotes_;
};

} // namespace

void PintorPagina::pintar(QPainter& p, const PaginaReporte& pagina, const QRectF& area,
                          double anchoPapelMm, double altoPapelMm, int totalPaginas) const {
    p.save();
    LienzoQPainter lienzo(p);
    pintar(lienzo, pagina, area, anchoPapelMm, altoPapelMm, totalPaginas);
    p.restore();
}

void PintorPagina::pintar(LienzoPagina& lienzo, const PaginaReporte& pagina, const QRectF& area,
                          double anchoPapelMm, double altoPapelMm, int totalPaginas) const {
    const double sx = area.width() / anchoPapelMm;
    const double sy = area.height() / altoPapelMm;
    Tablas& t = *tablas_;
    if (t.identidad != lienzo.identidad() || t.dispositivo != lienzo.dispositivo()) {
        t.fuentes.clear();
        t.identidad = lienzo.identidad();
        t.dispositivo = lienzo.dispositivo();
    }

    const double grosor = std::max(1.0, 0.2 * sy);
    QVarLengthArray<quint32, 64> glifos;
    QVarLengthArray<double, 64> avances;
    QVarLengthArray<QPointF, 64> posiciones;
    QVarLengthArray<char16_t, 64> caracteres;
    for (const ElementoPagina& e : pagina.elementos) {
        if (e.tipo == ElementoPagina::Linea) {
            const double y = area.top() + e.y * sy;
            lienzo.linea(QPointF(area.left() + e.x * sx, y),
                         QPointF(area.left() + (e.x + e.ancho) * sx, y), grosor);
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
        const QColor color = colorDeTono(e.tono);

        if (modo_ == Modo::Rapido) {
            Tablas::Fuente* f = &t.fuente(letra_, pixeles, e.negrita);
            double ancho = 0;
            bool rapido = f->formar(texto, glifos, avances, ancho);
            bool elidido = false;
            if (rapido && ancho > interior.width() && ancho > 0) {
                // Set smaller and elided as below.
                const double escala = std::max(EscalaMinima, interior.width() / ancho);
                f = &t.fuente(letra_, std::max(1, static_cast<int>(pixeles * escala)), e.negrita);
                rapido = f->formar(texto, glifos, avances, ancho);
                if (rapido && ancho > interior.width()) {
                    rapido = f->elidir(glifos, avances, ancho, interior.width());
                    elidido = true;
                }
            }
            if (rapido) {
                double x = interior.left();
                if (e.alineacion == Alineacion::Derecha)
                    x = interior.right() - ancho;
                else if (e.alineacion == Alineacion::Centro)
                    x += (interior.width() - ancho) / 2;
                const double base = interior.top() +
                                    (interior.height() - f->ascenso - f->descenso) / 2 + f->ascenso;
                const qsizetype n = glifos.size();
                posiciones.resize(n);
                caracteres.resize(n);
                for (qsizetype i = 0; i < n; ++i) {
                    posiciones[i] = QPointF(x, base);
                    x += avances[i];
                    // An elided text ends in "…" after the characters kept.
                    caracteres[i] = elidido && i == n - 1 ? u'\u2026' : texto.at(i).unicode();
                }
                lienzo.glifos(f->cruda, color, glifos.constData(), posiciones.constData(),
                              caracteres.constData(), static_cast<int>(n));
                continue;
            }
        }

        QFont f(letra_);
        f.setPixelSize(pixeles);
        f.setBold(e.negrita);
        const QPaintDevice* d = lienzo.dispositivo();
        const auto medidas = [d](const QFont& q) {
            return d ? QFontMetricsF(q, d) : QFontMetricsF(q);
        };
        // A text a little wider than its cell (a long description) is set
        // smaller rather than cut; only what does not fit even so is elided.
        const double ancho = medidas(f).horizontalAdvance(texto);
        if (ancho > interior.width() && ancho > 0) {
            const double escala = std::max(EscalaMinima, interior.width() / ancho);
            f.setPixelSize(std::max(1, static_cast<int>(f.pixelSize() * escala)));
        }
        const QString visible = medidas(f).elidedText(texto, Qt::ElideRight, interior.width());
        lienzo.texto(f, color, interior, alineacionQt(e.alineacion), visible);
    }
    lienzo.terminarPagina();
}

} // namespace rp::motor
