// CSV output and page layout.
#include "BaseDePrueba.h"

#include "report/engine/ContextoReporte.h"
#include "report/engine/EscritorCsv.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/LectorPlantilla.h"
#include "report/engine/Paginador.h"
#include "report/engine/ReportePreparado.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <iomanip>

using namespace rp::motor;

namespace {

// Workstation settings of the tests: day/month/year with "/", decimal comma.
struct RegionalFija : ::testing::Environment {
    void SetUp() override { rp::suite::Regional::establecer(rp::suite::Regional::espaniol()); }
};
const auto* regionalFija = ::testing::AddGlobalTestEnvironment(new RegionalFija);

std::shared_ptr<const ReportePreparado> preparar(const QString& plantilla,
                                                 const SolicitudReporte& s = SolicitudReporte()) {
    return ReportePreparado::preparar(LectorPlantilla::leerTexto(plantilla), s,
                                      QDateTime(QDate(2025, 2, 3), QTime(9, 5)));
}

// A data source of `n` generated rows (IDHIS 1..n), without a database.
FuenteDatos filasGeneradas(int n, QStringList textos = {}) {
    FuenteDatos f;
    f.consultar = [n, textos](const QString&) -> std::unique_ptr<rp::db::Cursor> {
        QList<QVariantList> filas;
        for (int i = 1; i <= n; ++i) {
            filas << QVariantList{i, textos.value(i - 1, QStringLiteral("art %1").arg(i)), i * 1.5,
                                  QVariant(), QDateTime(QDate(2024, 12, 31), QTime(10, i % 60))};
        }
        QList<rp::db::Field> campos;
        for (int i = 0; i < 5; ++i)
            campos << rp::db::Field{QStringLiteral("c%1").arg(i), rp::db::adtype::VarWChar, 0};
        return std::make_unique<rp::db::MemoryCursor>(campos, filas);
    };
    return f;
}

QString textoPagina(const PaginaReporte& p, int total) {
    QStringList t;
    for (const ElementoPagina& e : p.elementos) {
        if (e.tipo == ElementoPagina::Texto)
            t << ContextoReporte::sustituirTotal(e.texto, total);
    }
    return t.join('|');
}

} // namespace

TEST(EscritorCsv, CeldasRfc4180YFormulasNeutralizadas) {
    FormatoColumna texto;
    EXPECT_EQ("abc", EscritorCsv::celda("abc", texto).toStdString());
    // Padded codes as the page shows them.
    EXPECT_EQ("100", EscritorCsv::celda("                      100", texto).toStdString());
    EXPECT_EQ("A1", EscritorCsv::celda("A1  ", texto).toStdString());
    EXPECT_EQ("\"a,b\"", EscritorCsv::celda("a,b", texto).toStdString());
    EXPECT_EQ("\"di \"\"hola\"\"\"", EscritorCsv::celda("di \"hola\"", texto).toStdString());
    EXPECT_EQ("\"dos\r\nlineas\"", EscritorCsv::celda("dos\r\nlineas", texto).toStdString());
    for (const char* peligroso : {"=SUM(A1)", "+1", "-2+3", "@cmd", "\tx", "\rx"})
        EXPECT_EQ('\'', EscritorCsv::celda(QString::fromLatin1(peligroso), texto).remove('"').at(0))
            << peligroso;
    EXPECT_EQ("\"'=1,2\"", EscritorCsv::celda("=1,2", texto).toStdString());
    // Numbers are numbers: no apostrophe before a negative one.
    EXPECT_EQ("-1.5", EscritorCsv::celda(-1.5, texto).toStdString());
    FormatoColumna dos;
    dos.tipo = FormatoColumna::Numero;
    EXPECT_EQ("-1234.50", EscritorCsv::celda(-1234.5, dos).toStdString());
    FormatoColumna entero;
    entero.tipo = FormatoColumna::Entero;
    EXPECT_EQ("7", EscritorCsv::celda(qint64(7), entero).toStdString());
    EXPECT_EQ(
        "2024-12-31T10:30:00",
        EscritorCsv::celda(QDateTime(QDate(2024, 12, 31), QTime(10, 30)), texto).toStdString());
    FormatoColumna fecha;
    fecha.tipo = FormatoColumna::Fecha;
    EXPECT_EQ(
        "2024-12-31",
        EscritorCsv::celda(QDateTime(QDate(2024, 12, 31), QTime(10, 30)), fecha).toStdString());
    EXPECT_EQ("", EscritorCsv::celda(QVariant(), texto).toStdString());
}

