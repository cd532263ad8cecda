#include "suite/Utilidades.h"

#include "suite/Regional.h"
#include "ui/OperadorGuion.h"

#include <QDate>
#include <QDateTime>
#include <gtest/gtest.h>

using rp::suite::CodErr;
using rp::suite::Regional;
using rp::suite::Utilidades;

namespace {

class UtilidadesTest : public ::testing::Test {
protected:
    void SetUp() override { Regional::establecer(Regional::espaniol()); }
    void TearDown() override { rp::ui::setOperador(nullptr); }
};

} // namespace

TEST_F(UtilidadesTest, TextoANumeroKeepsFourDecimalsAndGivesZeroForNonNumbers) {
    EXPECT_EQ(Utilidades::TextoANumero("12,50"), 12.5);
    EXPECT_EQ(Utilidades::TextoANumero("1,23456"), 1.2346);
    EXPECT_EQ(Utilidades::TextoANumero("-1,23457"), -1.2346);
    EXPECT_EQ(Utilidades::TextoANumero("1.500"), 1500.0);
    EXPECT_EQ(Utilidades::TextoANumero("abc"), 0.0);
    EXPECT_EQ(Utilidades::TextoANumero(""), 0.0);
    EXPECT_EQ(Utilidades::TextoANumero("1e400"), 0.0);
    EXPECT_EQ(Utilidades::TextoANumero("99999999999999999999"), 0.0);
    // Round trip used by the SQL literal of an amount.
    EXPECT_EQ(Utilidades::ReemplazarTexto(
                  Utilidades::NumeroATexto(Utilidades::TextoANumero("12,50")), ",", "."),
              "12.5");
}

TEST_F(UtilidadesTest, NumeroInicialReadsTheLeadingNumber) {
    EXPECT_EQ(Utilidades::NumeroInicial("12abc"), 12.0);
    EXPECT_EQ(Utilidades::NumeroInicial("  -3.5x"), -3.5);
    EXPECT_EQ(Utilidades::NumeroInicial(".5"), 0.5);
    EXPECT_EQ(Utilidades::NumeroInicial("1.5E3"), 1500.0);
    EXPECT_EQ(Utilidades::NumeroInicial("2E"), 2.0);
    EXPECT_EQ(Utilidades::NumeroInicial("12,5"), 12.0);
    EXPECT_EQ(Utilidades::NumeroInicial("abc"), 0.0);
    EXPECT_EQ(Utilidades::NumeroInicial(""), 0.0);
    EXPECT_EQ(Utilidades::NumeroInicial("-"), 0.0);
    EXPECT_EQ(Utilidades::NumeroInicial("1e999"), 0.0);
}

TEST_F(UtilidadesTest, TextoComparableGivesReportEngineDateLiterals) {
    EXPECT_EQ(Utilidades::TextoComparable("31/12/2024"), "Date(2024,12,31)");
    EXPECT_EQ(Utilidades::TextoComparable(" 1/2/24"), "Date(2024,2,1)");
    EXPECT_EQ(Utilidades::TextoComparable("01/02/2024 10:30"), "DateTime(2024,2,1,10,30,0)");
    EXPECT_EQ(Utilidades::TextoComparable("31/02/2024"), "");
    EXPECT_EQ(Utilidades::TextoComparable("abc"), "");
}

TEST_F(UtilidadesTest, TextoDeValorTurnsNullIntoEmptyText) {
    EXPECT_EQ(Utilidades::TextoDeValor(QVariant()), "");
    EXPECT_EQ(Utilidades::TextoDeValor(QVariant(QMetaType::fromType<QString>())), "");
    EXPECT_EQ(Utilidades::TextoDeValor(QString(" x ")), " x ");
    EXPECT_EQ(Utilidades::TextoDeValor(42), "42");
    EXPECT_EQ(Utilidades::TextoDeValor(12.5), "12,5");
    EXPECT_EQ(Utilidades::TextoDeValor(QDate(2024, 3, 5)), "05/03/2024");
    EXPECT_EQ(Utilidades::TextoDeValor(QDateTime(QDate(2024, 3, 5), QTime(8, 1, 2))),
              "05/03/2024 08:01:02");
    EXPECT_EQ(Utilidades::TextoDeValor(true), "Verdadero");
}

TEST_F(UtilidadesTest, TextHelpers) {
    EXPECT_EQ(Utilidades::RecortarTexto(QString(300, 'a')).size(), 250);
    EXPECT_EQ(Utilidades::RecortarTexto("abc", 2), "ab");
    EXPECT_EQ(Utilidades::RecortarTexto("abc", -1), "");

    EXPECT_EQ(Utilidades::CantidadPalabras(""), 0);
    EXPECT_EQ(Utilidades::CantidadPalabras("   "), 0);
    EXPECT_EQ(Utilidades::CantidadPalabras("uno"), 1);
    EXPECT_EQ(Utilidades::CantidadPalabras("  uno \t dos\r\ntres "), 3);

    EXPECT_EQ(Utilidades::QuitarCaracter("=SRV01", "="), "SRV01");
    EXPECT_EQ(Utilidades::QuitarCaracter("a|b=c", "|", "="), "abc");
    EXPECT_EQ(Utilidades::QuitarCaracter(QString("ab") + QChar(0) + QChar(255) + "c",
                                         QString(QChar(0)), QString(QChar(255))),
              "abc");
    EXPECT_EQ(Utilidades::QuitarCaracter("abc", ""), "abc");

    EXPECT_EQ(Utilidades::ReemplazarTexto("a|b|c", "|", ","), "a,b,c");
    EXPECT_EQ(Utilidades::ReemplazarTexto("AbaA", "a", "x"), "AbxA");
    EXPECT_EQ(Utilidades::ReemplazarTexto("abc", "", "x"), "abc");
}

