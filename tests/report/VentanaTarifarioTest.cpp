#include "report/widgets/VentanaTarifario.h"
#include "report/BarraReporte.h"
#include "report/CamposFormulario.h"
#include "report/FormularioTarifario.h"
#include "report/widgets/QtBarraReporte.h"
#include "report/widgets/QtCampoTexto.h"
#include "suite/Regional.h"
#include "ui/OperadorGuion.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

using rp::report::BarraReporte;
using rp::report::FormularioTarifario;
using rp::report::QtCampoTexto;
using rp::report::VentanaTarifario;

namespace {

QApplication& aplicacion() {
    static int argc = 1;
    static char nombre[] = "report_tests";
    static char* argv[] = {nombre, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* a = new QApplication(argc, argv);
        a->setQuitOnLastWindowClosed(false);
        VentanaTarifario::aplicarEstilo(*a);
        return a;
    }();
    return *app;
}

// The main window over a loaded form, shown and active, with the scripted
// operator. Focus colours: cyan background, red text (Windows colour values).
class VentanaTest : public ::testing::Test {
protected:
    void SetUp() override {
        aplicacion();
        rp::ui::setOperador(&guion);
        rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
        modelo.establecerColoresFoco(0xFFFF00, 0x0000FF);
        ventana = std::make_unique<VentanaTarifario>(modelo);
        modelo.cargar([](const QString& clave) {
            return clave == "NOM_PCLASE3" ? QStringLiteral("Mayorista") : QStringLiteral(" ");
        });
        ventana->show();
        ventana->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(ventana.get()));
    }
    void TearDown() override {
        ventana.reset();
        EXPECT_TRUE(guion.sinInesperadas()) << guion.resumenInesperadas().toStdString();
        rp::ui::setOperador(nullptr);
    }

    QtCampoTexto* campo(int i) const {
        return ventana->findChild<QtCampoTexto*>(QStringLiteral("txtfields_%1").arg(i));
    }
    QColor fondo(int i) const { return campo(i)->palette().color(QPalette::Base); }
    QColor letra(int i) const { return campo(i)->palette().color(QPalette::Text); }

    rp::ui::OperadorGuion guion;
    FormularioTarifario modelo;
    std::unique_ptr<VentanaTarifario> ventana;
};

const QColor kCian(0, 255, 255);
const QColor kRojo(255, 0, 0);

} // namespace