// Dates and times are written as Qt writes them with the same formats, for
// years of fewer figures, the calendar's ends and any time of day.
TEST(EscritorCsv, FechasComoLasEscribeQt) {
    FormatoColumna texto, fecha;
    fecha.tipo = FormatoColumna::Fecha;
    QRandomGenerator azar(9);
    QList<QDateTime> momentos = {QDateTime(QDate(7, 1, 2), QTime(3, 4, 5)),
                                 QDateTime(QDate(999, 12, 31), QTime(23, 59, 59, 999)),
                                 QDateTime(QDate(9999, 12, 31), QTime(0, 0)),
                                 QDateTime(QDate(10000, 1, 1), QTime(1, 0)),
                                 QDateTime(QDate(-44, 3, 15), QTime(12, 0))};
    for (int i = 0; i < 2000; ++i)
        momentos << QDateTime(QDate(1, 1, 1).addDays(azar.bounded(3650000)),
                              QTime(0, 0).addMSecs(static_cast<int>(azar.bounded(86400000))));
    for (const QDateTime& m : momentos) {
        EXPECT_EQ(m.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")), EscritorCsv::celda(m, texto));
        EXPECT_EQ(m.date().toString(Qt::ISODate), EscritorCsv::celda(m, fecha));
        EXPECT_EQ(m.date().toString(Qt::ISODate), EscritorCsv::celda(m.date(), texto));
    }
}

// Numbers are written as the C locale writes them, byte for byte: exact
// ties (rounded away from zero), negative zero, huge and tiny values, and a
// large random sample of prices, integers and arbitrary bit patterns.
TEST(EscritorCsv, NumerosComoLosEscribeElLocaleC) {
    FormatoColumna texto, entero, numero;
    entero.tipo = FormatoColumna::Entero;
    numero.tipo = FormatoColumna::Numero;
    QRandomGenerator azar(4);
    QList<double> valores = {0.0,
                             -0.0,
                             0.5,
                             2.5,
                             -2.5,
                             0.125,
                             1.005,
                             2.675,
                             1e15,
                             1e16,
                             1e17,
                             1e21,
                             1e-5,
                             5e-324,
                             1e308,
                             -1e-20,
                             -0.001,
                             0.045,
                             100000000000000.5,
                             404679173788194.3125,
                             123456789012345.65};
    for (int i = 0; i < 20000; ++i) {
        double d = 0;
        switch (i % 4) {
        case 0:
            d = std::round(azar.generateDouble() * 1e7) / 1000.0;
            break;
        case 1:
            d = (azar.generateDouble() - 0.5) * std::pow(10.0, int(azar.bounded(40)) - 20);
            break;
        case 2:
            d = double(qint64(azar.generate64() >> 12)) / 8.0;
            break;
        default: {
            const quint64 bits = azar.generate64();
            std::memcpy(&d, &bits, sizeof d);
            if (!std::isfinite(d))
                d = 1;
        }
        }
        valores << d;
    }
    int distintos = 0;
    for (const double d : valores) {
        for (int decimales : {0, 1, 2, 3, 4}) {
            numero.decimales = decimales;
            if (EscritorCsv::celda(d, numero) != QLocale::c().toString(d, 'f', decimales) &&
                ++distintos < 5)
                ADD_FAILURE() << std::setprecision(17) << d << " with " << decimales;
        }
        if (EscritorCsv::celda(d, texto) != QLocale::c().toString(d, 'g', 15) && ++distintos < 5)
            ADD_FAILURE() << std::setprecision(17) << d << " general";
        if (EscritorCsv::celda(d, entero) != QLocale::c().toString(std::round(d), 'f', 0) &&
            ++distintos < 5)
            ADD_FAILURE() << std::setprecision(17) << d << " whole";
    }
    EXPECT_EQ(distintos, 0);
}

TEST(EscritorCsv, ArchivoConTitulosVisiblesDesdeLaBase) {
    prueba::BaseDePrueba base;
    SolicitudReporte s;
    s.formula = QStringLiteral("{V_MV_PRECIOSHIS.IDLISTA} = '1'");
    s.formulas[4] = QStringLiteral("OcultarColumnas = '1 - '");
    const auto rep = preparar(prueba::BaseDePrueba::textoHistorial(), s);
    const QString ruta = base.dir.filePath("salida.csv");
    EXPECT_EQ(2, EscritorCsv::escribirArchivo(*rep, base.fuente(), ruta));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ("Id,Descripción,Costo,Fecha\r\n"
              "1,Tornillo 10%,10.50,2024-12-30T10:00:00\r\n"
              "2,tuerca_fina,0.00,2024-12-31T00:00:00\r\n",
              QString::fromUtf8(f.readAll()).toStdString());
}

TEST(EscritorCsv, FallaLaConsultaYNoQuedaArchivo) {
    prueba::BaseDePrueba base;
    SolicitudReporte s;
    s.orden = {QStringLiteral("+{V_MA_ARTICULOS.NOEXISTE}")};
    const auto rep = preparar(prueba::BaseDePrueba::textoHistorial(), s);
    const QString ruta = base.dir.filePath("salida.csv");
    EXPECT_ANY_THROW(EscritorCsv::escribirArchivo(*rep, base.fuente(), ruta));
    EXPECT_FALSE(QFile::exists(ruta));
}

TEST(Paginador, EncabezadoEnCadaPaginaYPieConTotal) {
    const auto rep = preparar(prueba::BaseDePrueba::textoHistorial());
    Paginador medida(*rep);
    const int porPagina = medida.filasPorPagina();
    ASSERT_GT(porPagina, 20);
    const int filas = porPagina * 2 + 3;
    auto lector = rep->abrir(filasGeneradas(filas));
    int total = 0;
    const QList<PaginaReporte> paginas = Paginador::componer(*rep, *lector, &total);
    ASSERT_EQ(3, total);
    EXPECT_EQ(porPagina, paginas.at(0).filas);
    EXPECT_EQ(3, paginas.at(2).filas);
    for (const PaginaReporte& p : paginas) {
        const QString t = textoPagina(p, total);
        EXPECT_TRUE(t.startsWith("03/02/2025|Historial|Id|Descripción|Costo|Precio 1|Fecha|"))
            << t.left(80).toStdString();
        EXPECT_TRUE(t.contains(QStringLiteral("Página %1 de 3").arg(p.numero))) << p.numero;
    }
    // Numbers and dates in the workstation's form.
    EXPECT_TRUE(textoPagina(paginas.at(0), total).contains("|1|art 1|1,50|31/12/2024 10:01:00|"));
}

// A change column colours its cells by the arrow it shows, and a template
// that names a detail key gives every detail line its place and key.
TEST(Paginador, TonoDeLosCambiosYClaveDeCadaLinea) {
    QString t = prueba::BaseDePrueba::textoHistorial();
    t.replace("papel = A4\n", "papel = A4\ndetalle = {V_MV_PRECIOSHIS.IDHIS}\n");
    t += "[columna]\nvalor = {V_MV_PRECIOSHIS.COSTO} - 3\ntitulo = Var\nancho = 20\n"
         "formato = cambio:2\n";
    const auto rep = preparar(t);
    auto lector = rep->abrir(filasGeneradas(3)); // costs 1,5 3 4,5
    const PaginaReporte p = Paginador::componer(*rep, *lector).at(0);
    QStringList tonos;
    for (const ElementoPagina& e : p.elementos) {
        if (e.texto.contains(QStringLiteral("1,50")) || e.texto == QStringLiteral("0,00"))
            tonos << e.texto + QStringLiteral("=") + QString::number(e.tono);
    }
    EXPECT_EQ(tonos.join(' '), QStringLiteral("1,50=0 \u25BC -1,50=2 0,00=0 \u25B2 +1,50=1"));
    ASSERT_EQ(3, p.lineas.size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p.lineas.at(i).clave, QString::number(i + 1));
        const LineaDetalle* l = p.lineaEn(p.lineas.at(i).y + p.lineas.at(i).alto / 2);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->clave, QString::number(i + 1));
    }
    EXPECT_EQ(p.lineaEn(1.0), nullptr); // the header is no line
}

