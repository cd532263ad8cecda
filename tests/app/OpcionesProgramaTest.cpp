#include "app/OpcionesPrograma.h"

#include <gtest/gtest.h>

using rp::app::OpcionesPrograma;

namespace {

std::optional<OpcionesPrograma> leer(const QStringList& args, QString* err = nullptr) {
    QString e;
    auto o = OpcionesPrograma::leer(args, e);
    if (err)
        *err = e;
    return o;
}

} // namespace

TEST(OpcionesPrograma, OptionsThenLaunchStringJoinedWithBlanks) {
    auto o = leer({"--demo", "--batch", "--program-folder", "/srv/rp", "@server=SRV01;",
                   "@dbname=", "VENTAS;", "@Caja=3;quim@"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->demo);
    EXPECT_TRUE(o->lote);
    EXPECT_EQ(o->carpetaPrograma, "/srv/rp");
    EXPECT_EQ(o->parametros, "@server=SRV01; @dbname= VENTAS; @Caja=3;quim@");
}

TEST(OpcionesPrograma, InlineValuesRepeatedFieldsAndColumns) {
    auto o = leer({"--query=SELECT 1", "--trace-sql", "t.log"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->consulta.value(), "SELECT 1");
    EXPECT_EQ(o->trazaSql, "t.log");

    o = leer({"--export", "out.CSV", "--tab", "1", "--field", "Lista=1", "--field",
              "Fecha=31/12/2024", "--columns", "0,2,5", "--price", "3", "--order=1"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->pestana.value(), 1);
    ASSERT_EQ(o->campos.size(), 2);
    EXPECT_EQ(o->campos[1].first, "Fecha");
    EXPECT_EQ(o->campos[1].second, "31/12/2024");
    EXPECT_EQ(o->columnas.value(), QList<int>({0, 2, 5}));
    EXPECT_EQ(o->precio.value(), 3);
    EXPECT_EQ(o->orden.value(), 1);
}

TEST(OpcionesPrograma, DoubleDashEndsOptions) {
    auto o = leer({"--batch", "--", "--demo"});
    ASSERT_TRUE(o);
    EXPECT_FALSE(o->demo);
    EXPECT_EQ(o->parametros, "--demo");
}

TEST(OpcionesPrograma, BadCommandLinesAreRejectedWithAReason) {
    QString err;
    EXPECT_FALSE(leer({"--nope"}, &err));
    EXPECT_TRUE(err.contains("--nope"));
    EXPECT_FALSE(leer({"--tab", "x"}, &err));
    EXPECT_FALSE(leer({"--trace-sql"}, &err));
    EXPECT_TRUE(err.contains("valor"));
    EXPECT_FALSE(leer({"--field", "=x"}, &err));
    EXPECT_FALSE(leer({"--columns", "1,a"}, &err));
    EXPECT_FALSE(leer({"--export", "out.txt"}, &err));
    EXPECT_FALSE(leer({"--demo=1"}, &err));
    EXPECT_FALSE(leer({"--export", "a.pdf", "--query", "SELECT 1"}, &err));
}

namespace {

TEST(OpcionesPrograma, LookupAndItsSearch) {
    QString err0;
    auto o = OpcionesPrograma::leer(
        {"--demo", "--batch", "--lookup", "vt_proveedores", "--lookup-search=O'B"}, err0);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->consultaCampo, std::optional<QString>("vt_proveedores"));
    EXPECT_EQ(o->textoConsulta, std::optional<QString>("O'B"));
    QString err;
    EXPECT_FALSE(OpcionesPrograma::leer({"--lookup-search", "x"}, err));
    EXPECT_TRUE(err.contains("--lookup"));
    EXPECT_FALSE(OpcionesPrograma::leer({"--lookup", "USUARIO", "--query", "SELECT 1"}, err));
}

} // namespace

// Values are taken as they stand, even when they look like options; a launch
// string may start with a single dash; an empty inline value is a value.
TEST(OpcionesPrograma, ValuesAndLaunchStringsThatLookLikeOptions) {
    auto o = leer({"--query", "--demo", "--field=Lista=1", "-x", "--batch"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->consulta.value(), "--demo");
    EXPECT_FALSE(o->demo);
    ASSERT_EQ(o->campos.size(), 1);
    EXPECT_EQ(o->campos[0].second, "1");
    EXPECT_FALSE(o->lote);
    EXPECT_EQ(o->parametros, "-x --batch");

    o = leer({"--query=", "--tab", "-2"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->consulta.value(), "");
    EXPECT_EQ(o->pestana.value(), -2);

    QString err;
    EXPECT_FALSE(leer({"--batch", "--bogus=1", "@Server=x;"}, &err));
    EXPECT_EQ(err, "opción desconocida: --bogus");
    EXPECT_FALSE(leer({"--version=2"}, &err));
    EXPECT_EQ(err, "la opción --version no lleva valor");
}