TEST_F(VentanaTest, ControlsAreReachableByNameWithTheirCaptions) {
    EXPECT_EQ(ventana->windowTitle(), "Reporte Historico de Cambio de Precios");
    auto* tabs = ventana->findChild<QTabWidget*>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Historial de cambios");
    EXPECT_EQ(tabs->tabText(1), QString::fromUtf8("Último cambio según Fecha"));
    EXPECT_EQ(tabs->tabText(2), "Ultimo Costo");

    for (int i : modelo.indicesCampos()) {
        QtCampoTexto* c = campo(i);
        ASSERT_NE(c, nullptr) << i;
        EXPECT_EQ(c->property("key").toString(), modelo.clave(i));
        EXPECT_EQ(c->property("tag").toString(), modelo.tagConsulta(i));
        EXPECT_EQ(c->maxLength(), modelo.longitudMaxima(i));
        EXPECT_EQ(c->contextMenuPolicy(), Qt::PreventContextMenu);
        // The field lies on its own tab's page.
        const int pestana = rp::report::CamposFormulario::campo(i)->pestana;
        EXPECT_TRUE(tabs->widget(pestana)->isAncestorOf(c)) << i;
    }
    EXPECT_EQ(campo(36), nullptr);
    EXPECT_EQ(ventana->findChild<QLabel*>("rotulo_0")->text(), "Lista Desde:");
    EXPECT_EQ(ventana->findChild<QLabel*>("rotulo_23")->text(), "Desde:");

    for (int i = 0; i < 10; ++i) {
        auto* chk = ventana->findChild<QCheckBox*>(QStringLiteral("ChkFiltro_%1").arg(i));
        ASSERT_NE(chk, nullptr);
        EXPECT_EQ(chk->isChecked(), i == 0);
    }
    EXPECT_EQ(ventana->findChild<QCheckBox*>("ChkFiltro_3")->text(), "Mayorista");
    EXPECT_EQ(ventana->findChild<QCheckBox*>("ChkFiltro_9")->text(), "Impuestos");
    EXPECT_EQ(ventana->findChild<QRadioButton*>("optPrecios_3")->text(), "Mayorista");
    EXPECT_EQ(ventana->findChild<QRadioButton*>("optPrecios_14")->text(), "Precio3");
    EXPECT_TRUE(ventana->findChild<QRadioButton*>("optPrecios_17")->isChecked());
    EXPECT_EQ(ventana->findChild<QRadioButton*>("OptOrden_5")->text(),
              QString::fromUtf8("Familia de Artículo"));
    EXPECT_TRUE(ventana->findChild<QRadioButton*>("OptOrden_0")->isChecked());

    auto* barra = ventana->findChild<QToolBar*>("TBarRep1");
    ASSERT_NE(barra, nullptr);
    for (const QString& k : BarraReporte::claves())
        EXPECT_NE(barra->findChild<QAction*>(k), nullptr) << k.toStdString();
    EXPECT_EQ(ventana->barra()->accion("PANTALLA")->shortcut(), QKeySequence("F5"));
    EXPECT_EQ(ventana->barra()->accion("IMPRESORA")->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(ventana->barra()->accion("CERRAR")->shortcut(), QKeySequence("Esc"));
    EXPECT_EQ(ventana->barra()->accion("CONSULTAR")->shortcuts().size(), 2);
}

TEST_F(VentanaTest, WindowFitsASmallDesktop) {
    EXPECT_LE(ventana->width(), 1366);
    EXPECT_LE(ventana->height(), 768);
    for (int p = 0; p < 3; ++p) {
        ventana->pestanas()->setCurrentIndex(p);
        QWidget* pagina = ventana->pestanas()->widget(p);
        EXPECT_GE(pagina->height(), pagina->minimumSizeHint().height()) << p;
        EXPECT_GE(pagina->width(), pagina->minimumSizeHint().width()) << p;
    }
}

TEST_F(VentanaTest, FocusedFieldShowsTheFocusColoursAndEnterMovesOn) {
    ASSERT_EQ(QApplication::focusWidget(), campo(0));
    EXPECT_EQ(fondo(0), kCian);
    EXPECT_EQ(letra(0), kRojo);
    EXPECT_TRUE(ventana->barra()->accion("CONSULTAR")->isEnabled());

    QTest::keyClick(campo(0), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), campo(1));
    EXPECT_EQ(fondo(0), QColor(Qt::white));
    EXPECT_EQ(letra(0), QColor(Qt::black));
    EXPECT_EQ(fondo(1), kCian);
    EXPECT_EQ(modelo.campoActual(), 1);

    QTest::keyClick(campo(1), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), campo(2));
    QTest::keyClick(campo(2), Qt::Key_Up);
    QTest::keyClick(campo(1), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), campo(0));
}

TEST_F(VentanaTest, TypingReachesTheModelWithinTheMaximumLength) {
    QTest::keyClicks(campo(0), "123456");
    EXPECT_EQ(modelo.texto(0), "1234");
    modelo.setTexto(4, "0012");
    EXPECT_EQ(campo(4)->text(), "0012");
}

TEST_F(VentanaTest, RightClickOpensTheLookupOfTheClickedField) {
    guion.responderFecha(QDate(2024, 3, 5));
    QTest::mouseClick(campo(12), Qt::RightButton);
    EXPECT_EQ(campo(12)->text(), "05/03/2024");
    EXPECT_EQ(modelo.texto(12), "05/03/2024");
    EXPECT_EQ(QApplication::focusWidget(), campo(13)); // as after Enter

    QList<QString> tags;
    modelo.establecerConsultor([&](const rp::report::ConsultaCampo& c) {
        tags << c.campoDevuelto;
        return QStringLiteral("0003");
    });
    QTest::mouseClick(campo(4), Qt::RightButton);
    EXPECT_EQ(tags, QList<QString>({"idrubro"}));
    EXPECT_EQ(campo(4)->text(), "0003");
    QTest::mouseClick(campo(6), Qt::LeftButton);
    EXPECT_EQ(tags.size(), 1);
    EXPECT_EQ(modelo.campoActual(), 6);
}

