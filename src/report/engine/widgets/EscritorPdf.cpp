#include "report/engine/widgets/EscritorPdf.h"

#include "report/engine/ErrorMotor.h"

#include <QDateTime>
#include <QFont>
#include <QGlyphRun>
#include <QIODevice>
#include <QPageLayout>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <hb-subset.h>
#include <zlib.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace rp::motor {

namespace {

// Page streams are deflated for speed: the text operators repeat so much
// that the fastest level already takes them to about a fifth.
constexpr int kNivelCompresion = Z_BEST_SPEED;

// A page's content stream: bytes appended without QByteArray's checks.
class Bufer {
public:
    void append(char c) {
        if (n_ == v_.size())
            crecer(1);
        v_[n_++] = c;
    }
    void append(const char* t, size_t k) {
        if (n_ + k > v_.size())
            crecer(k);
        std::memcpy(v_.data() + n_, t, k);
        n_ += k;
    }
    template <size_t N> void append(const char (&t)[N]) { append(t, N - 1); }
    void append(const QByteArray& b) { append(b.constData(), static_cast<size_t>(b.size())); }
    void clear() { n_ = 0; }
    const char* constData() const { return v_.data(); }
    size_t size() const { return n_; }

private:
    void crecer(size_t k) { v_.resize(std::max(v_.size() * 2, n_ + k + 65536)); }
    std::vector<char> v_;
    size_t n_ = 0;
};

template <class B> void entero(B& b, long long v) {
    char t[24];
    const auto r = std::to_chars(t, t + sizeof t, v);
    b.append(t, r.ptr - t);
}

// A number with at most two decimals, without trailing zeros.
template <class B> void numero(B& b, double v) {
    long long c = std::llround(v * 100);
    if (c < 0) {
        b.append('-');
        c = -c;
    }
    entero(b, c / 100);
    const int f = static_cast<int>(c % 100);
    if (f != 0) {
        b.append('.');
        b.append(static_cast<char>('0' + f / 10));
        if (f % 10 != 0)
            b.append(static_cast<char>('0' + f % 10));
    }
}

template <class B> void hex4(B& b, unsigned v) {
    static const char d[] = "0123456789ABCDEF";
    const char t[4] = {d[(v >> 12) & 15], d[(v >> 8) & 15], d[(v >> 4) & 15], d[v & 15]};
    b.append(t, 4);
}

// A PDF name from a font's name: letters and digits only.
QByteArray nombrePs(const QString& s) {
    QByteArray r;
    for (QChar c : s)
        if (c.unicode() < 128 && c.isLetterOrNumber())
            r.append(static_cast<char>(c.unicode()));
    return r;
}

quint16 u16(const QByteArray& t, int pos) {
    if (pos + 2 > t.size())
        return 0;
    return static_cast<quint16>((static_cast<uchar>(t[pos]) << 8) | static_cast<uchar>(t[pos + 1]));
}

// The tables of a QRawFont as HarfBuzz asks for them. The subsetter may keep
// a table's bytes after it let go of the table, so each table read is kept
// here, unchanged, until the subset is made and copied.
struct TablasDeFuente {
    const QRawFont* fuente;
    std::map<hb_tag_t, QByteArray> leidas;
};

hb_blob_t* tablaDeFuente(hb_face_t*, hb_tag_t etiqueta, void* datos) {
    if (etiqueta == 0)
        return nullptr;
    auto* tablas = static_cast<TablasDeFuente*>(datos);
    auto [it, nueva] = tablas->leidas.try_emplace(etiqueta);
    if (nueva) {
        char nombre[5] = {};
        hb_tag_to_string(etiqueta, nombre);
        it->second = tablas->fuente->fontTable(nombre);
    }
    if (it->second.isEmpty())
        return nullptr;
    return hb_blob_create(it->second.constData(), static_cast<unsigned>(it->second.size()),
                          HB_MEMORY_MODE_READONLY, nullptr, nullptr);
}

} // namespace

