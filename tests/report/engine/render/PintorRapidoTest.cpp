// The page painter's glyph-run path against the plain QPainter::drawText
// painter, on the history of a generated demo database: the pages as images
// (pdftoppm) must look the same, and the PDF text must read the same.
#include "EmpresaPequena.h"
#include "app/demo/DemoDatos.h"
#include "db/provider/Connection.h"
#include "db/provider/SqliteProvider.h"
#include "report/engine/DisenoPagina.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/Paginador.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/EscritorPdf.h"
#include "report/engine/widgets/SalidaPdf.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rp::motor;

namespace {

// Pixels of `a` with no pixel within one pixel of them in `b` closer than
// `tolerancia` grey levels: antialiased edges a fraction of a pixel apart
// pass, a missing, extra or moved glyph does not.
int pixelesDistintos(const QImage& a, const QImage& b, int tolerancia = 64) {
    if (a.size() != b.size())
        return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* fa = a.constScanLine(y);
        for (int x = 0; x < a.width(); ++x) {
            const int v = fa[x];
            bool cerca = false;
            for (int dy = -1; dy <= 1 && !cerca; ++dy) {
                const int yy = y + dy;
                if (yy < 0 || yy >= b.height())
                    continue;
                const uchar* fb = b.constScanLine(yy);
                for (int dx = -1; dx <= 1 && !cerca; ++dx) {
                    const int xx = x + dx;
                    cerca = xx >= 0 && xx < b.width() && std::abs(v - fb[xx]) <= tolerancia;
                }
            }
            n += cerca ? 0 : 1;
        }
    }
    return n;
}

// Page `pagina` of a PDF as a 100 dpi grey image.
QImage imagenPagina(const QString& pdf, int pagina) {
    const QString base = pdf + QStringLiteral("-p%1").arg(pagina);
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-gray"),
             QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(pagina),
             QStringLiteral("-l"), QString::number(pagina), pdf, base});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return QImage();
    return QImage(base + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
}

// Standard output of a tool, empty when it fails.
QString salidaDe(const QString& programa, const QStringList& argumentos) {
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString textoPdf(const QString& pdf) {
    return salidaDe(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
}

// The words of a text, sorted (the runs of one font are drawn together, so
// the order a text extractor reads them in may differ).
QStringList palabras(const QString& t) {
    QStringList r = t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    r.sort();
    return r;
}

// The first word that differs, empty when the lists are the same.
std::string primeraDistinta(const QStringList& a, const QStringList& b) {
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
        if (a.value(i) != b.value(i))
            return "word " + std::to_string(i) + ": " + a.value(i).toStdString() + " / " +
                   b.value(i).toStdString();
    return std::string();
}

// Checks a PDF file as a whole: pdffonts sees every font embedded as a
// subset with its character map, qpdf (when installed) finds no fault.
void documentoValido(const QString& pdf, int fuentesMinimas) {
    const QStringList lineas =
        salidaDe(QStringLiteral("pdffonts"), {pdf}).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lineas.size(), 2 + fuentesMinimas) << "pdffonts failed on " << pdf.toStdString();
    for (qsizetype i = 2; i < lineas.size(); ++i) {
        EXPECT_TRUE(lineas[i].contains(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+"))))
            << lineas[i].toStdString();
        EXPECT_TRUE(lineas[i].contains(QRegularExpression(QStringLiteral(" yes +yes +yes "))))
            << lineas[i].toStdString();
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("qpdf")).isEmpty()) {
        QProcess q;
        q.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf});
        ASSERT_TRUE(q.waitForFinished(120000));
        EXPECT_EQ(0, q.exitCode()) << q.readAllStandardOutput().toStdString();
    }
}

