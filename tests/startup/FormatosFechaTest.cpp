#include "startup/FormatosFecha.h"

#include "suite/Regional.h"

#include <gtest/gtest.h>

using namespace rp::startup;
using rp::suite::Regional;

TEST(FormatosFecha, OneLayoutForEveryStamp) {
    Regional::establecer(Regional::espaniol());
    const QDateTime t(QDate(2024, 3, 5), QTime(17, 8, 59));
    EXPECT_EQ(FormatoFechaHora(t), "05/03/24 17:08");
    EXPECT_EQ(FormatoFecha(t), "05/03/24");
    EXPECT_EQ(FormatoHora(t), "17:08");
    EXPECT_EQ(FormatoFecha(t) + " " + FormatoHora(t), FormatoFechaHora(t));
    EXPECT_EQ(FormatoFechaHora().size(), 14);

    Regional punto = Regional::espaniol();
    punto.separadorFecha = QLatin1Char('.');
    Regional::establecer(punto);
    EXPECT_EQ(FormatoFechaHora(t), "05.03.24 17:08");
    Regional::establecer(Regional::espaniol());
}
