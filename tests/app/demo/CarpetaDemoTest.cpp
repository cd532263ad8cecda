// Preparation of a demo program folder: complete, atomic, idempotent, and
// never overwriting what is already there.
#include "BaseSqlitePrueba.h"

#include "app/demo/CarpetaDemo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace rp::demo;
using namespace rp::demo::test;

namespace {

void escribir(const QString& ruta, const QByteArray& texto) {
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << ruta.toStdString();
    f.write(texto);
}

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A templates folder with two templates and a file that is not one.
struct Plantillas {
    QTemporaryDir dir;
    Plantillas() {
        escribir(dir.filePath("RP_CambioPreciosHIS.rpt"), "plantilla 1");
        escribir(dir.filePath("RP_CambioPreciosHISFEcha.RPT"), "plantilla 2");
        escribir(dir.filePath("notas.txt"), "no es plantilla");
    }
};

} // namespace

TEST(CarpetaDemo, PreparesAMissingFolderCompletely) {
    QTemporaryDir raiz;
    Plantillas p;
    const QString carpeta = raiz.filePath("programa/demo");
    CarpetaDemo demo(opcionesChicas());
    demo.setCarpetaPlantillas(p.dir.path());
    ASSERT_TRUE(demo.prepararCarpetaDemo(carpeta)) << demo.error().toStdString();
    EXPECT_TRUE(CarpetaDemo::carpetaLista(carpeta));
    const QDir d(carpeta);
    EXPECT_EQ(d.entryList(QDir::Files, QDir::Name),
              QStringList({"EMPRESA_DEMO.db", "KS_ESTADISTICAS.db", "RP_CambioPreciosHIS.rpt",
                           "RP_CambioPreciosHISFEcha.RPT"}));
    EXPECT_EQ(leer(d.filePath("RP_CambioPreciosHIS.rpt")), "plantilla 1");
    EXPECT_EQ(demo.creados().size(), 4);
    // No temporary folder is left beside it.
    EXPECT_EQ(QDir(raiz.filePath("programa"))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"demo"}));
    // The folder is readable by others as a normal folder.
    EXPECT_TRUE(QFileInfo(carpeta).permissions() & QFile::ReadOther);
    BaseSqlitePrueba db(d.filePath(CarpetaDemo::archivoEmpresa()));
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM V_MA_ARTICULOS").toLongLong(), 300);
}

TEST(CarpetaDemo, SecondPreparationChangesNothing) {
    QTemporaryDir raiz;
    Plantillas p;
    const QString carpeta = raiz.filePath("demo");
    CarpetaDemo demo(opcionesChicas());
    demo.setCarpetaPlantillas(p.dir.path());
    ASSERT_TRUE(demo.prepararCarpetaDemo(carpeta));
    const QString archivo = QDir(carpeta).filePath(CarpetaDemo::archivoEmpresa());
    {
        // The operator's own changes survive a second preparation.
        BaseSqlitePrueba db(archivo);
        ASSERT_TRUE(db.ejecutar("UPDATE TA_CONFIGURACION SET VALOR = 'Mi Empresa' WHERE CLAVE = "
                                "'NOMBRE'"));
    }
    const QString suma = DemoDatos::sumaDeControl(archivo);
    escribir(QDir(carpeta).filePath("RP_CambioPreciosHIS.rpt"), "modificada");
    CarpetaDemo otra(opcionesChicas(99));
    otra.setCarpetaPlantillas(p.dir.path());
    ASSERT_TRUE(otra.prepararCarpetaDemo(carpeta)) << otra.error().toStdString();
    EXPECT_TRUE(otra.creados().isEmpty());
    EXPECT_EQ(DemoDatos::sumaDeControl(archivo), suma);
    EXPECT_EQ(leer(QDir(carpeta).filePath("RP_CambioPreciosHIS.rpt")), "modificada");
}

