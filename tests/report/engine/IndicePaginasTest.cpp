// Pages laid out alone from the page index are the pages of the full layout.
#include "report/engine/IndicePaginas.h"
#include "BaseDePrueba.h"
#include "EmpresaPequena.h"
#include "app/demo/DemoDatos.h"
#include "db/provider/Connection.h"
#include "db/provider/SqliteProvider.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/Paginador.h"
#include "report/engine/ReportePreparado.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rp::motor;

namespace {

class IndiceDemo : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        empresa_ = new rp::prueba::EmpresaPequena(900);
        ASSERT_TRUE(empresa_->lista());
    }
    static void TearDownTestSuite() { delete empresa_; }

    void SetUp() override {
        conexion_.openWith(std::make_unique<rp::db::SqliteProvider>(), empresa_->base());
        fuente_.consultar = [this](const QString& sql) {
            ++sentencias_;
            return conexion_.execute(sql);
        };
    }

    static QString texto(const char* plantilla) {
        QFile f(QStringLiteral(RP_SOURCE_DIR "/templates/") + QString::fromLatin1(plantilla) +
                ".rpt");
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QString::fromUtf8(f.readAll());
    }
    std::shared_ptr<const ReportePreparado> preparar(const QString& texto,
                                                     const SolicitudReporte& s) {
        return ReportePreparado::preparar(LectorPlantilla::leerTexto(texto), s,
                                          QDateTime(QDate(2025, 2, 3), QTime(9, 5)));
    }

    // Every page from the index against the full layout; returns the pages.
    QList<PaginaReporte> comparar(const ReportePreparado& rep) {
        auto filas = rep.abrir(fuente_, true);
        int total = 0;
        const QList<PaginaReporte> todas = Paginador::componer(rep, *filas, &total);
        IndicePaginas indice(rep);
        indice.abrir(fuente_);
        // In slices, as a window builds it.
        while (indice.avanzar(37))
            EXPECT_LE(indice.paginasCompletas(), total);
        EXPECT_TRUE(indice.terminado());
        EXPECT_TRUE(indice.valido());
        EXPECT_EQ(total, indice.paginas());
        for (int n = 1; n <= indice.paginas(); ++n) {
            SCOPED_TRACE(n);
            const PaginaReporte sola = indice.componer(fuente_, n);
            const PaginaReporte& p = todas.at(n - 1);
            EXPECT_EQ(p.numero, sola.numero);
            EXPECT_EQ(p.filas, sola.filas);
            EXPECT_EQ(p.elementos.size(), sola.elementos.size());
            for (qsizetype i = 0; i < std::min(p.elementos.size(), sola.elementos.size()); ++i) {
                const ElementoPagina &a = p.elementos.at(i), &b = sola.elementos.at(i);
                EXPECT_EQ(a.texto.toStdString(), b.texto.toStdString()) << "elemento " << i;
                EXPECT_DOUBLE_EQ(a.x, b.x);
                EXPECT_DOUBLE_EQ(a.y, b.y);
                EXPECT_DOUBLE_EQ(a.ancho, b.ancho);
                EXPECT_EQ(a.tipo, b.tipo);
                EXPECT_EQ(a.negrita, b.negrita);
                EXPECT_EQ(a.tono, b.tono);
            }
            EXPECT_EQ(p.lineas.size(), sola.lineas.size());
            for (qsizetype i = 0; i < std::min(p.lineas.size(), sola.lineas.size()); ++i) {
                EXPECT_EQ(p.lineas.at(i).clave, sola.lineas.at(i).clave);
                EXPECT_DOUBLE_EQ(p.lineas.at(i).y, sola.lineas.at(i).y);
            }
        }
        return todas;
    }

    static bool tiene(const PaginaReporte& p, const QString& t) {
        for (const ElementoPagina& e : p.elementos) {
            if (e.texto.contains(t))
                return true;
        }
        return false;
    }

    static rp::prueba::EmpresaPequena* empresa_;
    rp::db::Connection conexion_;
    FuenteDatos fuente_;
    int sentencias_ = 0;
};

rp::prueba::EmpresaPequena* IndiceDemo::empresa_ = nullptr;

} // namespace

TEST_F(IndiceDemo, HistorialAgrupadoPorArticulo) {
    SolicitudReporte s;
    s.formulas[0] = QStringLiteral("Nombreempresa = 'Demo S.A.'");
    const auto rep = preparar(texto("RP_CambioPreciosHIS"), s);
    const QList<PaginaReporte> paginas = comparar(*rep);
    ASSERT_GT(paginas.size(), 5);
    // Groups go on to the next page and their footers land mid-page.
    int continuan = 0;
    for (const PaginaReporte& p : paginas)
        continuan += tiene(p, QStringLiteral("(continúa)")) ? 1 : 0;
    EXPECT_GT(continuan, 1);
    EXPECT_TRUE(tiene(paginas.last(), QStringLiteral("Cambios del artículo")));
}