class PintorRapido : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        empresa_ = new rp::prueba::EmpresaPequena(600);
        ASSERT_TRUE(empresa_->lista());
    }
    static void TearDownTestSuite() { delete empresa_; }

    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "poppler-utils (pdftoppm, pdftotext) not installed";
        conexion_.openWith(std::make_unique<rp::db::SqliteProvider>(), empresa_->base());
        fuente_.consultar = [this](const QString& sql) { return conexion_.execute(sql); };
    }

    // The whole history with every column and the changes shown: long
    // descriptions set smaller or elided, accents, arrows, bold titles.
    // `letra`: another font for the template's.
    std::shared_ptr<const ReportePreparado> historial(const QString& letra = QString()) {
        SolicitudReporte s;
        s.formulas[0] = QStringLiteral("Nombreempresa = 'Distribuidora El Ombú S.A.'");
        s.formulas[1] = QStringLiteral("Parametros = 'Lista 1 a 3 – todas las fechas'");
        s.formulas[4] = QStringLiteral("OcultarColumnas = ''");
        s.textosPrecio = {QStringLiteral("Precio1='Mayorista'"),
                          QStringLiteral("Precio2='Minorista con descuento especial'")};
        Plantilla p = LectorPlantilla::leerArchivo(
            QStringLiteral(RP_SOURCE_DIR "/templates/RP_CambioPreciosHIS.rpt"));
        if (!letra.isEmpty())
            p.letra = letra;
        return ReportePreparado::preparar(p, s);
    }

    QString escribir(const ReportePreparado& rep, const QList<PaginaReporte>& paginas,
                     PintorPagina::Modo modo, const char* nombre) {
        const QString ruta = empresa_->ruta(QString::fromLatin1(nombre));
        QFile f(ruta);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        SalidaPdf::escribir(rep, paginas, f, modo);
        return ruta;
    }

    static rp::prueba::EmpresaPequena* empresa_;
    rp::db::Connection conexion_;
    FuenteDatos fuente_;
};

rp::prueba::EmpresaPequena* PintorRapido::empresa_ = nullptr;

} // namespace

TEST_F(PintorRapido, PaginasIgualesALaVistaYMismoTexto) {
    const auto rep = historial();
    auto filas = rep->abrir(fuente_);
    const QList<PaginaReporte> paginas = Paginador::componer(*rep, *filas);
    ASSERT_GE(paginas.size(), 3);
    const QString rapido = escribir(*rep, paginas, PintorPagina::Modo::Rapido, "rapido.pdf");
    const QString referencia =
        escribir(*rep, paginas, PintorPagina::Modo::Referencia, "referencia.pdf");

    const int ultima = static_cast<int>(paginas.size());
    for (int n : {1, 2, ultima}) {
        const QImage a = imagenPagina(rapido, n);
        const QImage b = imagenPagina(referencia, n);
        ASSERT_FALSE(a.isNull());
        ASSERT_FALSE(b.isNull());
        EXPECT_EQ(a.size(), b.size());
        EXPECT_LE(pixelesDistintos(a, b), 10) << "page " << n;
        EXPECT_LE(pixelesDistintos(b, a), 10) << "page " << n;
    }
    // The comparison sees a real difference: two pages of other rows.
    EXPECT_GT(pixelesDistintos(imagenPagina(rapido, 1), imagenPagina(rapido, 2)), 1000);

    const QString texto = textoPdf(rapido);
    EXPECT_TRUE(texto.contains(QStringLiteral("Distribuidora El Ombú S.A.")));
    EXPECT_TRUE(texto.contains(QStringLiteral("Página 1 de %1").arg(ultima)));
    EXPECT_EQ(primeraDistinta(palabras(texto), palabras(textoPdf(referencia))), "");

    // The pages come from the writer of page streams (regular and bold
    // subsets), a document other readers take as well.
    documentoValido(rapido, 2);
    EXPECT_EQ(QStringLiteral("%1").arg(ultima),
              salidaDe(QStringLiteral("pdfinfo"), {rapido})
                  .section(QRegularExpression(QStringLiteral("Pages: +")), 1)
                  .section(u'\n', 0, 0));
}

