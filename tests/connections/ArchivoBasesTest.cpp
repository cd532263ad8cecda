// Reading the connection list "BASES.TXT".
#include "connections/ArchivoBases.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using rp::connections::ArchivoBases;
using rp::connections::EntradaBase;

namespace {

ArchivoBases::Lectura leerTexto(const QByteArray& bytes) {
    return ArchivoBases::interpretar(bytes);
}

} // namespace

TEST(ArchivoBasesCampos, PlainLinesGiveFiveFieldsEach) {
    const auto l = leerTexto("VENTAS / SRV01,Ventas,Ventas,abc,srv01\r\n"
                             "STOCK / SRV02:1500,Stock,Stock,def,srv02:1500\r\n");
    EXPECT_TRUE(l.existe);
    EXPECT_FALSE(l.error.has_value());
    ASSERT_EQ(l.entradas.size(), 2u);
    EXPECT_EQ(l.entradas[0], (EntradaBase{"VENTAS / SRV01", "Ventas", "Ventas", "abc", "srv01"}));
    EXPECT_EQ(l.entradas[1].servidor, "srv02:1500");
}

TEST(ArchivoBasesCampos, LeadingBlanksAreSkippedTrailingOnesKept) {
    const auto l = leerTexto("  A , B,\tC,D  ,  E \r\n");
    ASSERT_EQ(l.entradas.size(), 1u);
    EXPECT_EQ(l.entradas[0], (EntradaBase{"A ", "B", "C", "D  ", "E "}));
}

TEST(ArchivoBasesCampos, QuotedFieldsKeepCommasAndDropWhatFollowsTheQuote) {
    const auto l = leerTexto("\"A, B\",\"  Db \",\"\",x\"y\",  \"srv\" junk\r\n");
    ASSERT_EQ(l.entradas.size(), 1u);
    // A quote in the middle of an unquoted field is just a character.
    EXPECT_EQ(l.entradas[0], (EntradaBase{"A, B", "  Db ", "", "x\"y\"", "srv"}));
}

TEST(ArchivoBasesCampos, UnclosedQuoteEndsAtTheLineEnd) {
    const auto l = leerTexto("\"A,B,C,D,E\r\nK,D,U,P,S\r\n");
    // The first line is one field; the next entry borrows four from line two.
    ASSERT_EQ(l.entradas.size(), 1u);
    EXPECT_EQ(l.entradas[0], (EntradaBase{"A,B,C,D,E", "K", "D", "U", "P"}));
    ASSERT_TRUE(l.error.has_value());
    EXPECT_EQ(l.error->number, 62);
}

TEST(ArchivoBasesCampos, ShortAndLongLinesShiftTheFieldsThatFollow) {
    // A comma inside an unquoted value makes six fields: every later field moves.
    const auto l = leerTexto("A,Db,U,P,srv,extra\r\nB,Db2,U2,P2,srv2\r\n");
    ASSERT_EQ(l.entradas.size(), 2u);
    EXPECT_EQ(l.entradas[1].clave, "extra");
    EXPECT_EQ(l.entradas[1].servidor, "P2");
    ASSERT_TRUE(l.error.has_value()); // "srv2" is left over
    EXPECT_EQ(l.error->number, 62);

    const auto corta = leerTexto("A,Db,U\r\nB,Db2,U2,P2,srv2\r\n");
    ASSERT_EQ(corta.entradas.size(), 1u);
    EXPECT_EQ(corta.entradas[0], (EntradaBase{"A", "Db", "U", "B", "Db2"}));
    EXPECT_TRUE(corta.error.has_value());
}

TEST(ArchivoBasesCampos, ShortLastEntryIsAnErrorAfterTheCompleteOnes) {
    const auto l = leerTexto("A,Db,U,P,srv\r\nB,Db2\r\n");
    ASSERT_EQ(l.entradas.size(), 1u);
    EXPECT_EQ(l.entradas[0].clave, "A");
    ASSERT_TRUE(l.error.has_value());
    EXPECT_EQ(l.error->number, ArchivoBases::kErrorFinDeArchivo);
    EXPECT_EQ(l.error->description, "Input past end of file");
}

TEST(ArchivoBasesCampos, EmptyFieldsLineEndsAndBlankLines) {
    // Empty fields between commas and at the line end; LF and CR line ends;
    // blank lines and a missing last line end.
    const auto l = leerTexto(",,,,\r\n\r\n   \r\nK,D,U,P,S\nL,D,U,P,S\rM,D,U,P,S");
    ASSERT_EQ(l.entradas.size(), 4u);
    EXPECT_EQ(l.entradas[0], (EntradaBase{"", "", "", "", ""}));
    EXPECT_EQ(l.entradas[1].clave, "K");
    EXPECT_EQ(l.entradas[2].clave, "L");
    EXPECT_EQ(l.entradas[3].servidor, "S");
    EXPECT_FALSE(l.error.has_value());

    const auto coma = leerTexto("K,D,U,P,");
    ASSERT_EQ(coma.entradas.size(), 1u);
    EXPECT_EQ(coma.entradas[0].servidor, "");
}

TEST(ArchivoBasesCampos, EmptyContentHasNoEntries) {
    for (const QByteArray& b : {QByteArray(), QByteArray("\r\n"), QByteArray("  \r\n\r\n")}) {
        const auto l = leerTexto(b);
        EXPECT_TRUE(l.entradas.empty());
        EXPECT_FALSE(l.error.has_value());
    }
}

TEST(ArchivoBasesCampos, Windows1252TextAndOddBytesNeverFail) {
    const auto l = leerTexto("A\xd1O / SRV,Compa\xf1\xed"
                             "a,U,\x80\x81\x8d,srv\r\n");
    ASSERT_EQ(l.entradas.size(), 1u);
    EXPECT_EQ(l.entradas[0].clave, QString::fromUtf8("AÑO / SRV"));
    EXPECT_EQ(l.entradas[0].baseDatos, QString::fromUtf8("Compañía"));
    EXPECT_EQ(l.entradas[0].password.at(0), QChar(0x20AC));

    // Arbitrary bytes, NULs included: no crash, whole entries only.
    QByteArray basura;
    for (int i = 0; i < 4096; ++i) {
        basura.append(static_cast<char>((i * 131 + 7) % 256));
    }
    const auto b = leerTexto(basura);
    EXPECT_TRUE(b.existe);
    (void)b.entradas.size();
}

TEST(ArchivoBasesArchivo, PathIsTheProgramFolderPlusBasesTxt) {
    EXPECT_EQ(ArchivoBases::ruta("/opt/rp"), "/opt/rp/BASES.TXT");
    EXPECT_EQ(ArchivoBases::ruta("/opt/rp/"), "/opt/rp/BASES.TXT");
}

TEST(ArchivoBasesArchivo, MissingFileIsNoErrorAndUnreadableOneIs) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto falta = ArchivoBases::leer(dir.filePath("BASES.TXT"));
    EXPECT_FALSE(falta.existe);
    EXPECT_FALSE(falta.error.has_value());
    EXPECT_TRUE(falta.entradas.empty());

    // A folder in its place counts as missing.
    QDir(dir.path()).mkdir("OTRA");
    EXPECT_FALSE(ArchivoBases::leer(dir.filePath("OTRA")).existe);

    QFile f(dir.filePath("BASES.TXT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("A,B,C,D,E\r\n");
    f.close();
    const auto bien = ArchivoBases::leer(dir.filePath("BASES.TXT"));
    EXPECT_TRUE(bien.existe);
    EXPECT_EQ(bien.entradas.size(), 1u);
}
