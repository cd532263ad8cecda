// The dialog "Control de Acceso" on the offscreen platform.
#include "connections/widgets/VentanaAcceso.h"
#include "AccesoFixture.h"
#include "VentanaEspera.h"
#include "connections/frmAcceso.h"
#include "db/AccesoPrompt.h"
#include "db/DB_Dll.h"
#include "db/provider/ConnectionString.h"
#include "db/provider/SqliteProvider.h"
#include "suite/Utilidades.h"
#include "ui/widgets/OperadorQt.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using rp::connections::frmAcceso;
using rp::connections::VentanaAcceso;

namespace {

QByteArray linea(const QString& clave, const QString& db, const QString& servidor) {
    return (clave + "," + db + "," + db + "," + rp::suite::Utilidades::CodificarClave("x") + "," +
            servidor + "\r\n")
        .toLatin1();
}

template <class T> T* hijo(QWidget& w, const char* nombre) {
    T* c = w.findChild<T*>(QString::fromLatin1(nombre));
    EXPECT_NE(c, nullptr) << nombre;
    return c;
}

} // namespace

class VentanaAccesoTest : public AccesoFixture {};

TEST_F(VentanaAccesoTest, ControlsCaptionsAndTheListFromTheFile) {
    escribirBases(linea("VENTAS / SRV01", "Ventas", "srv01") +
                  linea("STOCK / SRV02", "Stock", "srv02:1500"));
    frmAcceso modelo;
    VentanaAcceso v(modelo);
    v.show();
    EXPECT_EQ(v.windowTitle(), "Control de Acceso");
    auto* lista = hijo<QListWidget>(v, "lstBases");
    ASSERT_EQ(lista->count(), 2);
    EXPECT_EQ(lista->item(0)->text(), "VENTAS / SRV01");
    EXPECT_EQ(lista->currentRow(), 0);
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtServidor")->text(), "srv01");
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtDbName")->text(), "Ventas");
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtUserId")->text(), "Ingrese el usuario");
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtUserId")->selectedText(), "Ingrese el usuario");
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtUserPassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtUserPassword")->toolTip(), "Ingrese la contraseña");
    auto* combo = hijo<QComboBox>(v, "CboPlataformaDB");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), "SQL Server");
    EXPECT_EQ(combo->itemText(1), "ORACLE");
    EXPECT_EQ(hijo<QPushButton>(v, "bcAceptar")->text(), "Aceptar");
    EXPECT_EQ(hijo<QPushButton>(v, "bcCancelar")->text(), "Cancelar");

    // Picking the second entry fills server (port split off) and database.
    lista->setCurrentRow(1);
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtServidor")->text(), "SRV02");
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtPuerto")->text(), "1500");
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtDbName")->text(), "Stock");
}