// On screen (the preview paints on a raster image) the glyph runs look as
// the drawText painter's text too.
TEST_F(PintorRapido, VistaEnPantallaComoLaReferencia) {
    const auto rep = historial();
    auto filas = rep->abrir(fuente_);
    const QList<PaginaReporte> paginas = Paginador::componer(*rep, *filas);
    ASSERT_FALSE(paginas.isEmpty());
    const DisenoPagina d = DisenoPagina::calcular(*rep);
    const auto pintar = [&](PintorPagina::Modo modo) {
        QImage imagen(QSize(1170, 827), QImage::Format_RGB32);
        imagen.fill(Qt::white);
        QPainter p(&imagen);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        PintorPagina(rep->plantilla().letra, rep->plantilla().tamanoLetra, modo)
            .pintar(p, paginas.first(), QRectF(0, 0, 1170, 827), d.anchoPapel, d.altoPapel,
                    static_cast<int>(paginas.size()));
        p.end();
        return imagen.convertToFormat(QImage::Format_Grayscale8);
    };
    const QImage a = pintar(PintorPagina::Modo::Rapido);
    const QImage b = pintar(PintorPagina::Modo::Referencia);
    EXPECT_LE(pixelesDistintos(a, b), 10);
    EXPECT_LE(pixelesDistintos(b, a), 10);
}

// Texts the glyph tables do not cover (another script, a character the font
// lacks, a tab, ligatures) go through Qt's shaping, coloured changes keep
// their colour: same page as the reference.
TEST_F(PintorRapido, TextosFueraDeLasTablasComoLaReferencia) {
    const auto rep = historial();
    PaginaReporte pagina;
    pagina.numero = 1;
    const QStringList textos = {QStringLiteral("Ελληνικά κείμενο"),
                                QStringLiteral("عربي نص"),
                                QStringLiteral("tab\there"),
                                QStringLiteral("emoji 😀 fin"),
                                QStringLiteral("Reflector de fibra, café"),
                                QStringLiteral("extra\u00ADordinario"),
                                QStringLiteral("Descripción muy larga que no cabe en la celda")};
    double y = 20;
    for (const QString& t : textos) {
        ElementoPagina e;
        e.x = 20;
        e.y = y;
        e.ancho = 40;
        e.alto = 5;
        e.texto = t;
        pagina.elementos << e;
        y += 6;
    }
    // Rises and falls in their colours, beside black text of the same font.
    for (const auto& [texto, tono] :
         {std::pair{"▲ +1,250.00", ElementoPagina::Sube},
          std::pair{"▼ -3.50", ElementoPagina::Baja}, std::pair{"12.5", ElementoPagina::Neutro}}) {
        ElementoPagina e;
        e.x = 20;
        e.y = y;
        e.ancho = 30;
        e.alto = 5;
        e.texto = QString::fromUtf8(texto);
        e.alineacion = Alineacion::Derecha;
        e.tono = tono;
        pagina.elementos << e;
        y += 6;
    }
    const QString rapido = escribir(*rep, {pagina}, PintorPagina::Modo::Rapido, "otros-r.pdf");
    const QString referencia =
        escribir(*rep, {pagina}, PintorPagina::Modo::Referencia, "otros-ref.pdf");
    const QImage a = imagenPagina(rapido, 1);
    const QImage b = imagenPagina(referencia, 1);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_LE(pixelesDistintos(a, b), 10);
    EXPECT_LE(pixelesDistintos(b, a), 10);
    // Greek, Arabic, ligatures and accents read as in Qt's document.
    const QString texto = textoPdf(rapido);
    EXPECT_TRUE(texto.contains(QStringLiteral("Ελληνικά κείμενο")));
    EXPECT_TRUE(texto.contains(QStringLiteral("café")));
    EXPECT_EQ(primeraDistinta(palabras(texto), palabras(textoPdf(referencia))), "");
    documentoValido(rapido, 1);
}

