// The page painter's glyph-run path against the plain QPainter::drawText
// painter, on the history of a generated demo database: the pages as images
// (pdftoppm) must look the same, and the PDF text must read the same.
#include "app/demo/DemoDatos.h"
#include "db/provider/Connection.h"
#include "db/provider/SqliteProvider.h"
#include "report/engine/DisenoPagina.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/Paginador.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/widgets/SalidaPdf.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
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

QString textoPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

class PintorRapido : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir();
        rp::demo::OpcionesDemo o;
        o.articulos = 60;
        o.cambios = 600;
        rp::demo::DemoDatos demo(o);
        ASSERT_TRUE(demo.generarEmpresa(dir_->filePath("EMPRESA.db")))
            << demo.error().toStdString();
    }
    static void TearDownTestSuite() { delete dir_; }

    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "poppler-utils (pdftoppm, pdftotext) not installed";
        conexion_.openWith(std::make_unique<rp::db::SqliteProvider>(),
                           dir_->filePath("EMPRESA.db"));
        fuente_.consultar = [this](const QString& sql) { return conexion_.execute(sql); };
    }

    // The whole history with every column and the changes shown: long
    // descriptions set smaller or elided, accents, arrows, bold titles.
    std::shared_ptr<const ReportePreparado> historial() {
        SolicitudReporte s;
        s.formulas[0] = QStringLiteral("Nombreempresa = 'Distribuidora El Ombú S.A.'");
        s.formulas[1] = QStringLiteral("Parametros = 'Lista 1 a 3 – todas las fechas'");
        s.formulas[4] = QStringLiteral("OcultarColumnas = ''");
        s.textosPrecio = {QStringLiteral("Precio1='Mayorista'"),
                          QStringLiteral("Precio2='Minorista con descuento especial'")};
        return ReportePreparado::preparar(LectorPlantilla::leerArchivo(QStringLiteral(
                                              RP_SOURCE_DIR "/templates/RP_CambioPreciosHIS.rpt")),
                                          s);
    }

    QString escribir(const ReportePreparado& rep, const QList<PaginaReporte>& paginas,
                     PintorPagina::Modo modo, const char* nombre) {
        const QString ruta = dir_->filePath(QString::fromLatin1(nombre));
        QFile f(ruta);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        SalidaPdf::escribir(rep, paginas, f, modo);
        return ruta;
    }

    static QTemporaryDir* dir_;
    rp::db::Connection conexion_;
    FuenteDatos fuente_;
};

QTemporaryDir* PintorRapido::dir_ = nullptr;

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
    // The same words (the runs of one font are drawn together, so the order
    // a text extractor reads them in may differ).
    const auto palabras = [](const QString& t) {
        QStringList r = t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        r.sort();
        return r;
    };
    const QStringList a = palabras(texto), b = palabras(textoPdf(referencia));
    EXPECT_EQ(a.size(), b.size());
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i]) {
            ADD_FAILURE() << "word " << i << ": " << a[i].toStdString() << " / "
                          << b[i].toStdString();
            break;
        }
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
}
