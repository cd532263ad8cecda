// The banner window on the offscreen platform.
#include "banner/widgets/VentanaCartel.h"
#include "banner/Dll_Display.h"
#include "banner/widgets/VentanaCartelImagen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

using rp::banner::Dll_Display;
using rp::banner::VentanaCartel;
using rp::banner::VentanaCartelImagen;

namespace {

template <class F> bool esperar(F cond) {
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < 2000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return cond();
}

QWidget* ventanaDe(Dll_Display& d) {
    return dynamic_cast<QWidget*>(d.vista());
}

template <class T> T* hijo(Dll_Display& d, const char* nombre) {
    QWidget* w = ventanaDe(d);
    return w ? w->findChild<T*>(QString::fromLatin1(nombre)) : nullptr;
}

} // namespace

TEST(VentanaCartel, ShowsWithoutBlockingFramelessOnTopAndTranslucent) {
    Dll_Display d(VentanaCartel::fabrica());
    d.CartelInicio("Calculando..", true);
    QWidget* w = ventanaDe(d);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    // The caller goes on at once, while the other windows take no input.
    EXPECT_EQ(QApplication::activeModalWidget(), w);
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_NEAR(w->windowOpacity(), 200.0 / 255.0, 0.01);
    EXPECT_EQ(w->windowTitle(), "Calculando..");
    EXPECT_EQ(hijo<QLabel>(d, "Titulo")->text(), "Calculando..");
    auto* boton = hijo<QPushButton>(d, "CmdDisplayCancelar");
    ASSERT_NE(boton, nullptr);
    EXPECT_TRUE(boton->isVisible());
    EXPECT_EQ(boton->text(), "&Cancelar");

    d.setSiempre_Visible(false);
    EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w->isVisible());
    d.setSiempre_Visible(true);
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    d.CartelCerrar();
    EXPECT_EQ(d.vista(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(VentanaCartel, HiddenCancelButtonWhenCancelIsNotAllowed) {
    Dll_Display d(VentanaCartel::fabrica());
    d.CartelInicio("Calculando..", false);
    EXPECT_FALSE(hijo<QPushButton>(d, "CmdDisplayCancelar")->isVisible());
}

TEST(VentanaCartel, ClickOnCancelDuringALongLoopStopsIt) {
    Dll_Display d(VentanaCartel::fabrica());
    d.CartelInicio("Calculando..", true);
    auto* boton = hijo<QPushButton>(d, "CmdDisplayCancelar");
    // The click arrives as an event while the loop is running.
    QMetaObject::invokeMethod(boton, "click", Qt::QueuedConnection);
    int pasadas = 0;
    bool cancelado = false;
    while (!cancelado && pasadas < 100000) {
        d.CartelMostrar(cancelado, QString::number(pasadas));
        ++pasadas;
    }
    EXPECT_TRUE(cancelado);
    EXPECT_LE(pasadas, 3);
    EXPECT_EQ(boton->text(), "Abortado");
}

TEST(VentanaCartel, LinesShowTheTextsAndTheLastOfABurstIsNotLost) {
    Dll_Display d(VentanaCartel::fabrica());
    d.CartelInicio("Calculando..", true);
    bool cancelado = false;
    d.CartelMostrar(cancelado, QString("primero"), QString("segundo"), QString("tercero"));
    EXPECT_EQ(hijo<QLabel>(d, "LblCtrol0")->text(), "primero");
    EXPECT_EQ(hijo<QLabel>(d, "LblCtrol1")->text(), "segundo");
    EXPECT_EQ(hijo<QLabel>(d, "LblCtrol2")->text(), "tercero");

    for (int i = 0; i < 5000; ++i) {
        d.CartelMostrar(cancelado, QString("art %1").arg(i));
    }
    QLabel* l0 = hijo<QLabel>(d, "LblCtrol0");
    EXPECT_TRUE(esperar([&] { return l0->text() == "art 4999"; })) << l0->text().toStdString();
    EXPECT_EQ(hijo<QLabel>(d, "LblCtrol2")->text(), "tercero");
}

TEST(VentanaCartel, AnimationIsDrawnAndFollowsTheTimer) {
    Dll_Display d(VentanaCartel::fabrica());
    d.CartelInicio("Calculando..", true);
    auto* imagen = hijo<VentanaCartelImagen>(d, "Image1");
    ASSERT_NE(imagen, nullptr);
    EXPECT_EQ(imagen->size(), QSize(32, 32));
    EXPECT_EQ(imagen->cuadro(), 1);

    d.ventana()->Timer1().stop();
    std::vector<QImage> cuadros;
    for (int i = 0; i < 12; ++i) {
        d.ventana()->Timer1_Timer();
        EXPECT_EQ(imagen->cuadro(), d.ventana()->cuadro());
        cuadros.push_back(imagen->grab().toImage());
    }
    // Twelve different pictures, and something is drawn on each.
    for (size_t i = 0; i < cuadros.size(); ++i) {
        EXPECT_NE(cuadros[i], cuadros[(i + 1) % cuadros.size()]) << i;
    }
    d.ventana()->Timer1_Timer();
    EXPECT_EQ(imagen->grab().toImage(), cuadros[0]);
}