TEST_F(UtilidadesTest, FormatoCodigoRightAlignsInTheStoredWidth) {
    EXPECT_EQ(Utilidades::FormatoCodigo("1", 4), "   1");
    EXPECT_EQ(Utilidades::FormatoCodigo("  1 ", 4), "   1");
    EXPECT_EQ(Utilidades::FormatoCodigo("ABC", 25), QString(22, ' ') + "ABC");
    EXPECT_EQ(Utilidades::FormatoCodigo("12345", 4), "12345");
    EXPECT_EQ(Utilidades::FormatoCodigo("   ", 4), "");
    EXPECT_EQ(Utilidades::FormatoCodigo(QVariant(QString("   1"))), "1");
    EXPECT_EQ(Utilidades::FormatoCodigo(QVariant()), "");
}

TEST_F(UtilidadesTest, RutaConBarra) {
    EXPECT_EQ(Utilidades::RutaConBarra("/opt/rp"), "/opt/rp/");
    EXPECT_EQ(Utilidades::RutaConBarra("/opt/rp/"), "/opt/rp/");
    EXPECT_EQ(Utilidades::RutaConBarra(""), "");
}

TEST_F(UtilidadesTest, ReemplazarTablaMatchesWholeNamesOutsideLiterals) {
    const QString n = "V_MA_ARTICULOS", nuevo = "VT_MA_ARTICULOS";
    EXPECT_EQ(Utilidades::ReemplazarTabla("select * from V_MA_ARTICULOS where 1=1", n, nuevo),
              "select * from VT_MA_ARTICULOS where 1=1");
    EXPECT_EQ(Utilidades::ReemplazarTabla("select * from v_ma_articulos", n, nuevo),
              "select * from VT_MA_ARTICULOS");
    EXPECT_EQ(
        Utilidades::ReemplazarTabla("select V_MA_ARTICULOS.id from dbo.V_MA_ARTICULOS", n, nuevo),
        "select VT_MA_ARTICULOS.id from dbo.VT_MA_ARTICULOS");
    EXPECT_EQ(
        Utilidades::ReemplazarTabla("select * from V_MA_ARTICULOS2, XV_MA_ARTICULOS", n, nuevo),
        "select * from V_MA_ARTICULOS2, XV_MA_ARTICULOS");
    EXPECT_EQ(
        Utilidades::ReemplazarTabla("select 'V_MA_ARTICULOS' from [V_MA_ARTICULOS]", n, nuevo),
        "select 'V_MA_ARTICULOS' from [VT_MA_ARTICULOS]");
    EXPECT_EQ(Utilidades::ReemplazarTabla("select 1", "", nuevo), "select 1");
}

TEST_F(UtilidadesTest, ClaveRoundTripsWithoutSeparatorCharacters) {
    for (const QString& claro :
         {QString("Kestrel"), QString("tapirus"), QString("contraseña, \"con\" comas\r\n"),
          QString(" "), QString("€uro ¿ñ?"), QString(200, 'x')}) {
        const QString cod = Utilidades::CodificarClave(claro);
        EXPECT_FALSE(cod.contains(',') || cod.contains('"') || cod.contains('\n') ||
                     cod.contains('\r') || cod.contains(' '))
            << cod.toStdString();
        EXPECT_NE(cod, claro);
        EXPECT_EQ(Utilidades::DecodificarClave(cod), claro);
    }
    EXPECT_EQ(Utilidades::CodificarClave(""), "");
    EXPECT_EQ(Utilidades::DecodificarClave(""), "");
    EXPECT_EQ(Utilidades::DecodificarClave("no es, una clave"), "");
}

TEST_F(UtilidadesTest, MensajeErrorAsksAbortRetryIgnore) {
    rp::ui::OperadorGuion guion;
    rp::ui::setOperador(&guion);
    guion.responderMensaje(rp::ui::vbRetry);
    EXPECT_EQ(Utilidades::MensajeError(CodErr{-2147217900, " mal ", "Proveedor"}), 4);
    ASSERT_EQ(guion.mensajes().size(), 1);
    const auto m = guion.mensajes().first();
    EXPECT_EQ(m.estilo, 18);
    EXPECT_EQ(m.titulo, "Proveedor");
    EXPECT_TRUE(m.texto.contains("-2147217900"));
    EXPECT_TRUE(m.texto.endsWith("mal"));
    EXPECT_TRUE(guion.sinInesperadas());
}

TEST_F(UtilidadesTest, ElegirFechaGivesTheShortDateOrEmptyText) {
    rp::ui::OperadorGuion guion;
    rp::ui::setOperador(&guion);
    guion.responderFecha(QDate(2024, 12, 31));
    guion.responderFecha(std::nullopt);
    EXPECT_EQ(Utilidades::ElegirFecha(), "31/12/2024");
    EXPECT_EQ(Utilidades::ElegirFecha(), "");
    EXPECT_TRUE(guion.sinInesperadas());
}
