#include "startup/NombreReporte.h"

#include "../db/DbPrueba.h"
#include "suite/SistemaInfo.h"

#include <QDir>
#include <QFile>

namespace {

using rp::db::test::DbPrueba;
using rp::startup::ArchivosReporte;
using rp::startup::ExisteArchivo;
using rp::startup::NombreReporte;
using rp::startup::VerificaReporte;

const QString kReporte = QStringLiteral("RP_CambioPreciosHIS");

class NombreReporteTest : public DbPrueba {
protected:
    QString carpeta;

    void SetUp() override {
        DbPrueba::SetUp();
        carpeta = rp::suite::Aplicacion::carpetaPrograma();
        abrir();
        sql(QStringLiteral("CREATE TABLE TA_REPORTES (NOMBRE VARCHAR(200) PRIMARY KEY, Archivo "
                           "VARCHAR(255), Archivo2 VARCHAR(255), Archivo3 VARCHAR(255), Archivo4 "
                           "VARCHAR(255))"));
        sql(QStringLiteral("CREATE TABLE V_MV_CPTE_ELECTRONICOS (TC VARCHAR(10), IDCOMPROBANTE "
                           "VARCHAR(20), CAE VARCHAR(20))"));
        sql(QStringLiteral("CREATE TABLE V_TA_CPTE (Codigo VARCHAR(10), DESCRIPCION VARCHAR(100), "
                           "SISTEMA VARCHAR(50))"));
    }

