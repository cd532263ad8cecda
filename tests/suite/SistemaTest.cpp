#include "suite/Aplicacion.h"
#include "suite/SistemaInfo.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using rp::suite::Aplicacion;
using rp::suite::SistemaInfo;

TEST(SistemaInfo, NamesTheWorkstationAndAWritableFolder) {
    EXPECT_FALSE(SistemaInfo::NombrePc().isEmpty());
    EXPECT_FALSE(SistemaInfo::NombreUsuarioPc().isEmpty());
    const QFileInfo carpeta(SistemaInfo::CarpetaSistema());
    EXPECT_TRUE(carpeta.isDir());
    EXPECT_TRUE(carpeta.isWritable());
}

TEST(Aplicacion, ProgramFolderAlwaysEndsWithASlash) {
    const QString exe = Aplicacion::carpetaEjecutable();
    EXPECT_TRUE(exe.endsWith('/'));
    EXPECT_TRUE(QFileInfo(exe).isDir());
    EXPECT_EQ(Aplicacion::carpetaPrograma(), exe);

    Aplicacion::establecerCarpetaPrograma("/opt/rp");
    EXPECT_EQ(Aplicacion::carpetaPrograma(), "/opt/rp/");
    Aplicacion::establecerCarpetaPrograma("  ");
    EXPECT_EQ(Aplicacion::carpetaPrograma(), exe);

    EXPECT_EQ(Aplicacion::nombreEjecutable(), "rp_tarifario");
    Aplicacion::establecerNombreEjecutable("otro");
    EXPECT_EQ(Aplicacion::nombreEjecutable(), "otro");
    Aplicacion::establecerNombreEjecutable("rp_tarifario");
}