TEST_F(VentanaAccesoTest, TypingGoesToTheModelAndAnEmptiedBoxShowsItsHint) {
    frmAcceso modelo;
    VentanaAcceso v(modelo);
    v.show();
    auto* db = hijo<QLineEdit>(v, "TxtDbName");
    db->setFocus();
    db->selectAll();
    QKeyEvent tecla(QEvent::KeyPress, Qt::Key_V, Qt::ShiftModifier, "V");
    QApplication::sendEvent(db, &tecla);
    EXPECT_EQ(db->text(), "V");
    EXPECT_EQ(modelo.texto(frmAcceso::TxtDbName), "V");
    QKeyEvent borrar(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(db, &borrar);
    EXPECT_EQ(db->text(), "ingrese el nombre de la base de datos");
    EXPECT_EQ(db->selectedText(), "ingrese el nombre de la base de datos");
}

TEST_F(VentanaAccesoTest, ChoosingTheEmbeddedDatabaseSetsTheServer) {
    frmAcceso modelo;
    VentanaAcceso v(modelo);
    v.show();
    auto* combo = hijo<QComboBox>(v, "CboPlataformaDB");
    EXPECT_EQ(combo->itemText(2), "SQLite (local)");
    combo->activated(2);
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtServidor")->text(), "sqlite");
    EXPECT_EQ(modelo.CboPlataformaDB(), frmAcceso::Sqlite);
}

TEST_F(VentanaAccesoTest, ThePromptIsShownByTheRealOperatorAndAcceptedOrCancelled) {
    escribirBases(linea("VENTAS / SRV01", "Ventas", "srv01"));
    frmAcceso modelo;
    rp::ui::OperadorQt operador;
    VentanaAcceso::registrar(operador, modelo);
    ASSERT_TRUE(operador.dialogoRegistrado("frmAcceso"));

    rp::db::AccesoPrompt prompt;
    prompt.TxtServidor = "";
    prompt.TxtDbName = "EMPRESA";
    prompt.TxtUserId = "ana";
    alMostrarse([](VentanaAcceso& v) {
        // The prompt's values replaced the list's; the empty server shows its hint.
        EXPECT_EQ(v.caja(frmAcceso::TxtDbName)->text(), "EMPRESA");
        EXPECT_EQ(v.caja(frmAcceso::TxtServidor)->text(),
                  "ingrese el nombre del servidor e instancia");
        // A click on the entry already selected assigns it again.
        auto* lista = v.findChild<QListWidget*>("lstBases");
        lista->itemClicked(lista->item(0));
        v.caja(frmAcceso::TxtUserPassword)->setText("clave");
        v.caja(frmAcceso::TxtUserPassword)->textEdited("clave");
        v.findChild<QPushButton*>("bcAceptar")->click();
    });
    EXPECT_TRUE(operador.dialogo(prompt));
    EXPECT_TRUE(prompt.Aceptar);
    EXPECT_EQ(prompt.TxtServidor, "srv01");
    EXPECT_EQ(prompt.TxtDbName, "Ventas");
    EXPECT_EQ(prompt.TxtUserId, "");
    EXPECT_EQ(prompt.TxtUserPassword, "clave");
    EXPECT_EQ(prompt.CboPlataformaDB, 0);

    alMostrarse([](VentanaAcceso& v) { v.findChild<QPushButton*>("bcCancelar")->click(); });
    EXPECT_FALSE(operador.dialogo(prompt));
    EXPECT_FALSE(prompt.Aceptar);

    // Escape is "Cancelar" as well.
    modelo.setAceptar(true);
    alMostrarse([](VentanaAcceso& v) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&v, &esc);
    });
    EXPECT_FALSE(operador.dialogo(prompt));
}

TEST_F(VentanaAccesoTest, ClosingByTheFrameKeepsTheFlag) {
    frmAcceso modelo;
    rp::db::AccesoPrompt prompt;
    alMostrarse([](VentanaAcceso& v) { v.close(); });
    EXPECT_FALSE(VentanaAcceso::mostrarPrompt(modelo, prompt));

    modelo.setAceptar(true); // accepted earlier in the run
    alMostrarse([](VentanaAcceso& v) { v.close(); });
    EXPECT_TRUE(VentanaAcceso::mostrarPrompt(modelo, prompt));
}

TEST_F(VentanaAccesoTest, DoubleClickOnAnEntryAccepts) {
    escribirBases(linea("A", "Db1", "s1") + linea("B", "Db2", "s2"));
    frmAcceso modelo;
    rp::db::AccesoPrompt prompt;
    alMostrarse([](VentanaAcceso& v) {
        auto* lista = v.findChild<QListWidget*>("lstBases");
        lista->itemDoubleClicked(lista->item(1));
    });
    EXPECT_TRUE(VentanaAcceso::mostrarPrompt(modelo, prompt));
    EXPECT_EQ(prompt.TxtDbName, "Db2");
    EXPECT_EQ(prompt.TxtServidor, "s2");
}