struct EscritorPdf::Datos {
    // A font face embedded in the document (every size of it).
    struct Fuente {
        QRawFont cruda;
        QByteArray recurso; // "F1"
        QByteArray nombre;  // PostScript-like name
        bool truetype = false;
        std::vector<float> anchos;     // per glyph, 1/1000 em; < 0 not used
        std::vector<char16_t> unicode; // per glyph, 0 unknown
    };

    QIODevice& salida;
    QByteArray creador;
    QSizeF papelPt;       // MediaBox
    QSizeF dispositivo;   // device units
    QByteArray pendiente; // bytes not yet handed to the device
    qint64 escritos = 0;
    std::vector<qint64> posiciones{0}; // per object number; 0 is the free head
    std::vector<int> paginas;
    std::vector<std::unique_ptr<Fuente>> fuentes;
    std::vector<std::pair<QRawFont, Fuente*>> porCruda; // the fonts as the painter has them
    z_stream z{};

    // The page being written.
    Bufer contenido;
    bool enTexto = false;
    bool conLinea = false; // a text matrix set in this text object
    QPointF linea;         // the start of the last text, device units
    const Fuente* fuenteActual = nullptr;
    double tamanoActual = 0;
    QRgb colorActual = 0xFF000000;
    double grosorActual = -1;
    bool enPagina = false;

    Datos(QIODevice& s) : salida(s) {}

    void escribir(const char* t, qsizetype n) {
        pendiente.append(t, n);
        escritos += n;
        if (pendiente.size() >= (1 << 20))
            vaciar();
    }
    void escribir(const QByteArray& b) { escribir(b.constData(), b.size()); }
    void vaciar() {
        if (!pendiente.isEmpty() && salida.write(pendiente) != pendiente.size())
            throw ErrorMotor(QStringLiteral("no se puede escribir el documento PDF: %1")
                                 .arg(salida.errorString()));
        pendiente.clear();
    }

