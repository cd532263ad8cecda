#include "lookup/ArchivoConsultas.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using rp::lookup::ArchivoConsultas;
using rp::lookup::RegistroConsulta;

TEST(ArchivoConsultas, CreatesElevenRecordsOf1202BytesEndingInCrLf) {
    QTemporaryDir dir;
    const QString path = dir.filePath("consultas.kst");
    ASSERT_TRUE(ArchivoConsultas::crear(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    ASSERT_EQ(all.size(), 13222);
    for (int i = 0; i < 11; ++i) {
        const QByteArray rec = all.mid(i * 1202, 1202);
        EXPECT_EQ(rec.right(2), QByteArray("\r\n")) << i;
    }
    EXPECT_TRUE(all.startsWith("ARTICULOS "));
    EXPECT_EQ(all.mid(100, 15), QByteArray("V_MA_ARTICULOS "));
    EXPECT_EQ(all.mid(200, 25), QByteArray("|DESCRIPCION|IDARTICULO| "));
    const QByteArray last = all.mid(10 * 1202, 1202);
    EXPECT_TRUE(last.startsWith("DEPOSITO "));
    EXPECT_EQ(last.mid(100, 14), QByteArray("V_TA_DEPOSITO "));
    EXPECT_EQ(all.split('\n').size(), 12); // eleven text lines
}

TEST(ArchivoConsultas, FindsTheFirstRecordOfATableInAnyCase) {
    QTemporaryDir dir;
    const QString path = dir.filePath("consultas.kst");
    RegistroConsulta first{"A", "v_ma_articulos", "|CODIGO|", "X=1"};
    RegistroConsulta second{"B", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|", ""};
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(first.aBytes() + second.aBytes());
    f.close();

    auto r = ArchivoConsultas::buscar(path, "  V_MA_ARTICULOS ");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Titulo.trimmed(), "A");
    EXPECT_EQ(r->columnas(), QStringList({"CODIGO"}));
    EXPECT_EQ(r->Filtro.trimmed(), "X=1");
    EXPECT_FALSE(ArchivoConsultas::buscar(path, "VT_CLIENTES"));
    EXPECT_FALSE(ArchivoConsultas::buscar(dir.filePath("missing.kst"), "V_MA_ARTICULOS"));
}

TEST(ArchivoConsultas, AppendsAfterTheLastCompleteRecordOfATornFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("consultas.kst");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(RegistroConsulta{"X", "T", "|C|", ""}.aBytes() + QByteArray(300, 'z'));
    f.close();
    ASSERT_TRUE(ArchivoConsultas::crear(path));
    EXPECT_EQ(QFile(path).size(), 12 * 1202);
    auto r = ArchivoConsultas::buscar(path, "V_TA_DEPOSITO");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->columnas(), QStringList({"Descripcion", "IdDeposito"}));
}

TEST(ArchivoConsultas, SpanishTextIsStoredAsSingleBytes) {
    RegistroConsulta r{"AÑO", "T", "|DESCRIPCIÓN|", ""};
    const QByteArray b = r.aBytes();
    ASSERT_EQ(b.size(), 1202);
    EXPECT_EQ(static_cast<unsigned char>(b[1]), 0xD1);
    EXPECT_EQ(RegistroConsulta::desdeBytes(b).Titulo.trimmed(), "AÑO");
}