    static QString puesto(const QString& nombre) {
        return rp::suite::SistemaInfo::NombrePc() + QLatin1Char('|') +
               rp::suite::SistemaInfo::NombreUsuarioPc() + QLatin1Char('|') + nombre;
    }
    void fila(const QString& nombre, const QString& a1, const QString& a2 = QString()) {
        QString n = nombre;
        n.replace(QLatin1Char('\''), QLatin1String("''"));
        sql(QStringLiteral("INSERT INTO TA_REPORTES (NOMBRE, Archivo, Archivo2) VALUES ('%1', "
                           "'%2', '%3')")
                .arg(n, a1, a2));
    }
    void plantilla(const QString& ruta) {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << ruta.toStdString();
        f.write("plantilla\n");
    }
};

TEST_F(NombreReporteTest, LaFilaDelPuestoGanaALaFilaPlanaYUnaOpcionLaSalta) {
    plantilla(carpeta + QStringLiteral("Puesto.rpt"));
    plantilla(carpeta + QStringLiteral("Plano.rpt"));
    fila(puesto(kReporte), QStringLiteral("Puesto"));
    fila(kReporte, QStringLiteral("Plano"));

    EXPECT_EQ(NombreReporte(kReporte), carpeta + QStringLiteral("Puesto.rpt"));
    EXPECT_EQ(NombreReporte(kReporte, QStringLiteral("X")), carpeta + QStringLiteral("Plano.rpt"));
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(NombreReporteTest, NombreSueltoYRutaCompleta) {
    plantilla(carpeta + QStringLiteral("Historial.rpt"));
    fila(kReporte, QStringLiteral("Historial"));
    EXPECT_EQ(NombreReporte(kReporte), carpeta + QStringLiteral("Historial.rpt"));

    QTemporaryDir otra;
    const QString ruta = otra.filePath(QStringLiteral("Otro.RPT"));
    plantilla(ruta);
    sql(QStringLiteral("UPDATE TA_REPORTES SET Archivo='%1'").arg(ruta));
    EXPECT_EQ(NombreReporte(kReporte), ruta);
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(NombreReporteTest, SinFilaNiPlantillaAvisaYTomaElFormularioDelReporte) {
    op.responderMensaje(rp::ui::vbOK);
    EXPECT_EQ(NombreReporte(kReporte), carpeta + kReporte + QStringLiteral(".rpt"));
    ASSERT_EQ(cajas().size(), 1);
    const auto caja = cajas().first();
    EXPECT_EQ(caja.titulo, QStringLiteral("Aviso al Operador"));
    EXPECT_EQ(caja.estilo, 16);
    EXPECT_EQ(caja.texto,
              QStringLiteral("No se encuentra el Archivo ") + carpeta + QStringLiteral(".rpt (") +
                  kReporte +
                  QString::fromUtf8(") por favor verifique la configuración de "
                                    "Reportes\r\n Se tomara en su lugar el formulario ") +
                  carpeta + kReporte + QStringLiteral(".rpt"));
}

TEST_F(NombreReporteTest, PlantillaConfiguradaInexistenteAvisaYCaeEnLaDelReporte) {
    plantilla(carpeta + kReporte + QStringLiteral(".rpt"));
    fila(kReporte, QStringLiteral("/no/existe/X.rpt"));
    op.responderMensaje(rp::ui::vbOK);
    EXPECT_EQ(NombreReporte(kReporte), carpeta + kReporte + QStringLiteral(".rpt"));
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_TRUE(cajas().first().texto.startsWith(
        QStringLiteral("No se encuentra el Archivo /no/existe/X.rpt (RP_CambioPreciosHIS)")));
}

TEST_F(NombreReporteTest, DocumentoDeCuatroLetrasUsaLaPlantillaDelTipo) {
    plantilla(carpeta + QStringLiteral("FA.RPT"));
    EXPECT_EQ(NombreReporte(QStringLiteral("FA-A"), QStringLiteral("X")),
              carpeta + QStringLiteral("FA.RPT"));
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(NombreReporteTest, TipoDeCompras) {
    plantilla(carpeta + QStringLiteral("CpteCompras.RPT"));
    sql(QStringLiteral("INSERT INTO V_TA_CPTE VALUES ('OCOMPRA', 'Orden', 'Compras')"));
    EXPECT_EQ(NombreReporte(QStringLiteral("OCOMPRA"), QStringLiteral("X")),
              carpeta + QStringLiteral("CpteCompras.RPT"));
}

TEST_F(NombreReporteTest, CopiasVaciasCopianLaAnteriorSoloEnLaFilaPlana) {
    plantilla(carpeta + QStringLiteral("Uno.rpt"));
    plantilla(carpeta + kReporte + QStringLiteral(".rpt"));
    fila(kReporte, QStringLiteral("Uno"));
    ArchivosReporte archivos;
    NombreReporte(kReporte, QString(), &archivos);
    for (const QString& a : archivos)
        EXPECT_EQ(a, carpeta + QStringLiteral("Uno.rpt"));

    sql(QStringLiteral("UPDATE TA_REPORTES SET NOMBRE='%1'").arg(puesto(kReporte)));
    NombreReporte(kReporte, QString(), &archivos);
    EXPECT_EQ(archivos[0], carpeta + QStringLiteral("Uno.rpt"));
    EXPECT_EQ(archivos[1], carpeta + kReporte + QStringLiteral(".rpt"));
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(NombreReporteTest, NombresConApostrofeNoRompenLaSentencia) {
    const QString nombre = QStringLiteral("RP_O'Neil");
    plantilla(carpeta + QStringLiteral("Oneil.rpt"));
    fila(nombre, QStringLiteral("Oneil"));
    EXPECT_EQ(NombreReporte(nombre, QStringLiteral("X")), carpeta + QStringLiteral("Oneil.rpt"));
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(NombreReporteTest, ExisteArchivoYVerificaReporte) {
    const QString ruta = carpeta + QStringLiteral("A.rpt");
    EXPECT_FALSE(ExisteArchivo(ruta));
    plantilla(ruta);
    EXPECT_TRUE(ExisteArchivo(ruta));
    EXPECT_TRUE(ExisteArchivo(QLatin1Char('"') + ruta + QLatin1Char('"')));
    EXPECT_FALSE(ExisteArchivo(QString()));
    EXPECT_FALSE(ExisteArchivo(carpeta));

    QString archivo = QStringLiteral("A");
    EXPECT_EQ(VerificaReporte(archivo, QStringLiteral("A")), ruta);
    EXPECT_EQ(archivo, ruta);
}

} // namespace
