#include "report/engine/ErrorMotor.h"
#include "report/engine/LectorPlantilla.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace rp::motor;

namespace {

QString error(const char* texto) {
    try {
        LectorPlantilla::leerTexto(QString::fromUtf8(texto), QStringLiteral("x.rpt"));
    } catch (const ErrorMotor& e) {
        return e.texto();
    }
    return QStringLiteral("(sin error)");
}

const char* minima = "[origen]\nconsulta = dbo.T\n[columna]\nvalor = {T.A}\n";

} // namespace

TEST(LectorPlantilla, ErroresConLineaYColumna) {
    EXPECT_EQ("x.rpt:1:1: sección desconocida: [otra]", error("[otra]\n").toStdString());
    EXPECT_EQ("x.rpt:2:3: falta ']'", error("\n  [origen\n").toStdString());
    EXPECT_EQ("x.rpt:1:1: clave fuera de sección", error("a = b\n").toStdString());
    EXPECT_EQ("x.rpt:2:1: se esperaba 'clave = valor'",
              error("[origen]\nconsulta\n").toStdString());
    EXPECT_EQ("x.rpt:2:1: clave desconocida en [origen]: tabla",
              error("[origen]\ntabla = x\n").toStdString());
    EXPECT_EQ("x.rpt:2:9: valor no válido para papel: A3",
              error("[informe]\npapel = A3\n").toStdString());
    EXPECT_EQ("x.rpt:2:12: valor no válido para margenes: 1, 2",
              error("[informe]\nmargenes = 1, 2\n").toStdString());
    EXPECT_EQ("x.rpt:5:1: sección repetida: [origen]",
              error((QString::fromUtf8(minima) + "[origen]\n").toUtf8().constData()).toStdString());
    EXPECT_EQ("x.rpt:5:1: falta la sección [origen]",
              error("[columna]\nvalor = {T.A}\n\n\n").toStdString());
    EXPECT_EQ("x.rpt:3:1: la plantilla no tiene columnas",
              error("[origen]\nconsulta = T\n").toStdString());
    EXPECT_EQ("x.rpt:3:1: la columna no tiene 'valor'",
              error("[origen]\nconsulta = T\n[columna]\ntitulo = A\n").toStdString());
}

TEST(LectorPlantilla, ErroresDeFormulaEnSuLugarDelArchivo) {
    // The end of line 4, after the "+".
    EXPECT_EQ("x.rpt:4:16: se esperaba un valor y se encontró fin de la fórmula",
              error("[origen]\nconsulta = T\n[columna]\nvalor = {T.A} +\n").toStdString());
    // An error on a continuation line keeps that line's own columns.
    EXPECT_EQ("x.rpt:5:7: carácter no válido: $",
              error("[origen]\nconsulta = T\n[columna]\nvalor = {T.A} +\n      $\n").toStdString());
    EXPECT_EQ("x.rpt:4:16: falta '}' al final del campo",
              error("[origen]\nconsulta = T\n[columna]\ntitulo = Total {@X\nvalor = {T.A}\n")
                  .toStdString());
    EXPECT_EQ("x.rpt:2:5: fecha no válida",
              error("[formulas]\nX = Date(2024,13,1)\n").toStdString());
    EXPECT_EQ("x.rpt:2:1: nombre de fórmula no válido: 1X",
              error("[formulas]\n1X = 'a'\n").toStdString());
}

TEST(LectorPlantilla, LeeSeccionesYValoresContinuados) {
    const Plantilla p = LectorPlantilla::leerTexto(
        QString::fromUtf8("\xEF\xBB\xBF# comentario\r\n"
                          "[informe]\r\n"
                          "orientacion = horizontal\r\n"
                          "margenes = 5, 6, 7, 8\r\n"
                          "letra = DejaVu Sans Mono, 9.5\r\n"
                          "[origen]\r\n"
                          "consulta = dbo.T with(nolock)\r\n"
                          "    LEFT JOIN dbo.U ON U.K = T.K\r\n"
                          "orden = +{T.A}, -{U.B}\r\n"
                          "[encabezado]\r\n"
                          "linea = izquierda | {@X} | Página {PageNumber}\r\n"
                          "[columna]\r\n"
                          "id = 3\r\n"
                          "valor = {T.A} * 2\r\n"
                          "alineacion = derecha\r\n"
                          "formato = numero:3\r\n"));
    EXPECT_TRUE(p.horizontal);
    EXPECT_EQ(8, p.margenIzquierdo);
    EXPECT_EQ("DejaVu Sans Mono", p.letra.toStdString());
    EXPECT_DOUBLE_EQ(9.5, p.tamanoLetra);
    EXPECT_EQ("dbo.T with(nolock)\n    LEFT JOIN dbo.U ON U.K = T.K",
              p.origen.consulta.toStdString());
    EXPECT_EQ(2, p.origen.ordenPorDefecto.size());
    ASSERT_EQ(1, p.encabezado.size());
    EXPECT_EQ("Página {PageNumber}", p.encabezado.at(0).derecha.fuente().toStdString());
    ASSERT_EQ(1, p.columnas.size());
    EXPECT_EQ("3", p.columnas.at(0).id.toStdString());
    EXPECT_EQ(FormatoColumna::Numero, p.columnas.at(0).formato.tipo);
    EXPECT_EQ(3, p.columnas.at(0).formato.decimales);
}