TEST(Paginador, SinFilasUnaPagina) {
    const auto rep = preparar(prueba::BaseDePrueba::textoHistorial());
    auto lector = rep->abrir(filasGeneradas(0));
    int total = 0;
    const auto paginas = Paginador::componer(*rep, *lector, &total);
    EXPECT_EQ(1, total);
    EXPECT_TRUE(textoPagina(paginas.at(0), 1).contains("Página 1 de 1"));
}

TEST(Paginador, ColumnasOcultasNoDejanHueco) {
    SolicitudReporte s;
    s.formulas[4] = QStringLiteral("OcultarColumnas = '0 - '");
    const auto rep = preparar(prueba::BaseDePrueba::textoHistorial(), s);
    const DisenoPagina d = DisenoPagina::calcular(*rep);
    ASSERT_EQ(4, d.columnas.size());
    EXPECT_DOUBLE_EQ(10, d.columnas.at(0).x);
    for (int i = 1; i < 4; ++i)
        EXPECT_DOUBLE_EQ(d.columnas.at(i - 1).x + d.columnas.at(i - 1).ancho, d.columnas.at(i).x);
    EXPECT_EQ(3, d.columnas.at(2).indice); // Precio 1 takes the place of Costo
    // The whole width is used: the room to spare went to the description.
    EXPECT_NEAR(d.derecha, d.columnas.last().x + d.columnas.last().ancho, 1e-9);
    EXPECT_GT(d.columnas.at(1).ancho, 40);
    // Numbers and dates get what their widest value needs, not the description's share.
    EXPECT_LT(d.columnas.at(2).ancho, 30);
}

