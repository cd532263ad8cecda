// The banner controller and its window state, without a window.
#include "banner/Dll_Display.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using rp::banner::Dll_Display;
using rp::banner::Lbf_CtrlDisplay;

namespace {

// Waits (letting events run) until cond holds or two seconds pass.
template <class F> bool esperar(F cond) {
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return cond();
}

} // namespace

TEST(Lbf_CtrlDisplay, FreshWindowStartsAtFrameZeroWithCancelCaptionAndNoText) {
    Lbf_CtrlDisplay v;
    EXPECT_EQ(v.titulo(), "Procesando Datos");
    EXPECT_EQ(v.captionCancelar(), "&Cancelar");
    EXPECT_EQ(v.contador(), 0);
    EXPECT_EQ(v.cuadro(), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(v.LblCtrol(i).isEmpty());
    }
    EXPECT_TRUE(v.Timer1().isActive());
    EXPECT_EQ(v.Timer1().interval(), 100);
    // Indices outside 0..2 are ignored.
    v.setLblCtrol(3, "x");
    v.setLblCtrol(-1, "x");
    EXPECT_TRUE(v.LblCtrol(3).isEmpty());
}

TEST(Lbf_CtrlDisplay, AnimationRunsFramesOneToTwelveAndWraps) {
    Lbf_CtrlDisplay v;
    v.Timer1().stop();
    std::vector<int> vistos;
    for (int i = 0; i < 12; ++i) {
        v.Timer1_Timer();
        vistos.push_back(v.cuadro());
    }
    EXPECT_EQ(vistos, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(v.contador(), 0);
    v.Timer1_Timer();
    EXPECT_EQ(v.cuadro(), 1);
    EXPECT_EQ(v.contador(), 1);
    // Many cycles never leave 1..12.
    for (int i = 0; i < 1000; ++i) {
        v.Timer1_Timer();
        ASSERT_GE(v.cuadro(), 1);
        ASSERT_LE(v.cuadro(), 12);
    }
}

TEST(Lbf_CtrlDisplay, TimerAdvancesTheAnimationWhileEventsRun) {
    Lbf_CtrlDisplay v;
    const int antes = v.contador();
    EXPECT_TRUE(esperar([&] { return v.contador() != antes; }));
}

TEST(Dll_Display, MostrarChangesOnlyTheLinesGiven) {
    Dll_Display d;
    bool cancelado = true;
    d.CartelInicio("Calculando..", true);
    d.CartelMostrar(cancelado, QString("uno"), QString("dos"), QString("tres"));
    EXPECT_FALSE(cancelado);
    d.CartelMostrar(cancelado, QString("UNO"));
    EXPECT_EQ(d.ventana()->LblCtrol(0), "UNO");
    EXPECT_EQ(d.ventana()->LblCtrol(1), "dos");
    EXPECT_EQ(d.ventana()->LblCtrol(2), "tres");
    // A null value gives empty text; an absent one leaves the line alone.
    d.CartelMostrar(cancelado, std::nullopt, QString(), std::nullopt);
    EXPECT_EQ(d.ventana()->LblCtrol(0), "UNO");
    EXPECT_EQ(d.ventana()->LblCtrol(1), "");
    EXPECT_EQ(d.ventana()->LblCtrol(2), "tres");
    EXPECT_EQ(d.ventana()->titulo(), "Calculando..");
}

TEST(Dll_Display, CancelStaysUntilTheWindowIsDestroyed) {
    Dll_Display d;
    bool cancelado = true;
    d.CartelInicio("Calculando..", true);
    d.CartelMostrar(cancelado, QString("a"));
    EXPECT_FALSE(cancelado);

    d.ventana()->CmdDisplayCancelar_Click();
    EXPECT_EQ(d.ventana()->captionCancelar(), "Abortado");
    for (int i = 0; i < 3; ++i) {
        cancelado = false;
        d.CartelMostrar(cancelado, QString("b"));
        EXPECT_TRUE(cancelado);
    }
    // A second CartelInicio on the open window keeps the abort.
    d.CartelInicio("Otra vez", true);
    d.CartelMostrar(cancelado);
    EXPECT_TRUE(cancelado);

    d.CartelCerrar();
    EXPECT_EQ(d.ventana(), nullptr);
    d.CartelInicio("Calculando..", true);
    EXPECT_EQ(d.ventana()->captionCancelar(), "&Cancelar");
    EXPECT_EQ(d.ventana()->contador(), 0);
    EXPECT_TRUE(d.ventana()->LblCtrol(0).isEmpty());
    d.CartelMostrar(cancelado);
    EXPECT_FALSE(cancelado);
}

TEST(Dll_Display, WithoutCancelTheButtonIsHiddenAndNeverCancels) {
    Dll_Display d;
    d.CartelInicio("Calculando..", false);
    EXPECT_FALSE(d.ventana()->cancelarVisible());
    bool cancelado = true;
    for (int i = 0; i < 10; ++i) {
        d.CartelMostrar(cancelado, QString::number(i));
        EXPECT_FALSE(cancelado);
    }
}

TEST(Dll_Display, MostrarAndSiempreVisibleOnAClosedBannerCreateTheWindow) {
    Dll_Display d;
    EXPECT_EQ(d.ventana(), nullptr);
    bool cancelado = true;
    d.CartelMostrar(cancelado, QString("x"));
    ASSERT_NE(d.ventana(), nullptr);
    EXPECT_FALSE(cancelado);
    EXPECT_EQ(d.ventana()->titulo(), "Procesando Datos");
    d.CartelCerrar();

    d.setSiempre_Visible(false);
    ASSERT_NE(d.ventana(), nullptr);
    EXPECT_FALSE(d.ventana()->siempreVisible());
    d.setSiempre_Visible(true);
    EXPECT_TRUE(d.ventana()->siempreVisible());
    // Closing twice is harmless.
    d.CartelCerrar();
    d.CartelCerrar();
}

TEST(Dll_Display, RepaintsAreThrottledAndTheLastTextIsPaintedAfterThePause) {
    Dll_Display d;
    d.CartelInicio("Calculando..", true);
    QElapsedTimer t;
    t.start();
    bool cancelado = false;
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        d.CartelMostrar(cancelado, QString::number(i), QString("art %1").arg(i));
    }
    const qint64 ms = t.elapsed();
    // At most one repaint per pause, plus the first one.
    EXPECT_LE(d.repintados(), ms / Dll_Display::kPausaRepintadoMs + 2) << ms << " ms";
    EXPECT_EQ(d.ventana()->LblCtrol(0), QString::number(n - 1));
    // The update that fell inside the last pause is painted when it ends.
    const int antes = d.repintados();
    EXPECT_TRUE(esperar([&] { return d.repintados() > antes; }));
}