TEST(CarpetaDemo, CompletesAHalfPreparedFolderWithoutOverwriting) {
    QTemporaryDir raiz;
    Plantillas p;
    const QString carpeta = raiz.filePath("demo");
    ASSERT_TRUE(QDir().mkpath(carpeta));
    const QDir d(carpeta);
    // Left by an interrupted preparation: a template, the statistics
    // database and a temporary file of the business database.
    escribir(d.filePath("RP_CambioPreciosHIS.rpt"), "del usuario");
    escribir(d.filePath(".EMPRESA_DEMO.db.tmp"), "a medio escribir");
    ASSERT_TRUE(DemoDatos().generarEstadisticas(d.filePath(CarpetaDemo::archivoEstadisticas())));
    EXPECT_FALSE(CarpetaDemo::carpetaLista(carpeta));

    CarpetaDemo demo(opcionesChicas());
    demo.setCarpetaPlantillas(p.dir.path());
    ASSERT_TRUE(demo.prepararCarpetaDemo(carpeta)) << demo.error().toStdString();
    EXPECT_TRUE(CarpetaDemo::carpetaLista(carpeta));
    EXPECT_EQ(demo.creados(),
              QStringList({"RP_CambioPreciosHISFEcha.RPT", CarpetaDemo::archivoEmpresa()}));
    EXPECT_EQ(leer(d.filePath("RP_CambioPreciosHIS.rpt")), "del usuario");
    EXPECT_FALSE(QFile::exists(d.filePath(".EMPRESA_DEMO.db.tmp")));
    BaseSqlitePrueba db(d.filePath(CarpetaDemo::archivoEmpresa()));
    EXPECT_EQ(db.valor("SELECT COUNT(*) FROM V_MV_PRECIOSHIS").toLongLong(), 6000);
}

TEST(CarpetaDemo, KeepsAnExistingBusinessDatabase) {
    QTemporaryDir raiz;
    const QString carpeta = raiz.filePath("demo");
    ASSERT_TRUE(QDir().mkpath(carpeta));
    const QString archivo = QDir(carpeta).filePath(CarpetaDemo::archivoEmpresa());
    escribir(archivo, "base del usuario");
    CarpetaDemo demo(opcionesChicas());
    demo.setCarpetaPlantillas(raiz.filePath("sin-plantillas"));
    ASSERT_TRUE(demo.prepararCarpetaDemo(carpeta));
    EXPECT_EQ(demo.creados(), QStringList({CarpetaDemo::archivoEstadisticas()}));
    EXPECT_EQ(leer(archivo), "base del usuario");
}

TEST(CarpetaDemo, RefusesWhatIsNotAFolder) {
    QTemporaryDir raiz;
    const QString archivo = raiz.filePath("demo");
    escribir(archivo, "x");
    CarpetaDemo demo(opcionesChicas());
    EXPECT_FALSE(demo.prepararCarpetaDemo(archivo));
    EXPECT_FALSE(demo.error().isEmpty());
    EXPECT_EQ(leer(archivo), "x");
    EXPECT_FALSE(demo.prepararCarpetaDemo(QString()));
}

TEST(CarpetaDemo, FailedPreparationLeavesNoFolder) {
    QTemporaryDir raiz;
    // A folder that cannot be written: its parent is a file.
    escribir(raiz.filePath("archivo"), "x");
    CarpetaDemo demo(opcionesChicas());
    EXPECT_FALSE(demo.prepararCarpetaDemo(raiz.filePath("archivo/demo")));
    EXPECT_FALSE(CarpetaDemo::carpetaLista(raiz.filePath("archivo/demo")));
}

TEST(CarpetaDemo, DefaultFolderAndNames) {
    EXPECT_TRUE(CarpetaDemo::carpetaPorDefecto().endsWith("/demo"));
    EXPECT_EQ(CarpetaDemo::archivoEmpresa(), CarpetaDemo::nombreBaseDeDatos() + ".db");
    EXPECT_EQ(CarpetaDemo::archivoEstadisticas(), "KS_ESTADISTICAS.db");
}