TEST(Paginador, ApaisadaCuandoLasColumnasNoCabenDePie) {
    QString t = prueba::BaseDePrueba::textoHistorial();
    t.replace("ancho = 40", "ancho = 170");
    const auto rep = preparar(t);
    const DisenoPagina d = DisenoPagina::calcular(*rep);
    EXPECT_TRUE(d.horizontal);
    EXPECT_DOUBLE_EQ(297, d.anchoPapel);
    const auto& u = d.columnas.last();
    EXPECT_LE(u.x + u.ancho, d.derecha + 1e-9);
    EXPECT_GE(d.columnas.at(1).ancho, 170);
    // Template widths that fit stay on a portrait page.
    EXPECT_FALSE(
        DisenoPagina::calcular(*preparar(prueba::BaseDePrueba::textoHistorial())).horizontal);
}

TEST(Paginador, ColumnasMasAnchasQueLaHojaSeAchican) {
    QString t = prueba::BaseDePrueba::textoHistorial();
    t.replace("ancho = 40", "ancho = 400");
    const auto rep = preparar(t);
    const DisenoPagina d = DisenoPagina::calcular(*rep);
    const auto& u = d.columnas.last();
    EXPECT_NEAR(d.derecha, u.x + u.ancho, 1e-9);
}

TEST(Paginador, EncabezadoDeGrupoNuncaSoloAlPie) {
    QString t = prueba::BaseDePrueba::textoHistorial();
    t += "[grupo]\ncampo = {V_MA_ARTICULOS.DESCRIPCION}\ntitulo = Artículo "
         "{V_MA_ARTICULOS.DESCRIPCION}\n";
    const auto rep = preparar(t);
    const int porPagina = Paginador(*rep).filasPorPagina();
    // Groups of two rows: the header of a group never ends a page.
    QStringList textos;
    for (int i = 0; i < porPagina * 3; ++i)
        textos << QStringLiteral("g%1").arg(i / 2, 3, 10, QLatin1Char('0'));
    auto lector = rep->abrir(filasGeneradas(porPagina * 3, textos));
    const auto paginas = Paginador::componer(*rep, *lector);
    ASSERT_GT(paginas.size(), 3);
    for (const PaginaReporte& p : paginas) {
        // The last text of the detail area is never a group header.
        const ElementoPagina* ultimo = nullptr;
        for (const ElementoPagina& e : p.elementos) {
            if (e.tipo == ElementoPagina::Texto && !e.texto.contains("Página"))
                ultimo = &e;
        }
        ASSERT_TRUE(ultimo);
        EXPECT_FALSE(ultimo->texto.startsWith("Artículo g")) << p.numero;
    }
}

