#include "GuardiaEntorno.h"
#include "ui/OperadorGuion.h"

#include <gtest/gtest.h>

namespace {

using rp::suite::Aplicacion;
using rp::suite::Regional;

// The test support's guard puts back the regional settings and the program
// folder it found, and the default operator, whatever the test changed.
TEST(GuardiaEntorno, PutsBackWhatItFound) {
    const QString carpeta = Aplicacion::carpetaPrograma();
    const QChar decimal = Regional::actual().separadorDecimal;
    rp::ui::Operador* antes = &rp::ui::operador();
    {
        rp::ui::OperadorGuion op;
        Regional r = Regional::espaniol();
        r.separadorDecimal = QLatin1Char('#');
        const rp::prueba::GuardiaEntorno guardia(&op, r, QStringLiteral("/tmp/otra-carpeta"));
        EXPECT_EQ(&op, &rp::ui::operador());
        EXPECT_EQ(QLatin1Char('#'), Regional::actual().separadorDecimal);
        EXPECT_TRUE(Aplicacion::carpetaPrograma().startsWith(QStringLiteral("/tmp/otra-carpeta")));
        Aplicacion::establecerCarpetaPrograma(QStringLiteral("/tmp/cambiada"));
    }
    EXPECT_EQ(carpeta, Aplicacion::carpetaPrograma());
    EXPECT_EQ(decimal, Regional::actual().separadorDecimal);
    EXPECT_EQ(antes, &rp::ui::operador());
}

} // namespace