// The writer of page streams on its own: a text in a font it cannot embed
// (PostScript outlines) goes on the page as outlines that look as Qt's
// drawText; a document without pages still has its one blank page.
TEST_F(PintorRapido, EscritorDirectoConLetraSinContornosTrueTypeYSinPaginas) {
    QFont letra(QStringLiteral("Nimbus Sans"));
    letra.setPixelSize(50);
    if (QRawFont::fromFont(letra).familyName() != QStringLiteral("Nimbus Sans") ||
        !QRawFont::fromFont(letra).fontTable("glyf").isEmpty())
        GTEST_SKIP() << "no font with PostScript outlines (fonts-urw-base35) installed";
    const QPageLayout hoja(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    const QRectF caja(300, 300, 1800, 120);
    const QString texto = QStringLiteral("Nimbus ÁÉÍ fin 123");

    const QString directo = empresa_->ruta(QStringLiteral("nimbus-d.pdf"));
    {
        QFile f(directo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        EscritorPdf pdf(f, hoja, QStringLiteral("prueba"));
        pdf.comenzarPagina();
        pdf.texto(letra, QColor(0xB0, 0x1E, 0x1E), caja, Qt::AlignLeft | Qt::AlignVCenter, texto);
        pdf.terminarPagina();
        pdf.terminar();
    }
    const QString referencia = empresa_->ruta(QStringLiteral("nimbus-r.pdf"));
    {
        QPdfWriter pdf(referencia);
        pdf.setResolution(EscritorPdf::Resolucion);
        pdf.setPageLayout(hoja);
        QPainter p(&pdf);
        p.setFont(QFont(letra, &pdf));
        p.setPen(QColor(0xB0, 0x1E, 0x1E));
        p.drawText(caja, Qt::AlignLeft | Qt::AlignVCenter, texto);
    }
    const QImage a = imagenPagina(directo, 1);
    const QImage b = imagenPagina(referencia, 1);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_LE(pixelesDistintos(a, b), 10);
    EXPECT_LE(pixelesDistintos(b, a), 10);
    // Something is drawn: the comparison is not of two blank pages.
    QImage blanca(a.size(), a.format());
    blanca.fill(Qt::white);
    EXPECT_GT(pixelesDistintos(a, blanca), 100);

    const QString vacio = empresa_->ruta(QStringLiteral("vacio.pdf"));
    {
        QFile f(vacio);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        EscritorPdf pdf(f, hoja, QStringLiteral("prueba"));
        pdf.terminar();
    }
    EXPECT_TRUE(salidaDe(QStringLiteral("pdfinfo"), {vacio})
                    .contains(QStringLiteral("Pages:           1\n")));
    documentoValido(vacio, 0);
}

namespace {

// A device that takes `cabe` bytes and then refuses to write, as a full disk.
class DispositivoLleno : public QIODevice {
public:
    explicit DispositivoLleno(qint64 cabe) : cabe_(cabe) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 n) override {
        if (escritos_ + n > cabe_) {
            setErrorString(QStringLiteral("No queda espacio en el dispositivo"));
            return -1;
        }
        escritos_ += n;
        return n;
    }

private:
    qint64 cabe_, escritos_ = 0;
};

} // namespace

// Glyph ids whose bytes are "(", ")", "\" or a carriage return in the page
// stream's strings (in DejaVu Sans "E", "F", "y", "*"), kerned pairs and right
// alignment: the same page and the same text as Qt's engine gives.
TEST_F(PintorRapido, GlifosQueLaCadenaEscapaYParesConKerning) {
    const auto rep = historial();
    PaginaReporte pagina;
    pagina.numero = 1;
    const QStringList textos = {QStringLiteral("EFy*EFy* (x) \\ y"),
                                QStringLiteral("AVATAR Tw Yo WAVE"),
                                QStringLiteral("Fecha Efectivo ***"), QStringLiteral("1,234.50")};
    double y = 20;
    for (const QString& t : textos) {
        for (const Alineacion a : {Alineacion::Izquierda, Alineacion::Derecha}) {
            ElementoPagina e;
            e.x = a == Alineacion::Izquierda ? 20 : 120;
            e.y = y;
            e.ancho = 80;
            e.alto = 5;
            e.texto = t;
            e.alineacion = a;
            e.negrita = a == Alineacion::Derecha;
            pagina.elementos << e;
        }
        y += 6;
    }
    const QString rapido = escribir(*rep, {pagina}, PintorPagina::Modo::Rapido, "escapes-r.pdf");
    const QString referencia =
        escribir(*rep, {pagina}, PintorPagina::Modo::Referencia, "escapes-ref.pdf");
    const QImage a = imagenPagina(rapido, 1);
    const QImage b = imagenPagina(referencia, 1);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_LE(pixelesDistintos(a, b), 10);
    EXPECT_LE(pixelesDistintos(b, a), 10);
    const QString texto = textoPdf(rapido);
    for (const QString& t : textos)
        EXPECT_EQ(2, texto.count(t)) << t.toStdString() << " in:\n" << texto.toStdString();
    documentoValido(rapido, 2);
}

// A device that stops taking bytes halfway through the document: the
// writing fails with the device's reason, never ends as if it had worked.
TEST_F(PintorRapido, DispositivoQueNoAceptaMasBytesEsUnError) {
    const auto rep = historial();
    auto filas = rep->abrir(fuente_);
    const QList<PaginaReporte> paginas = Paginador::componer(*rep, *filas);
    DispositivoLleno lleno(20000);
    try {
        SalidaPdf::escribir(*rep, paginas, lleno);
        ADD_FAILURE() << "no error on a full device";
    } catch (const ErrorMotor& e) {
        EXPECT_TRUE(e.texto().contains(QStringLiteral("No queda espacio")))
            << e.texto().toStdString();
    }
}

// A template font with PostScript outlines (which the page-stream writer would
// only draw as shapes) goes through Qt's engine: the text stays text, the
// pages look as the reference painter's.
TEST_F(PintorRapido, LetraSinContornosTrueTypePorElMotorDeQt) {
    QFont nimbus(QStringLiteral("Nimbus Sans"));
    if (QRawFont::fromFont(nimbus).familyName() != QStringLiteral("Nimbus Sans") ||
        !QRawFont::fromFont(nimbus).fontTable("glyf").isEmpty())
        GTEST_SKIP() << "no font with PostScript outlines (fonts-urw-base35) installed";
    const auto rep = historial(QStringLiteral("Nimbus Sans"));
    auto filas = rep->abrir(fuente_);
    QList<PaginaReporte> paginas = Paginador::componer(*rep, *filas);
    ASSERT_GE(paginas.size(), 2);
    paginas = paginas.mid(0, 2);
    const QString rapido = escribir(*rep, paginas, PintorPagina::Modo::Rapido, "nimbus-h.pdf");
    const QString referencia =
        escribir(*rep, paginas, PintorPagina::Modo::Referencia, "nimbus-h-ref.pdf");
    const QImage a = imagenPagina(rapido, 1);
    const QImage b = imagenPagina(referencia, 1);
    ASSERT_FALSE(a.isNull());
    EXPECT_LE(pixelesDistintos(a, b), 10);
    EXPECT_LE(pixelesDistintos(b, a), 10);
    const QString texto = textoPdf(rapido);
    EXPECT_TRUE(texto.contains(QStringLiteral("Distribuidora El Ombú S.A.")))
        << texto.toStdString();
    EXPECT_EQ(primeraDistinta(palabras(texto), palabras(textoPdf(referencia))), "");
    EXPECT_TRUE(salidaDe(QStringLiteral("pdffonts"), {rapido}).contains(QStringLiteral("Nimbus")));
}
