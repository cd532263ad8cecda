#include "startup/ParametrosLanzamiento.h"

#include <gtest/gtest.h>

using rp::startup::NormalizarServidor;
using rp::startup::ParametrosLanzamiento;

namespace {
ParametrosLanzamiento leer(const QString& s) {
    return ParametrosLanzamiento::leer(s, {});
}
} // namespace

TEST(ParametrosLanzamiento, ReadsTheSuiteLaunchString) {
    const auto p = leer("@server=SRV01; @dbname= VENTAS; @usuario= ANA; @ParametroAdicional=; "
                        "@Caja=3;quim@");
    EXPECT_EQ(p.servidor, "SRV01");
    EXPECT_EQ(p.baseDatos, "VENTAS");
    EXPECT_EQ(p.usuario, "ANA");
    EXPECT_EQ(p.password, "");
    EXPECT_EQ(p.parametroAdicional, "");
    EXPECT_EQ(p.caja, "3");
}

TEST(ParametrosLanzamiento, KeysInAnyCaseAndBlanksAroundSeparators) {
    const auto p = leer("@SERVER = SRV02 ; @DBNAME=x=y ; @PASSWORD= s3cr3t ;@usuario=JOSE;");
    EXPECT_EQ(p.servidor, "SRV02");
    EXPECT_EQ(p.baseDatos, "xy"); // every "=" is dropped
    EXPECT_EQ(p.password, "s3cr3t");
    EXPECT_EQ(p.usuario, "JOSE");
}

TEST(ParametrosLanzamiento, UsuarioFindsTheStartOfUsuarioLogeado) {
    // The launcher writes "@usuario=" before "@UsuarioLogeado"...
    auto p = leer("@usuario=ANA; quim@ ;@UsuarioLogeado=PEDRO;");
    EXPECT_EQ(p.usuario, "ANA");
    EXPECT_EQ(p.usuarioLogeado, "PEDRO");
    // ...otherwise the first occurrence is the logged-on user's entry.
    p = leer("@UsuarioLogeado=PEDRO; @usuario=ANA;");
    EXPECT_EQ(p.usuario, "LogeadoPEDRO");
}

TEST(ParametrosLanzamiento, AbsentAndUnterminatedKeys) {
    auto p = leer("");
    EXPECT_EQ(p.caja, "1");
    EXPECT_EQ(p.servidor, "");

    ParametrosLanzamiento anterior;
    anterior.caja = "9";
    anterior.menu = "M";
    p = ParametrosLanzamiento::leer("@server=S; @Menu=X", anterior);
    EXPECT_EQ(p.menu, "M"); // no ";" after it: keeps what it had

    p = leer("@server=S; @Caja=2");
    EXPECT_EQ(p.caja, ""); // not "1"

    p = leer("@server=S; @ParametroAdicional=abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(p.parametroAdicional, "abcdefghijklmnopqr"); // 19 characters, "=" removed
    p = leer("@server=S; @Password=secret");
    EXPECT_EQ(p.password, "");
}

TEST(NormalizarServidor, ReducesToTheHostName) {
    EXPECT_EQ(NormalizarServidor("SRV01"), "SRV01");
    EXPECT_EQ(NormalizarServidor("tcp/SRV01:1433"), "SRV01");
    EXPECT_EQ(NormalizarServidor("SRV01:1433"), "SRV01");
    EXPECT_EQ(NormalizarServidor("a/b/c"), "b/c");
    EXPECT_EQ(NormalizarServidor("SRV1\\INST"), "SRV1\\INST");
    EXPECT_EQ(NormalizarServidor("#ORCL"), "#ORCL");
    EXPECT_EQ(NormalizarServidor(""), "");
}
