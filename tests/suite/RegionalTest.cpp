#include "suite/Regional.h"

#include <gtest/gtest.h>

using rp::suite::Regional;

namespace {

Regional mesDiaAnio() {
    Regional r;
    r.ordenFecha = Regional::OrdenFecha::MesDiaAnio;
    r.separadorFecha = QLatin1Char('-');
    r.separadorDecimal = QLatin1Char('.');
    r.separadorMiles = QLatin1Char(',');
    return r;
}

} // namespace

TEST(Regional, ReadsDatesInTheWorkstationOrder) {
    const Regional es = Regional::espaniol();
    EXPECT_EQ(es.textoAFecha("31/12/2024"), QDate(2024, 12, 31));
    EXPECT_EQ(es.textoAFecha(" 1/2/24 "), QDate(2024, 2, 1));
    EXPECT_EQ(es.textoAFecha("1-2-1999"), QDate(1999, 2, 1));
    EXPECT_EQ(es.textoAFecha("2024-12-31"), QDate(2024, 12, 31));
    EXPECT_EQ(es.textoAFecha("01/01/29"), QDate(2029, 1, 1));
    EXPECT_EQ(es.textoAFecha("01/01/30"), QDate(1930, 1, 1));

    const Regional us = mesDiaAnio();
    EXPECT_EQ(us.textoAFecha("12-31-2024"), QDate(2024, 12, 31));
    EXPECT_FALSE(us.textoAFecha("31-12-2024").isValid());
}

TEST(Regional, RejectsTextsThatAreNotDates) {
    const Regional es = Regional::espaniol();
    for (const char* malo : {"", "abc", "31/02/2024", "32/01/2024", "1/2", "1/2/3/4", "1/2/202",
                             "a1/02/2024", "01/13/2024", "01/01/2024 25:00", "01/01/2024 x"})
        EXPECT_FALSE(es.textoAFecha(QString::fromLatin1(malo)).isValid()) << malo;
}

TEST(Regional, ReadsAndShowsDateTimes) {
    const Regional es = Regional::espaniol();
    const auto m = es.textoAFechaHora("05/03/2024 7:08:09");
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(*m, QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)));
    EXPECT_EQ(es.fechaHoraATexto(*m), "05/03/2024 07:08:09");
    EXPECT_EQ(es.fechaHoraATexto(QDateTime(QDate(2024, 3, 5), QTime(0, 0))), "05/03/2024");
    EXPECT_EQ(es.fechaATexto(QDate(2024, 3, 5)), "05/03/2024");
    EXPECT_EQ(mesDiaAnio().fechaATexto(QDate(2024, 3, 5)), "03-05-2024");
    EXPECT_EQ(es.fechaATexto(QDate()), "");
}

TEST(Regional, ShowsNumbersWithoutGroupingOrTrailingZeros) {
    const Regional es = Regional::espaniol();
    EXPECT_EQ(es.numeroATexto(12.5), "12,5");
    EXPECT_EQ(es.numeroATexto(1234567.25), "1234567,25");
    EXPECT_EQ(es.numeroATexto(-0.0), "0");
    EXPECT_EQ(es.numeroATexto(1440), "1440");
    EXPECT_EQ(es.numeroATexto(1.5e20), "1,5E+20");
    EXPECT_EQ(mesDiaAnio().numeroATexto(12.5), "12.5");
}

TEST(Regional, ReadsNumbersInTheWorkstationForm) {
    const Regional es = Regional::espaniol();
    EXPECT_EQ(es.textoANumero("12,50"), 12.5);
    EXPECT_EQ(es.textoANumero(" -1.234,5 "), -1234.5);
    EXPECT_EQ(es.textoANumero("1.500"), 1500.0);
    EXPECT_EQ(es.textoANumero(",5"), 0.5);
    // Not a workstation number but a plain one with a decimal point.
    EXPECT_EQ(es.textoANumero("12.5"), 12.5);
    EXPECT_EQ(es.textoANumero("12."), 12.0);
    for (const char* malo : {"", "abc", "12abc", "1,2,3", "--1", "1 2", "1.2.3,4,5"})
        EXPECT_FALSE(es.textoANumero(QString::fromLatin1(malo)).has_value()) << malo;

    const Regional us = mesDiaAnio();
    EXPECT_EQ(us.textoANumero("1,234.5"), 1234.5);
    EXPECT_FALSE(us.textoANumero("12,5").has_value());
}

TEST(Regional, ProcessWideSettingsCanBeReplaced) {
    const Regional antes = Regional::actual();
    Regional::establecer(mesDiaAnio());
    EXPECT_EQ(Regional::actual().separadorFecha, QLatin1Char('-'));
    Regional::establecer(antes);
    EXPECT_EQ(Regional::actual().separadorFecha, antes.separadorFecha);
}