TEST_F(IndiceDemo, HistorialConSeleccionSinGrupoYDescendente) {
    // No group: pages start inside a run of one article's rows; the rows of
    // that key on earlier pages are skipped, and the record number goes on.
    QString t = texto("RP_CambioPreciosHIS");
    t = t.left(t.indexOf(QStringLiteral("[grupo]"))) +
        t.mid(t.indexOf(QStringLiteral("[columna]")));
    t.replace(QStringLiteral("titulo = Artículo\n"), QStringLiteral("titulo = N {RecordNumber}\n"));
    SolicitudReporte s;
    s.formula = QStringLiteral("{V_MV_PRECIOSHIS.IDLISTA} <> '2' AND {v_ma_articulos.descripcion} "
                               "LIKE '*'");
    s.orden = {QStringLiteral("-{V_MV_PRECIOSHIS.IDARTICULO}"),
               QStringLiteral("+{V_MV_PRECIOSHIS.FECHAHORA}")};
    const auto rep = preparar(t, s);
    ASSERT_FALSE(rep->filtroEnMemoria());
    comparar(*rep);
    IndicePaginas indice(*rep);
    indice.abrir(fuente_);
    indice.completar();
    int dentro = 0;
    for (int n = 2; n <= indice.paginas(); ++n)
        dentro += indice.inicio(n).antes > 0 ? 1 : 0;
    EXPECT_GT(dentro, 0);
    // A page laid out alone runs one statement of its own.
    const int antes = sentencias_;
    indice.componer(fuente_, indice.paginas());
    EXPECT_EQ(antes + 1, sentencias_);
}

TEST_F(IndiceDemo, UltimoCostoYReportesSinIndice) {
    SolicitudReporte s;
    s.orden = {QString()};
    s.formulas[0] = QStringLiteral("Nombreempresa = 'Demo'");
    comparar(*preparar(texto("RP_CambioPreciosHISFEchacosto"), s));

    // A procedure's rows, and a selection evaluated in memory, come only
    // from the start: no index, but the page count, and any pages laid out
    // from the first without keeping the others.
    s.formulas[1] = QStringLiteral("Parametros='Lista=1   Fecha=31/12/2030'");
    s.parametros = {QStringLiteral("@FECHA;31/12/2030;TRUE"), QStringLiteral("@LISTA;1;TRUE"),
                    QStringLiteral("@CLASE;0;TRUE"), QStringLiteral("@WHERE;;TRUE")};
    SolicitudReporte enMemoria;
    enMemoria.formula = QStringLiteral("{PageNumber} = 1 OR {V_MV_PRECIOSHIS.COSTO} > 0");
    for (const auto& rep : {preparar(texto("RP_CambioPreciosHISFEcha"), s),
                            preparar(texto("RP_CambioPreciosHIS"), enMemoria)}) {
        auto filas = rep->abrir(fuente_, true);
        const QList<PaginaReporte> todas = Paginador::componer(*rep, *filas);
        ASSERT_GE(todas.size(), 2);
        IndicePaginas indice(*rep);
        indice.abrir(fuente_);
        indice.completar();
        EXPECT_FALSE(indice.valido());
        EXPECT_EQ(todas.size(), indice.paginas());
        QList<int> dadas;
        indice.recorrer(fuente_, 2, 1000, [&](const PaginaReporte& p) {
            dadas << p.numero;
            EXPECT_EQ(todas.at(p.numero - 1).elementos.size(), p.elementos.size());
            return true;
        });
        ASSERT_EQ(todas.size() - 1, dadas.size());
        EXPECT_EQ(2, dadas.first());
    }
}

// A descending sort on a column the join leaves empty for some rows: the
// database puts them last, and the pages that hold them still have them.
TEST(IndicePaginas, FilasSinClaveAlFinalDeUnOrdenDescendente) {
    prueba::BaseDePrueba base;
    const char* codigos[] = {"                      100", "                      200",
                             "                      300", "                      500",
                             "                      900"};
    for (int i = 0; i < 90; ++i)
        base.ejecutar(QStringLiteral("INSERT INTO V_MV_PRECIOSHIS VALUES (%1, '1', '%2', "
                                     "'2024-05-01 10:00:00', 'u', %3, 1, 1)")
                          .arg(100 + i)
                          .arg(QString::fromLatin1(codigos[i % 5]))
                          .arg(i));
    QString texto = prueba::BaseDePrueba::textoHistorial();
    texto.replace(QStringLiteral("papel = A4\n"),
                  QStringLiteral("papel = A4\nmargenes = 100, 10, 100, 10\n"));
    texto.replace(QStringLiteral("orden = +{V_MV_PRECIOSHIS.IDHIS}"),
                  QStringLiteral("orden = -{V_MA_ARTICULOS.IDFAMILIA}, +{V_MV_PRECIOSHIS.IDHIS}"));
    const auto rep = ReportePreparado::preparar(LectorPlantilla::leerTexto(texto), {});
    const FuenteDatos fuente = base.fuente();
    auto filas = rep->abrir(fuente, true);
    const QList<PaginaReporte> todas = Paginador::componer(*rep, *filas);
    ASSERT_GE(todas.size(), 4);
    IndicePaginas indice(*rep);
    indice.abrir(fuente);
    indice.completar();
    ASSERT_TRUE(indice.valido());
    ASSERT_EQ(todas.size(), indice.paginas());
    for (int n = 2; n <= indice.paginas(); ++n) {
        const PaginaReporte p = indice.componer(fuente, n);
        EXPECT_EQ(todas.at(n - 1).filas, p.filas) << n;
        ASSERT_EQ(todas.at(n - 1).elementos.size(), p.elementos.size()) << n;
        for (qsizetype i = 0; i < p.elementos.size(); ++i)
            EXPECT_EQ(todas.at(n - 1).elementos.at(i).texto, p.elementos.at(i).texto) << n;
    }
}