    int nuevoObjeto() {
        posiciones.push_back(-1);
        return static_cast<int>(posiciones.size() - 1);
    }
    void abrirObjeto(int n) {
        posiciones[static_cast<size_t>(n)] = escritos;
        QByteArray b;
        entero(b, n);
        b.append(" 0 obj\n");
        escribir(b);
    }
    void objeto(int n, const QByteArray& cuerpo) {
        abrirObjeto(n);
        escribir(cuerpo);
        escribir("\nendobj\n", 8);
    }
    // A deflated stream object; `extra` goes into its dictionary.
    void flujo(int n, const QByteArray& datos, const QByteArray& extra = {}) {
        flujo(n, datos.constData(), static_cast<size_t>(datos.size()), extra);
    }
    void flujo(int n, const char* datos, size_t largo, const QByteArray& extra = {}) {
        deflateReset(&z);
        QByteArray comprimido(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(largo))),
                              Qt::Uninitialized);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(datos));
        z.avail_in = static_cast<uInt>(largo);
        z.next_out = reinterpret_cast<Bytef*>(comprimido.data());
        z.avail_out = static_cast<uInt>(comprimido.size());
        if (deflate(&z, Z_FINISH) != Z_STREAM_END)
            throw ErrorMotor(QStringLiteral("no se puede comprimir el documento PDF"));
        comprimido.truncate(static_cast<qsizetype>(z.total_out));
        abrirObjeto(n);
        QByteArray d("<< /Length ");
        entero(d, comprimido.size());
        d.append(" /Filter /FlateDecode");
        d.append(extra);
        d.append(" >>\nstream\n");
        escribir(d);
        escribir(comprimido);
        escribir("\nendstream\nendobj\n", 18);
    }

    Fuente& fuente(const QRawFont& cruda) {
        for (const auto& [c, f] : porCruda)
            if (c == cruda)
                return *f;
        const QString familia = cruda.familyName();
        const QString estilo = cruda.styleName();
        Fuente* f = nullptr;
        for (const auto& x : fuentes)
            if (x->cruda.familyName() == familia && x->cruda.styleName() == estilo &&
                x->cruda.weight() == cruda.weight() && x->cruda.style() == cruda.style()) {
                f = x.get();
                break;
            }
        if (!f) {
            auto nueva = std::make_unique<Fuente>();
            nueva->cruda = cruda;
            nueva->recurso = "F" + QByteArray::number(fuentes.size() + 1);
            nueva->nombre = nombrePs(familia);
            const QByteArray e = nombrePs(estilo);
            if (!e.isEmpty() && e != "Regular" && e != "Book")
                nueva->nombre += "-" + e;
            if (nueva->nombre.isEmpty())
                nueva->nombre = "Fuente";
            nueva->truetype =
                !cruda.fontTable("loca").isEmpty() && !cruda.fontTable("head").isEmpty();
            f = nueva.get();
            fuentes.push_back(std::move(nueva));
        }
        porCruda.emplace_back(cruda, f);
        return *f;
    }

    float ancho(Fuente& f, const QRawFont& cruda, quint32 g) {
        if (g >= f.anchos.size()) {
            f.anchos.resize(g + 1, -1.0F);
            f.unicode.resize(g + 1, 0);
        }
        if (f.anchos[g] < 0) {
            QPointF a;
            cruda.advancesForGlyphIndexes(&g, &a, 1, QRawFont::UseDesignMetrics);
            f.anchos[g] = static_cast<float>(a.x() * 1000.0 / cruda.pixelSize());
        }
        return f.anchos[g];
    }

    void cerrarTexto() {
        if (enTexto) {
            contenido.append("ET\n");
            enTexto = false;
            conLinea = false;
        }
    }

    void color(const QColor& c) {
        const QRgb v = c.rgb();
        if (v == colorActual)
            return;
        colorActual = v;
        for (int comp : {qRed(v), qGreen(v), qBlue(v)}) {
            numero(contenido, comp / 255.0);
            contenido.append(' ');
        }
        contenido.append("rg\n");
    }

    // Glyphs the font cannot embed, as filled outlines.
    void contornos(const QRawFont& cruda, const QColor& c, const quint32* g, const QPointF* pos,
                   int n) {
        cerrarTexto();
        color(c);
        for (int i = 0; i < n; ++i) {
            const QPainterPath camino = cruda.pathForGlyph(g[i]).translated(pos[i]);
            for (int k = 0; k < camino.elementCount(); ++k) {
                const QPainterPath::Element e = camino.elementAt(k);
                if (e.isCurveTo()) {
                    for (int j = 0; j < 3; ++j) {
                        const QPainterPath::Element p = camino.elementAt(k + j);
                        numero(contenido, p.x);
                        contenido.append(' ');
                        numero(contenido, p.y);
                        contenido.append(' ');
                    }
                    contenido.append("c\n");
                    k += 2;
                    continue;
                }
                numero(contenido, e.x);
                contenido.append(' ');
                numero(contenido, e.y);
                contenido.append(e.isMoveTo() ? " m\n" : " l\n", 3);
            }
            if (!camino.isEmpty())
                contenido.append("f\n");
        }
    }

    void escribirPagina() {
        cerrarTexto();
        const int nContenido = nuevoObjeto();
        const int nPagina = nuevoObjeto();
        flujo(nContenido, contenido.constData(), contenido.size());
        QByteArray b("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ");
        numero(b, papelPt.width());
        b.append(' ');
        numero(b, papelPt.height());
        b.append("] /Resources 3 0 R /Contents ");
        entero(b, nContenido);
        b.append(" 0 R >>");
        objeto(nPagina, b);
        paginas.push_back(nPagina);
        contenido.clear();
        enPagina = false;
    }

    void escribirFuente(Fuente& f, int indice, QByteArray& recursos);
};

