#include "suite/PasosReintento.h"
#include "ui/Operador.h"

#include <QList>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using rp::suite::CodErr;
using rp::suite::PasosReintento;

// The operator's answers in order; every report is kept.
struct Respuestas {
    QList<int> pendientes;
    QList<CodErr> informes;
    PasosReintento::Informe informe() {
        return [this](const CodErr& e) {
            informes << e;
            return pendientes.takeFirst();
        };
    }
};

TEST(PasosReintento, RetryRunsTheStepAgainIgnoreGoesOnAbortEnds) {
    Respuestas r;
    r.pendientes = {rp::ui::vbRetry, rp::ui::vbIgnore, rp::ui::vbAbort};
    PasosReintento paso(r.informe());
    int intentos = 0;
    // Fails once, then succeeds on Retry.
    EXPECT_TRUE(paso([&] {
        if (++intentos == 1)
            throw CodErr{3704, QStringLiteral("cerrado"), QStringLiteral("ADODB")};
    }));
    EXPECT_EQ(2, intentos);
    // Ignore: the routine goes on although the step failed.
    EXPECT_TRUE(paso([] { throw std::runtime_error("disco lleno"); }));
    // Abort (or any other answer): the routine ends.
    EXPECT_FALSE(paso([] { throw CodErr{5, QStringLiteral("x")}; }));
    ASSERT_EQ(3, r.informes.size());
    EXPECT_EQ(3704, r.informes[0].number);
    EXPECT_EQ(QStringLiteral("ADODB"), r.informes[0].source);
    EXPECT_EQ(440, r.informes[1].number);
    EXPECT_EQ(QStringLiteral("disco lleno"), r.informes[1].description);
    EXPECT_EQ(QStringLiteral("rp_tarifario"), r.informes[1].source);
    // A step that succeeds asks nothing.
    EXPECT_TRUE(paso([] {}));
    EXPECT_EQ(3, r.informes.size());
}

TEST(PasosReintento, ExceptionsTheTranslationDoesNotKnowLeaveTheRoutine) {
    Respuestas r;
    PasosReintento paso(r.informe());
    EXPECT_THROW(paso([] { throw 7; }), int);
    // A translation of one's own: only its type is reported.
    PasosReintento propio(r.informe(), [](std::exception_ptr e) -> CodErr {
        try {
            std::rethrow_exception(e);
        } catch (const std::logic_error& l) {
            return {99, QString::fromUtf8(l.what())};
        }
    });
    r.pendientes = {rp::ui::vbIgnore};
    EXPECT_TRUE(propio([] { throw std::logic_error("propio"); }));
    EXPECT_THROW(propio([] { throw std::runtime_error("ajeno"); }), std::runtime_error);
    ASSERT_EQ(1, r.informes.size());
    EXPECT_EQ(99, r.informes[0].number);
}

} // namespace
