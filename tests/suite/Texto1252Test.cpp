#include "suite/Texto1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using rp::suite::Texto1252;

TEST(Texto1252, SpanishCharactersTakeOneByteEach) {
    const QString texto = QString::fromUtf8("áéíóúñÑü¿¡ºª");
    const QByteArray esperado("\xE1\xE9\xED\xF3\xFA\xF1\xD1\xFC\xBF\xA1\xBA\xAA");
    EXPECT_EQ(Texto1252::codificar(texto), esperado);
    EXPECT_EQ(Texto1252::decodificar(esperado), texto);
}

TEST(Texto1252, Bytes80To9FFollowTheCodePage) {
    const QString texto = QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    const QByteArray esperado("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92"
                              "\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F");
    EXPECT_EQ(Texto1252::codificar(texto), esperado);
    EXPECT_EQ(Texto1252::decodificar(esperado), texto);
}

TEST(Texto1252, EveryByteRoundTrips) {
    QByteArray todos;
    for (int i = 0; i < 256; ++i)
        todos += static_cast<char>(i);
    const QString texto = Texto1252::decodificar(todos);
    EXPECT_EQ(texto.size(), 256);
    EXPECT_EQ(Texto1252::codificar(texto), todos);
}

TEST(Texto1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Texto1252::codificar(QString::fromUtf8("a\u4E2Db\U0001F600c")), QByteArray("a?b?c"));
    EXPECT_FALSE(Texto1252::representable(QChar(0x4E2D)));
    EXPECT_TRUE(Texto1252::representable(QChar(0x20AC)));
}

TEST(Texto1252, FilesAreWrittenAndAppendedInTheCodePage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ruta = dir.filePath("a.txt");
    ASSERT_TRUE(Texto1252::escribirArchivo(ruta, QString::fromUtf8("año\r\n")));
    ASSERT_TRUE(Texto1252::agregarLinea(ruta, QString::fromUtf8("€1")));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("a\xF1o\r\n\x80\x31\r\n"));
    EXPECT_EQ(Texto1252::leerArchivo(ruta), QString::fromUtf8("año\r\n€1\r\n"));
    EXPECT_FALSE(Texto1252::leerArchivo(dir.filePath("no.txt")).has_value());
    EXPECT_FALSE(Texto1252::agregarLinea(dir.filePath("no/existe.txt"), "x"));
    EXPECT_FALSE(Texto1252::escribirArchivo(dir.filePath("no/existe.txt"), "x"));
}
