#include "suite/ArchivoRegular.h"
#include "suite/ArchivoIni.h"
#include "suite/Texto1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using rp::suite::ArchivoIni;
using rp::suite::FalloArchivo;
using rp::suite::leerArchivoRegular;

// A FIFO, a link to a device or an oversized file in the program folder is
// refused at once: the settings read their defaults instead of hanging or
// filling the memory.
TEST(ArchivoRegular, SoloArchivosRegularesDeTamanoAcotado) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("DA000va.INI"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString cero = dir.filePath(QStringLiteral("BASES.TXT"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), cero));
    const QString normal = dir.filePath(QStringLiteral("normal.ini"));
    {
        QFile f(normal);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Caja1]\r\nFlatToolbars=0\r\n");
    }

    FalloArchivo fallo;
    EXPECT_FALSE(leerArchivoRegular(fifo, 1000, &fallo));
    EXPECT_EQ(fallo, FalloArchivo::NoEsArchivo);
    EXPECT_FALSE(leerArchivoRegular(cero, 1000, &fallo));
    EXPECT_EQ(fallo, FalloArchivo::NoEsArchivo);
    EXPECT_FALSE(leerArchivoRegular(normal, 10, &fallo));
    EXPECT_EQ(fallo, FalloArchivo::DemasiadoGrande);
    EXPECT_FALSE(leerArchivoRegular(dir.filePath(QStringLiteral("no")), 10, &fallo));
    EXPECT_EQ(fallo, FalloArchivo::NoSeAbre);
    ASSERT_TRUE(leerArchivoRegular(normal, 1000));
    EXPECT_EQ(leerArchivoRegular(normal, 1000)->size(), 25);

    EXPECT_EQ(ArchivoIni::LeerIni(fifo, QStringLiteral("Caja1"), QStringLiteral("FlatToolbars"),
                                  QStringLiteral("1")),
              QStringLiteral("1"));
    EXPECT_EQ(ArchivoIni::LeerIni(normal, QStringLiteral("Caja1"), QStringLiteral("FlatToolbars"),
                                  QStringLiteral("1")),
              QStringLiteral("0"));
    EXPECT_FALSE(rp::suite::Texto1252::leerArchivo(cero));
}
