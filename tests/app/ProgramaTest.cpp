#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kPrograma = QStringLiteral(RP_BINARY_DIR "/src/app/rp_tarifario");

struct Corrida {
    int codigo = -1;
    QByteArray salida;
    QByteArray errores;
};

// The program as a user runs it, on one demo folder shared by the cases.
class Programa : public ::testing::Test {
protected:
    static void SetUpTestSuite() { carpeta_ = std::make_unique<QTemporaryDir>(); }
    static void TearDownTestSuite() { carpeta_.reset(); }

    static Corrida correr(QStringList args, const QString& archivoSalida = QString()) {
        QProcess p;
        if (!archivoSalida.isEmpty())
            p.setStandardOutputFile(archivoSalida);
        p.start(kPrograma, args);
        Corrida c;
        if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit)
            return c;
        c.codigo = p.exitCode();
        c.salida = p.readAllStandardOutput();
        c.errores = p.readAllStandardError();
        return c;
    }
    static QStringList demo() {
        return {QStringLiteral("--demo"), QStringLiteral("--program-folder"), carpeta_->path(),
                QStringLiteral("--batch")};
    }

    static std::unique_ptr<QTemporaryDir> carpeta_;
};

std::unique_ptr<QTemporaryDir> Programa::carpeta_;

// --query prints through the report engine's CSV writer: RFC 4180 quoting,
// a text that a spreadsheet would run as a formula gets a leading
// apostrophe, numbers stay as they are.
TEST_F(Programa, QueryPrintsGuardedCsv) {
    const Corrida c = correr(demo() << QStringLiteral("--query")
                                    << QStringLiteral("SELECT '=HYPERLINK(1)' AS a, -3 AS b, "
                                                      "'x,\"y' AS c, 2.5 AS d, NULL AS e"));
    ASSERT_EQ(0, c.codigo) << c.errores.toStdString();
    EXPECT_EQ(QByteArray("a,b,c,d,e\r\n'=HYPERLINK(1),-3,\"x,\"\"y\",2.5,\r\n"), c.salida);
}

// The README's exit codes: 1 when the statement fails or its rows cannot be
// written, 2 for a bad command line or program folder, 0 for --help.
TEST_F(Programa, ExitCodes) {
    Corrida c = correr(demo() << QStringLiteral("--query")
                              << QStringLiteral("SELECT * FROM NO_EXISTE_TABLA"));
    EXPECT_EQ(1, c.codigo);
    EXPECT_TRUE(c.salida.isEmpty());

    // A full disk: the rows are lost, so the run fails.
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        c = correr(demo() << QStringLiteral("--query") << QStringLiteral("SELECT 1 AS uno"),
                   QStringLiteral("/dev/full"));
        EXPECT_EQ(1, c.codigo) << c.errores.toStdString();
        EXPECT_TRUE(c.errores.contains("no se puede escribir")) << c.errores.toStdString();
    }

    c = correr({QStringLiteral("--no-such-option")});
    EXPECT_EQ(2, c.codigo);
    EXPECT_TRUE(c.errores.contains("--no-such-option")) << c.errores.toStdString();

    c = correr({QStringLiteral("--batch"), QStringLiteral("--program-folder"),
                carpeta_->filePath(QStringLiteral("no/existe"))});
    EXPECT_EQ(2, c.codigo);

    c = correr({QStringLiteral("--help")});
    EXPECT_EQ(0, c.codigo);
    EXPECT_TRUE(c.salida.contains("--query SQL"));
}

// The rest of the README's exit codes: 0 for a complete start-up health check
// and for a report with no rows (written with its header), 1 for a report
// that could not be written, 2 for a saved filter that is not there, 3 when
// the database cannot be opened, 4 when the start-up is not complete.
TEST_F(Programa, ExitCodesOfStartUpAndExport) {
    Corrida c = correr(demo());
    EXPECT_EQ(0, c.codigo) << c.errores.toStdString();
    EXPECT_TRUE(c.errores.contains("verificaciones de la base de datos completas"))
        << c.errores.toStdString();

    const QString vacio = carpeta_->filePath(QStringLiteral("vacio.csv"));
    c = correr(demo() << QStringLiteral("--export") << vacio << QStringLiteral("--tab")
                      << QStringLiteral("0") << QStringLiteral("--field")
                      << QStringLiteral("ListaDesde=999") << QStringLiteral("--field")
                      << QStringLiteral("ListaHasta=999") << QStringLiteral("--columns")
                      << QStringLiteral("0"));
    EXPECT_EQ(0, c.codigo) << c.errores.toStdString();
    QFile archivo(vacio);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    const QList<QByteArray> lineas = archivo.readAll().split('\n');
    EXPECT_TRUE(lineas.value(0).startsWith(QByteArray("Art\xc3\xad"
                                                      "culo,")))
        << lineas.value(0).toStdString();
    EXPECT_TRUE(lineas.value(1).isEmpty()) << "no row";

    c = correr(demo() << QStringLiteral("--export")
                      << carpeta_->filePath(QStringLiteral("no/hay/x.csv"))
                      << QStringLiteral("--tab") << QStringLiteral("0") << QStringLiteral("--field")
                      << QStringLiteral("ListaDesde=1") << QStringLiteral("--field")
                      << QStringLiteral("ListaHasta=1") << QStringLiteral("--columns")
                      << QStringLiteral("0"));
    EXPECT_EQ(1, c.codigo) << c.errores.toStdString();

    c = correr(demo() << QStringLiteral("--export") << carpeta_->filePath(QStringLiteral("x.csv"))
                      << QStringLiteral("--preset") << QStringLiteral("No existe"));
    EXPECT_EQ(2, c.codigo) << c.errores.toStdString();

    // The demo folder exists now: the same folder with other launch strings.
    const QStringList carpeta = {QStringLiteral("--program-folder"), carpeta_->path(),
                                 QStringLiteral("--batch")};
    c = correr(QStringList(carpeta) << QStringLiteral("@Server=sqlite; @DbName=NO_HAY; "
                                                      "@Usuario=demo; @Password=demo; @Caja=1;"));
    EXPECT_EQ(3, c.codigo) << c.errores.toStdString();
    c = correr(QStringList(carpeta)
               << QStringLiteral("@Server=sqlite; @Usuario=demo; @Password=demo; @Caja=1;"));
    EXPECT_EQ(4, c.codigo) << c.errores.toStdString();
}

} // namespace