TEST_F(VentanaAccesoTest, RegistrarAndCrearAccesoDirectoButtonsRunTheModel) {
    // A database that opens with its own name as user, in the program folder.
    const rp::db::ProviderSettings anteriores = rp::db::providerSettings();
    rp::db::ProviderSettings ajustes = anteriores;
    ajustes.programFolder = carpeta_.path() + "/";
    rp::db::setProviderSettings(ajustes);
    // An empty database (a 0-byte file is refused as no database).
    ASSERT_TRUE(rp::db::SqliteProvider::createDatabaseFile(carpeta_.filePath("VENTAS.db")));
    QTemporaryDir hogar;
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", hogar.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", hogar.filePath("config").toLocal8Bit());
    QDir(hogar.path()).mkpath("Desktop");

    frmAcceso modelo;
    VentanaAcceso v(modelo);
    v.show();
    auto* registrar = hijo<QPushButton>(v, "CmdRegistrar");
    auto* acceso = hijo<QPushButton>(v, "CmdLineaComando");
    ASSERT_TRUE(registrar && acceso);
    EXPECT_EQ(registrar->text(), "Registrar");
    EXPECT_EQ(acceso->text(), "Crear Acceso Directo");
    EXPECT_FALSE(registrar->autoDefault());

    modelo.setTexto(frmAcceso::TxtServidor, "sqlite");
    modelo.setTexto(frmAcceso::TxtDbName, "VENTAS");
    registrar->click();
    auto* lista = hijo<QListWidget>(v, "lstBases");
    ASSERT_EQ(lista->count(), 1);
    EXPECT_EQ(lista->item(0)->text(), "VENTAS / SQLITE");
    EXPECT_EQ(hijo<QLineEdit>(v, "TxtDbName")->text(), "VENTAS");

    acceso->click();
    EXPECT_TRUE(QFileInfo::exists(hogar.filePath("Desktop/Vizuv Adorav.desktop")));
    EXPECT_TRUE(guion_.interacciones().isEmpty()) << guion_.resumenInesperadas().toStdString();

    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    if (config.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    rp::db::setProviderSettings(anteriores);
}

TEST_F(VentanaAccesoTest, RetryPromptDuringRegistrationDoesNotOpenASecondDialogOverTheFirst) {
    const rp::db::ProviderSettings anteriores = rp::db::providerSettings();
    rp::db::ProviderSettings ajustes = anteriores;
    ajustes.programFolder = carpeta_.path() + "/";
    rp::db::setProviderSettings(ajustes);

    frmAcceso modelo;
    rp::db::AccesoPrompt prompt;
    guion_.responderMensaje(rp::ui::vbYes); // the failed open: "try again"
    bool segundo = true;
    VentanaAcceso* primera = nullptr;
    guion_.responderDialogo([&](rp::ui::DialogoModal& d) {
        // Should a second window come up, it is accepted at once (so the
        // test ends instead of waiting).
        QTimer::singleShot(50, [&] {
            auto* w = qobject_cast<VentanaAcceso*>(QApplication::activeModalWidget());
            if (w != nullptr && w != primera)
                w->findChild<QPushButton*>("bcAceptar")->click();
        });
        segundo = VentanaAcceso::mostrarPrompt(modelo, dynamic_cast<rp::db::AccesoPrompt&>(d));
        return segundo;
    });
    guion_.responderMensaje(rp::ui::vbOK); // "NO SE PUDO CONECTAR ..."
    bool visibleDespues = false;
    alMostrarse([&](VentanaAcceso& v) {
        primera = &v;
        modelo.setTexto(frmAcceso::TxtServidor, "sqlite");
        modelo.setTexto(frmAcceso::TxtDbName, "NoEsta");
        v.findChild<QPushButton*>("CmdRegistrar")->click();
        visibleDespues = v.isVisible();
        if (visibleDespues)
            v.findChild<QPushButton*>("bcCancelar")->click();
    });
    EXPECT_FALSE(VentanaAcceso::mostrarPrompt(modelo, prompt));
    EXPECT_FALSE(segundo);
    EXPECT_TRUE(visibleDespues);
    EXPECT_FALSE(modelo.registrando());
    EXPECT_FALSE(QFileInfo::exists(rutaBases()));
    EXPECT_TRUE(guion_.sinInesperadas()) << guion_.resumenInesperadas().toStdString();
    EXPECT_EQ(guion_.pendientes(), 0);
    rp::db::setProviderSettings(anteriores);
    rp::db::DB_Dll& db = rp::db::baseCompartida();
    db.gOpenFlag = false;
    db.conexion().clearErrors();
}