TEST(LectorPlantilla, LasPlantillasDelProgramaSeLeen) {
    for (const char* nombre :
         {"RP_CambioPreciosHIS", "RP_CambioPreciosHISFEcha", "RP_CambioPreciosHISFEchacosto"}) {
        SCOPED_TRACE(nombre);
        const Plantilla p = LectorPlantilla::leerArchivo(
            QStringLiteral(RP_SOURCE_DIR "/templates/") + QString::fromLatin1(nombre) + ".rpt");
        EXPECT_FALSE(p.columnas.isEmpty());
        EXPECT_FALSE(p.pie.isEmpty());
    }
}

TEST(LectorPlantilla, ArchivoInexistente) {
    try {
        LectorPlantilla::leerArchivo(QStringLiteral("/no/existe.rpt"));
        FAIL();
    } catch (const ErrorMotor& e) {
        EXPECT_EQ("no se puede abrir la plantilla: /no/existe.rpt", e.texto().toStdString());
    }
}

// Deep nesting in a template is refused with its place in the file instead of
// exhausting the stack; so are long operator chains, whose trees are as deep.
TEST(LectorPlantilla, FormulasDemasiadoAnidadasSeRechazanConSuLugar) {
    const int niveles = 100000;
    const QString inicio = QStringLiteral("[origen]\nconsulta = T\n[columna]\nvalor = ");
    const struct {
        QString formula;
        const char* lugar;
    } casos[] = {
        {QString(niveles, u'(') + u'1' + QString(niveles, u')'), "x.rpt:4:265:"},
        {QStringLiteral("not ").repeated(niveles) + QStringLiteral("true"), "x.rpt:4:1029:"},
        {QStringLiteral("-").repeated(niveles) + u'1', "x.rpt:4:264:"},
        {QStringLiteral("1").append(QStringLiteral("+1").repeated(niveles)), "x.rpt:4:520:"},
        {QStringLiteral("'a'").append(QStringLiteral(" & {T.A}").repeated(niveles)),
         "x.rpt:4:2053:"},
    };
    for (const auto& c : casos) {
        const QString texto = inicio + c.formula + u'\n';
        try {
            LectorPlantilla::leerTexto(texto, QStringLiteral("x.rpt"));
            ADD_FAILURE() << "accepted: " << c.lugar;
        } catch (const ErrorMotor& e) {
            EXPECT_EQ(e.texto().toStdString(),
                      std::string(c.lugar) + " fórmula demasiado anidada: más de 256 niveles");
        }
    }
    // A formula at the limit is accepted, and a deep tree is destroyed
    // without recursion.
    const int limite = kProfundidadMaximaFormula - 1;
    const Plantilla p = LectorPlantilla::leerTexto(inicio + QString(limite, u'(') + u'1' +
                                                       QString(limite, u')') + u'\n',
                                                   QStringLiteral("x.rpt"));
    EXPECT_EQ(p.columnas.size(), 1);
}

// Numbers that are not finite are refused like any other bad size.
TEST(LectorPlantilla, NumerosNoFinitosSeRechazan) {
    EXPECT_EQ("x.rpt:2:12: valor no válido para margenes: nan",
              error("[informe]\nmargenes = nan, 1, 1, 1\n").toStdString());
    EXPECT_EQ("x.rpt:2:12: valor no válido para margenes: NaN",
              error("[informe]\nmargenes = 1, NaN, 1, 1\n").toStdString());
    EXPECT_EQ(
        "x.rpt:5:9: valor no válido para ancho: -nan",
        error("[origen]\nconsulta = T\n[columna]\nvalor = {T.A}\nancho = -nan\n").toStdString());
}

// A template that is a FIFO or a link to a device is refused at once.
TEST(LectorPlantilla, SoloArchivosRegulares) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("R.rpt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString cero = dir.filePath(QStringLiteral("Z.rpt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), cero));
    for (const QString& ruta : {fifo, cero}) {
        try {
            LectorPlantilla::leerArchivo(ruta);
            ADD_FAILURE() << "read " << ruta.toStdString();
        } catch (const ErrorMotor& e) {
            EXPECT_EQ(e.texto(), QStringLiteral("no se puede abrir la plantilla: ") + ruta);
        }
    }
}