// A group with a footer, its field kept off the pages: the header once per
// group (again with "(continúa)" on a page the group goes on to), the
// footer with the group's row count right after its last row and never
// alone at the top of a page; the files keep flat rows in the request's
// order with every visible column.
TEST(Paginador, GruposConPieYCuentaYArchivosPlanos) {
    QString t = prueba::BaseDePrueba::textoHistorial();
    t.replace("titulo = Descripción\nancho = 40\n",
              "titulo = Descripción\nancho = 40\npagina = no\n");
    t += "[grupo]\ncampo = {V_MA_ARTICULOS.DESCRIPCION}\ntitulo = Artículo "
         "{V_MA_ARTICULOS.DESCRIPCION}\npie = Cambios: {GroupCount}\n";
    const auto rep = preparar(t);
    EXPECT_TRUE(rep->sentencia().endsWith("ORDER BY V_MV_PRECIOSHIS.IDHIS ASC"))
        << rep->sentencia().toStdString();
    EXPECT_TRUE(rep->sentenciaPaginas().endsWith(
        "ORDER BY V_MA_ARTICULOS.DESCRIPCION ASC, V_MV_PRECIOSHIS.IDHIS ASC"))
        << rep->sentenciaPaginas().toStdString();
    const int porPagina = Paginador(*rep).filasPorPagina();
    // Groups of 1, 2 and 3 rows, then one longer than a page; the codes carry
    // padding blanks, as the database stores them.
    QStringList textos;
    QList<int> tamanos{1, 2, 3, porPagina + 5, 2};
    for (int g = 0; g < tamanos.size(); ++g) {
        for (int i = 0; i < tamanos.at(g); ++i)
            textos << QStringLiteral("   g%1").arg(g);
    }
    auto lector = rep->abrir(filasGeneradas(static_cast<int>(textos.size()), textos), true);
    int total = 0;
    const auto paginas = Paginador::componer(*rep, *lector, &total);
    ASSERT_GE(total, 2);

    QList<int> cuentas;
    int continua = 0;
    for (const PaginaReporte& p : paginas) {
        QStringList detalle; // the texts below the column titles, footer line left out
        bool titulos = false;
        for (const ElementoPagina& e : p.elementos) {
            if (e.tipo != ElementoPagina::Texto || e.texto.contains("Página"))
                continue;
            if (titulos)
                detalle << e.texto;
            titulos = titulos || e.texto == "Fecha";
            // The description is in the group header only.
            EXPECT_FALSE(!e.negrita && e.texto.contains("g") && !e.texto.startsWith("Cambios"))
                << e.texto.toStdString();
        }
        ASSERT_FALSE(detalle.isEmpty());
        EXPECT_FALSE(detalle.first().startsWith("Cambios")) << p.numero;
        EXPECT_TRUE(detalle.first().startsWith("Artículo g")) << p.numero;
        for (const QString& d : detalle) {
            if (d.startsWith("Cambios: "))
                cuentas << d.mid(9).toInt();
            if (d.endsWith(" (continúa)")) {
                ++continua;
                EXPECT_EQ("Artículo g3 (continúa)", d.toStdString());
            }
        }
    }
    EXPECT_EQ(tamanos, cuentas);
    EXPECT_EQ(1, continua);

    // CSV: no group rows, the description column, the request's order.
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    auto plano = rep->abrir(filasGeneradas(static_cast<int>(textos.size()), textos));
    EXPECT_EQ(textos.size(), EscritorCsv::escribir(*rep, *plano, csv));
    const QStringList lineas = QString::fromUtf8(csv.data()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(textos.size() + 1, lineas.size());
    EXPECT_EQ("Id,Descripción,Costo,Precio 1,Fecha", lineas.at(0).toStdString());
    EXPECT_TRUE(lineas.at(1).startsWith("1,g0,")) << lineas.at(1).toStdString();
}
