#include "suite/ArchivoIni.h"

#include "suite/Aplicacion.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using rp::suite::Aplicacion;
using rp::suite::ArchivoIni;

namespace {

class ArchivoIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ruta_ = dir_.filePath("DA000va.INI");
        QFile f(ruta_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("; suite settings\r\n"
                "[PC07|ANA]\r\n"
                "FlatToolbars=0\r\n"
                "flattoolbars=9\r\n"
                "[PC07|ANABaseDeDatos]\r\n"
                "Servidor = SRV01 \r\n"
                "DbName=\"VENTAS\"\r\n"
                "Usuario=\r\n"
                "Nombre=Peque\xF1o\r\n");
    }

    QTemporaryDir dir_;
    QString ruta_;
};

} // namespace

TEST_F(ArchivoIniTest, ReadsValuesWithSectionAndKeyInAnyCase) {
    EXPECT_EQ(ArchivoIni::LeerIni(ruta_, "pc07|ana", "FLATTOOLBARS", "1"), "0");
    EXPECT_EQ(ArchivoIni::LeerIni(ruta_, "PC07|ANABaseDeDatos", "Servidor", ""), "SRV01");
    EXPECT_EQ(ArchivoIni::LeerIni(ruta_, "PC07|ANABaseDeDatos", "DbName", ""), "VENTAS");
    EXPECT_EQ(ArchivoIni::LeerIni(ruta_, "PC07|ANABaseDeDatos", "Usuario", "def"), "");
    EXPECT_EQ(ArchivoIni::LeerIni(ruta_, "PC07|ANABaseDeDatos", "Nombre", ""),
              QString::fromUtf8("Pequeño"));
}

TEST_F(ArchivoIniTest, MissingFileSectionOrKeyGiveTheDefault) {
    EXPECT_EQ(ArchivoIni::LeerIni(ruta_, "PC07|ANA", "Otra", "1"), "1");
    EXPECT_EQ(ArchivoIni::LeerIni(ruta_, "PC08|ANA", "FlatToolbars", "1"), "1");
    EXPECT_EQ(ArchivoIni::LeerIni(dir_.filePath("no.ini"), "PC07|ANA", "FlatToolbars", "d"), "d");
}

TEST_F(ArchivoIniTest, BareFileNamesAreInTheProgramFolder) {
    Aplicacion::establecerCarpetaPrograma(dir_.path());
    EXPECT_EQ(ArchivoIni::LeerIni("DA000va.INI", "PC07|ANA", "FlatToolbars", "1"), "0");
    Aplicacion::establecerCarpetaPrograma(QString());
}
