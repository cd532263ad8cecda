#include "suite/DialogoComun.h"
#include "GuardiaEntorno.h"
#include "suite/CodErr.h"
#include "ui/OperadorGuion.h"

#include <gtest/gtest.h>

namespace {

using rp::suite::CodErr;
using rp::suite::DialogoComun;

// A cancelled print dialog with ErrorAlCancelar raises error 32755; any
// handler for std::exception sees it with its message, the suite's handlers
// with its number and source.
TEST(DialogoComun, CancelledDialogThrowsAStdExceptionWithNumberAndText) {
    rp::ui::OperadorGuion op;
    const rp::prueba::GuardiaEntorno entorno(&op);
    DialogoComun::establecerMostradorImpresora(nullptr);
    DialogoComun d;
    d.ErrorAlCancelar = true;
    op.responderDialogo([](rp::ui::DialogoModal&) { return false; });
    try {
        d.MostrarImpresora();
        ADD_FAILURE() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ("Se ha cancelado el cuadro de diálogo", e.what());
        const auto* c = dynamic_cast<const CodErr*>(&e);
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(DialogoComun::ErrorCancelado, c->number);
        EXPECT_EQ(QStringLiteral("DialogoComun"), c->source);
    }
    EXPECT_TRUE(d.UsuarioCancelo);

    // Without ErrorAlCancelar the cancellation is only recorded.
    d.ErrorAlCancelar = false;
    op.responderDialogo([](rp::ui::DialogoModal&) { return false; });
    EXPECT_NO_THROW(d.MostrarImpresora());
    EXPECT_TRUE(d.UsuarioCancelo);
}

// what() follows the description as it is at the time of the call.
TEST(DialogoComun, CodErrWhatFollowsItsDescription) {
    CodErr e{3704, QStringLiteral("sin lista")};
    EXPECT_STREQ("sin lista", e.what());
    e.description = QStringLiteral("otra razón");
    EXPECT_STREQ("otra razón", e.what());
    const CodErr vacio;
    EXPECT_STREQ("", vacio.what());
    EXPECT_EQ(0, vacio.number);
}

} // namespace
