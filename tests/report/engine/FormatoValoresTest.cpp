// Fixed-point numbers of the pages: rounding, sign, grouping.
#include "report/engine/FormatoValores.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using rp::motor::FormatoValores;

TEST(FormatoValores, NumeroFijoRedondeaAgrupaYNoMuestraMenosCero) {
    const auto f = [](double v, int d, QChar miles = QLatin1Char('.')) {
        return FormatoValores::numeroFijo(v, d, QLatin1Char(','), miles).toStdString();
    };
    EXPECT_EQ("1.234.567,89", f(1234567.891, 2));
    EXPECT_EQ("1.000,00", f(999.999, 2));
    EXPECT_EQ("100", f(100, 0));
    EXPECT_EQ("1.000", f(1000, 0));
    EXPECT_EQ("1000000,5", f(1000000.5, 1, QChar()));
    // Halves (exact in binary) round away from zero, as the locale's own.
    EXPECT_EQ("3", f(2.5, 0));
    EXPECT_EQ("0,13", f(0.125, 2));
    EXPECT_EQ("-1.235", f(-1234.5, 0));
    // What rounds to zero has no sign.
    EXPECT_EQ("0,00", f(-0.004, 2));
    EXPECT_EQ("0", f(-0.4, 0));
    EXPECT_EQ("-0,01", f(-0.006, 2));
    EXPECT_EQ("100.000.000.000.000.000.000", f(1e20, 0));
    EXPECT_EQ("", f(std::numeric_limits<double>::quiet_NaN(), 2));
    EXPECT_EQ("", f(-std::numeric_limits<double>::infinity(), 2));
    // Against the C locale's digits over many values.
    for (int i = -20000; i <= 20000; i += 7) {
        const double v = i / 8.0 + i * 1000.003;
        for (int d = 0; d <= 3; ++d) {
            QString esperado = QLocale::c().toString(std::fabs(v), 'f', d);
            esperado.replace(QLatin1Char('.'), QLatin1Char(','));
            const bool cero = esperado.count(QLatin1Char('0')) + esperado.count(QLatin1Char(',')) ==
                              esperado.size();
            if (v < 0 && !cero)
                esperado.prepend(QLatin1Char('-'));
            EXPECT_EQ(esperado.toStdString(),
                      FormatoValores::numeroFijo(v, d, QLatin1Char(','), QChar()).toStdString());
        }
    }
}