void EscritorPdf::Datos::escribirFuente(Fuente& f, int indice, QByteArray& recursos) {
    // The glyphs used, with their ids kept: the page streams name them.
    TablasDeFuente tablas{&f.cruda, {}};
    hb_face_t* cara = hb_face_create_for_tables(tablaDeFuente, &tablas, nullptr);
    hb_subset_input_t* entrada = hb_subset_input_create_or_fail();
    if (!entrada) {
        hb_face_destroy(cara);
        throw ErrorMotor(
            QStringLiteral("no se puede incrustar la letra %1").arg(f.cruda.familyName()));
    }
    hb_set_t* glifos = hb_subset_input_glyph_set(entrada);
    hb_set_add(glifos, 0);
    for (size_t g = 0; g < f.anchos.size(); ++g)
        if (f.anchos[g] >= 0)
            hb_set_add(glifos, static_cast<hb_codepoint_t>(g));
    hb_set_t* quitar = hb_subset_input_set(entrada, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const char* t : {"GSUB", "GPOS", "GDEF", "BASE", "JSTF", "MATH", "kern", "morx", "kerx",
                          "DSIG", "hdmx", "VDMX", "LTSH", "vhea", "vmtx"})
        hb_set_add(quitar, hb_tag_from_string(t, 4));
    hb_subset_input_set_flags(entrada, HB_SUBSET_FLAGS_RETAIN_GIDS);
    hb_face_t* subconjunto = hb_subset_or_fail(cara, entrada);
    hb_subset_input_destroy(entrada);
    hb_face_destroy(cara);
    if (!subconjunto)
        throw ErrorMotor(
            QStringLiteral("no se puede incrustar la letra %1").arg(f.cruda.familyName()));
    hb_blob_t* blob = hb_face_reference_blob(subconjunto);
    unsigned largo = 0;
    const char* datos = hb_blob_get_data(blob, &largo);
    const QByteArray archivo(datos, static_cast<qsizetype>(largo));
    hb_blob_destroy(blob);
    hb_face_destroy(subconjunto);

    QByteArray etiqueta(6, 'A');
    for (int k = 5, v = indice; k >= 0; --k, v /= 26)
        etiqueta[k] = static_cast<char>('A' + v % 26);
    const QByteArray nombre = etiqueta + "+" + f.nombre;

    const int nTipo0 = nuevoObjeto(), nCid = nuevoObjeto(), nDescriptor = nuevoObjeto(),
              nArchivo = nuevoObjeto(), nUnicode = nuevoObjeto();
    recursos.append(" /" + f.recurso + " ");
    entero(recursos, nTipo0);
    recursos.append(" 0 R");

    QByteArray b("<< /Type /Font /Subtype /Type0 /BaseFont /" + nombre +
                 " /Encoding /Identity-H /DescendantFonts [");
    entero(b, nCid);
    b.append(" 0 R] /ToUnicode ");
    entero(b, nUnicode);
    b.append(" 0 R >>");
    objeto(nTipo0, b);

    // Widths of the glyphs used, consecutive ids together.
    b = "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + nombre +
        " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
        " /FontDescriptor ";
    entero(b, nDescriptor);
    b.append(" 0 R /CIDToGIDMap /Identity /DW 0 /W [");
    for (size_t g = 0; g < f.anchos.size();) {
        if (f.anchos[g] < 0) {
            ++g;
            continue;
        }
        entero(b, static_cast<long long>(g));
        b.append(" [");
        for (; g < f.anchos.size() && f.anchos[g] >= 0; ++g) {
            numero(b, f.anchos[g]);
            b.append(' ');
        }
        b.append("] ");
    }
    b.append("] >>");
    objeto(nCid, b);

    const QByteArray head = f.cruda.fontTable("head");
    const double upem = std::max<quint16>(1, u16(head, 18));
    const auto mil = [upem](int v) { return std::lround(v * 1000.0 / upem); };
    const double px = std::max(1.0, f.cruda.pixelSize());
    b = "<< /Type /FontDescriptor /FontName /" + nombre + " /Flags 4 /FontBBox [";
    for (int pos : {36, 38, 40, 42}) {
        entero(b, mil(static_cast<qint16>(u16(head, pos))));
        b.append(' ');
    }
    b.append("] /ItalicAngle 0 /Ascent ");
    entero(b, std::lround(f.cruda.ascent() * 1000 / px));
    b.append(" /Descent ");
    entero(b, -std::lround(f.cruda.descent() * 1000 / px));
    b.append(" /CapHeight ");
    entero(b, std::lround(f.cruda.capHeight() * 1000 / px));
    b.append(" /StemV 80 /FontFile2 ");
    entero(b, nArchivo);
    b.append(" 0 R >>");
    objeto(nDescriptor, b);

    QByteArray largo1(" /Length1 ");
    entero(largo1, archivo.size());
    flujo(nArchivo, archivo, largo1);

    // The characters of the glyphs, for searching and copying: as the page
    // painter set them, else (shaped texts) the character the font maps to
    // the glyph, as Qt's engine does.
    std::vector<bool> falta(f.unicode.size(), false);
    bool faltan = false;
    for (size_t g = 1; g < f.unicode.size(); ++g) {
        falta[g] = f.anchos[g] >= 0 && f.unicode[g] == 0;
        faltan = faltan || falta[g];
    }
    if (faltan) {
        std::vector<QChar> todos;
        todos.reserve(0xFFFF);
        for (char32_t u = 0x20; u <= 0xFFFF; ++u)
            if (u < 0xD800 || u > 0xDFFF)
                todos.push_back(QChar(static_cast<char16_t>(u)));
        std::vector<quint32> glifosDe(todos.size());
        int n = static_cast<int>(todos.size());
        if (f.cruda.glyphIndexesForChars(todos.data(), n, glifosDe.data(), &n)) {
            // The lowest character of each glyph.
            for (int i = n - 1; i >= 0; --i) {
                const quint32 g = glifosDe[static_cast<size_t>(i)];
                if (g < falta.size() && falta[g])
                    f.unicode[g] = todos[static_cast<size_t>(i)].unicode();
            }
        }
    }
    QByteArray cmap("/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                    "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                    "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                    "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n");
    std::vector<quint32> conocidos;
    for (size_t g = 0; g < f.unicode.size(); ++g)
        if (f.unicode[g] != 0)
            conocidos.push_back(static_cast<quint32>(g));
    for (size_t i = 0; i < conocidos.size(); i += 100) {
        const size_t fin = std::min(conocidos.size(), i + 100);
        entero(cmap, static_cast<long long>(fin - i));
        cmap.append(" beginbfchar\n");
        for (size_t k = i; k < fin; ++k) {
            cmap.append('<');
            hex4(cmap, conocidos[k]);
            cmap.append("> <");
            hex4(cmap, f.unicode[conocidos[k]]);
            cmap.append(">\n");
        }
        cmap.append("endbfchar\n");
    }
    cmap.append("endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n");
    flujo(nUnicode, cmap);
}

EscritorPdf::EscritorPdf(QIODevice& salida, const QPageLayout& pagina, const QString& creador)
    : d_(std::make_unique<Datos>(salida)) {
    d_->creador = creador.toUtf8();
    d_->papelPt = pagina.fullRectPoints().size();
    d_->dispositivo = pagina.fullRectPixels(Resolucion).size();
    if (deflateInit(&d_->z, kNivelCompresion) != Z_OK)
        throw ErrorMotor(QStringLiteral("no se puede comprimir el documento PDF"));
    // Objects 1 to 4: catalogue, page tree, fonts, document information.
    for (int i = 0; i < 4; ++i)
        d_->nuevoObjeto();
    d_->escribir("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n", 15);
}

EscritorPdf::~EscritorPdf() {
    deflateEnd(&d_->z);
}

bool EscritorPdf::fuenteAdmitida(const QString& familia) {
    for (bool negrita : {false, true}) {
        QFont f(familia);
        f.setPixelSize(30);
        f.setBold(negrita);
        const QRawFont r = QRawFont::fromFont(f);
        if (!r.isValid() || r.fontTable("loca").isEmpty() || r.fontTable("head").isEmpty())
            return false;
    }
    return true;
}

QSizeF EscritorPdf::tamanoDispositivo() const {
    return d_->dispositivo;
}

void EscritorPdf::comenzarPagina() {
    Datos& d = *d_;
    if (d.enPagina)
        d.escribirPagina();
    d.enPagina = true;
    d.contenido.clear();
    d.enTexto = false;
    d.conLinea = false;
    d.fuenteActual = nullptr;
    d.colorActual = 0xFF000000;
    d.grosorActual = -1;
    // Device units (1/300 inch, y downwards) on the page's points; square
    // line ends as Qt's pens have.
    d.contenido.append("0.24 0 0 -0.24 0 ");
    numero(d.contenido, d.papelPt.height());
    d.contenido.append(" cm 2 J\n");
}

void EscritorPdf::linea(QPointF desde, QPointF hasta, double grosor) {
    Datos& d = *d_;
    d.cerrarTexto();
    Bufer& c = d.contenido;
    if (grosor != d.grosorActual) {
        numero(c, grosor);
        c.append(" w\n");
        d.grosorActual = grosor;
    }
    numero(c, desde.x());
    c.append(' ');
    numero(c, desde.y());
    c.append(" m ");
    numero(c, hasta.x());
    c.append(' ');
    numero(c, hasta.y());
    c.append(" l S\n");
}

void EscritorPdf::glifos(const QRawFont& cruda, const QColor& color, const quint32* g,
                         const QPointF* pos, const char16_t* caracteres, int n) {
    if (n <= 0)
        return;
    Datos& d = *d_;
    Datos::Fuente& f = d.fuente(cruda);
    if (!f.truetype)
        return d.contornos(cruda, color, g, pos, n);
    Bufer& c = d.contenido;
    if (!d.enTexto) {
        c.append("BT\n");
        d.enTexto = true;
    }
    const double tamano = cruda.pixelSize();
    if (d.fuenteActual != &f || d.tamanoActual != tamano) {
        c.append('/');
        c.append(f.recurso);
        c.append(' ');
        numero(c, tamano);
        c.append(" Tf\n");
        d.fuenteActual = &f;
        d.tamanoActual = tamano;
    }
    d.color(color);
    // The text matrix flips the glyphs back upright.
    // Each text starts from the previous one's start (Td) once a text
    // matrix that flips the glyphs back upright is set (Tm).
    const auto dos = [](double v) { return std::round(v * 100) / 100; };
    const auto situar = [&](QPointF p) {
        if (d.conLinea) {
            const double tx = dos(p.x() - d.linea.x()), ty = dos(d.linea.y() - p.y());
            numero(c, tx);
            c.append(' ');
            numero(c, ty);
            c.append(" Td [(");
            d.linea = QPointF(d.linea.x() + tx, d.linea.y() - ty);
        } else {
            d.linea = QPointF(dos(p.x()), dos(p.y()));
            c.append("1 0 0 -1 ");
            numero(c, d.linea.x());
            c.append(' ');
            numero(c, d.linea.y());
            c.append(" Tm [(");
            d.conLinea = true;
        }
    };
    situar(pos[0]);
    double x = d.linea.x(); // where the reader's pen is
    for (int i = 0; i < n; ++i) {
        const float w = d.ancho(f, cruda, g[i]);
        if (caracteres && f.unicode[g[i]] == 0)
            f.unicode[g[i]] = caracteres[i];
        // Two bytes per glyph id, escaped as a literal string needs.
        for (const unsigned b : {(g[i] >> 8) & 0xFF, g[i] & 0xFF}) {
            if (b == '(' || b == ')' || b == '\\') {
                c.append('\\');
                c.append(static_cast<char>(b));
            } else if (b == '\r') {
                c.append("\\r");
            } else {
                c.append(static_cast<char>(b));
            }
        }
        if (i + 1 == n)
            break;
        if (pos[i + 1].y() != pos[i].y()) {
            c.append(")] TJ\n");
            situar(pos[i + 1]);
            x = d.linea.x();
            continue;
        }
        // Kerning, and the rounding of the widths caught up when it reaches
        // a thousandth of the size: the next glyph where the painter put it.
        x += w * tamano / 1000.0;
        const double ajuste = (x - pos[i + 1].x()) * 1000.0 / tamano;
        if (std::abs(ajuste) >= 1.0) {
            c.append(')');
            numero(c, ajuste);
            c.append('(');
            x -= dos(ajuste) * tamano / 1000.0;
        }
    }
    c.append(")] TJ\n");
}

void EscritorPdf::texto(const QFont& fuente, const QColor& color, const QRectF& caja, int banderas,
                        const QString& texto) {
    // As QPainter::drawText on one line: tabs and line ends as spaces.
    QString linea = texto;
    for (QChar& ch : linea)
        if (ch == u'\t' || ch == u'\r' || ch == u'\n')
            ch = u' ';
    QTextLayout disposicion(linea, fuente);
    QTextOption opcion(Qt::Alignment(banderas & Qt::AlignHorizontal_Mask));
    opcion.setWrapMode(QTextOption::NoWrap);
    disposicion.setTextOption(opcion);
    disposicion.beginLayout();
    QTextLine l = disposicion.createLine();
    if (!l.isValid()) {
        disposicion.endLayout();
        return;
    }
    l.setLineWidth(caja.width());
    l.setPosition(QPointF(0, 0));
    disposicion.endLayout();
    const QPointF origen(caja.left(), caja.top() + (caja.height() - l.height()) / 2);

    for (const QGlyphRun& run : disposicion.glyphRuns()) {
        const QList<quint32> g = run.glyphIndexes();
        QList<QPointF> pos = run.positions();
        for (QPointF& p : pos)
            p += origen;
        glifos(run.rawFont(), color, g.constData(), pos.constData(), nullptr,
               static_cast<int>(g.size()));
    }
}

void EscritorPdf::terminarPagina() {
    if (d_->enPagina)
        d_->escribirPagina();
}

void EscritorPdf::terminar() {
    Datos& d = *d_;
    if (d.enPagina)
        d.escribirPagina();
    if (d.paginas.empty()) {
        // A document has at least one page, blank if nothing was laid out.
        comenzarPagina();
        d.escribirPagina();
    }
    QByteArray recursos("<< /Font <<");
    int indice = 0;
    for (const auto& f : d.fuentes)
        if (f->truetype)
            d.escribirFuente(*f, indice++, recursos);
    recursos.append(" >> >>");
    d.objeto(3, recursos);

    QByteArray b("<< /Type /Pages /Count ");
    entero(b, static_cast<long long>(d.paginas.size()));
    b.append(" /Kids [");
    for (int p : d.paginas) {
        entero(b, p);
        b.append(" 0 R ");
    }
    b.append("] >>");
    d.objeto(2, b);
    d.objeto(1, "<< /Type /Catalog /Pages 2 0 R >>");
    b = "<< /Creator <FEFF";
    for (QChar ch : QString::fromUtf8(d.creador))
        hex4(b, ch.unicode());
    b.append("> /Producer <FEFF");
    for (QChar ch : QString::fromUtf8(d.creador))
        hex4(b, ch.unicode());
    b.append("> /CreationDate (D:" +
             QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
             "Z) >>");
    d.objeto(4, b);

    const qint64 inicioXref = d.escritos;
    b = "xref\n0 ";
    entero(b, static_cast<long long>(d.posiciones.size()));
    b.append("\n0000000000 65535 f \n");
    for (size_t i = 1; i < d.posiciones.size(); ++i) {
        char t[24];
        std::snprintf(t, sizeof t, "%010lld 00000 n \n", static_cast<long long>(d.posiciones[i]));
        b.append(t, 20);
    }
    b.append("trailer\n<< /Size ");
    entero(b, static_cast<long long>(d.posiciones.size()));
    b.append(" /Root 1 0 R /Info 4 0 R >>\nstartxref\n");
    entero(b, inicioXref);
    b.append("\n%%EOF\n");
    d.escribir(b);
    d.vaciar();
}

} // namespace rp::motor