TEST_F(VentanaTest, ShortcutsRunTheReportOnceAndEscCloses) {
    int corridas = 0;
    modelo.establecerReporte(0, [&](FormularioTarifario::Destino d) {
        ++corridas;
        EXPECT_EQ(d, FormularioTarifario::DestinoPantalla);
    });
    QSignalSpy cerrada(ventana.get(), &VentanaTarifario::cerrada);
    QTest::keyClick(campo(0), Qt::Key_F5);
    EXPECT_EQ(corridas, 1);

    QTest::keyClick(campo(0), Qt::Key_Escape);
    EXPECT_TRUE(modelo.estaDescargado());
    EXPECT_FALSE(ventana->isVisible());
    EXPECT_EQ(cerrada.count(), 1);
}

TEST_F(VentanaTest, ToolbarButtonsRaiseTheirEvents) {
    guion.responderMensaje(rp::ui::vbOK);
    ventana->pestanas()->setCurrentIndex(1);
    ventana->barra()->accion("IMPRESORA")->trigger();
    ASSERT_EQ(guion.mensajes().size(), 1); // no report installed yet
    EXPECT_EQ(modelo.destino(), FormularioTarifario::DestinoImpresora);

    modelo.barra().setStyleBar(0);
    auto* boton = qobject_cast<QToolButton*>(
        ventana->barra()->widgetForAction(ventana->barra()->accion("PANTALLA")));
    ASSERT_NE(boton, nullptr);
    EXPECT_FALSE(boton->autoRaise());
    modelo.barra().setStyleBar(1);
    EXPECT_TRUE(boton->autoRaise());

    modelo.barra().setConsultaHabilitada(false);
    EXPECT_FALSE(ventana->barra()->accion("CONSULTAR")->isEnabled());
}

TEST_F(VentanaTest, TabChangeFocusesTheTabsListField) {
    ventana->pestanas()->setCurrentIndex(1);
    EXPECT_EQ(modelo.pestana(), 1);
    EXPECT_EQ(QApplication::focusWidget(), campo(16));
    ventana->pestanas()->setCurrentIndex(2);
    EXPECT_EQ(QApplication::focusWidget(), campo(37));
    modelo.setPestana(0);
    EXPECT_EQ(ventana->pestanas()->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), campo(0));
}

TEST_F(VentanaTest, ChecksAndOptionsFollowTheModelBothWays) {
    auto* chk = ventana->findChild<QCheckBox*>("ChkFiltro_3");
    chk->click();
    EXPECT_TRUE(modelo.chkFiltro(3));
    modelo.setChkFiltro(0, false);
    EXPECT_FALSE(ventana->findChild<QCheckBox*>("ChkFiltro_0")->isChecked());

    ventana->pestanas()->setCurrentIndex(1);
    ventana->findChild<QRadioButton*>("optPrecios_5")->click();
    EXPECT_EQ(modelo.optPreciosSeleccionado(1), 5);
    EXPECT_EQ(modelo.optPreciosSeleccionado(2), 17);
    modelo.setOptPrecios(2);
    EXPECT_TRUE(ventana->findChild<QRadioButton*>("optPrecios_2")->isChecked());
    EXPECT_FALSE(ventana->findChild<QRadioButton*>("optPrecios_5")->isChecked());

    ventana->pestanas()->setCurrentIndex(0);
    ventana->findChild<QRadioButton*>("OptOrden_6")->click();
    EXPECT_EQ(modelo.campoOrden(), "{v_mv_precioshis.fechahora}");

    modelo.setTituloClase(2, "Mayor & Menor");
    EXPECT_EQ(ventana->findChild<QCheckBox*>("ChkFiltro_2")->text(), "Mayor && Menor");
}

TEST_F(VentanaTest, ClosingTheWindowUnloadsTheForm) {
    QSignalSpy cerrada(ventana.get(), &VentanaTarifario::cerrada);
    ventana->close();
    EXPECT_TRUE(modelo.estaDescargado());
    EXPECT_EQ(cerrada.count(), 1);
    modelo.descargar();
    EXPECT_EQ(cerrada.count(), 1);
}
