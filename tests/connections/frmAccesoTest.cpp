// The connection dialog's model: list, look-ups, boxes, platform, prompt.
#include "connections/frmAcceso.h"
#include "AccesoFixture.h"
#include "db/AccesoPrompt.h"
#include "suite/Utilidades.h"

using rp::connections::frmAcceso;
using rp::suite::Utilidades;

namespace {

QByteArray linea(const QString& clave, const QString& db, const QString& servidor,
                 const QString& password = "secreto") {
    return (clave + "," + db + "," + db + "," + Utilidades::CodificarClave(password) + "," +
            servidor + "\r\n")
        .toLatin1();
}

} // namespace

class FrmAccesoTest : public AccesoFixture {};

TEST_F(FrmAccesoTest, LoadListsTheKeysSelectsTheFirstAndFillsServerAndDatabase) {
    escribirBases(linea("VENTAS / SRV01", "Ventas", "srv01") + linea("   ", "Nada", "x") +
                  linea("STOCK / SRV02", "Stock", "srv02"));
    frmAcceso f;
    f.Form_Load();
    EXPECT_EQ(f.lstBases(), QStringList({"VENTAS / SRV01", "STOCK / SRV02"}));
    EXPECT_EQ(f.lstBasesIndice(), 0);
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "srv01");
    EXPECT_EQ(f.texto(frmAcceso::TxtDbName), "Ventas");
    // User box shows its hint, password stays empty: the stored ones are never shown.
    EXPECT_EQ(f.texto(frmAcceso::TxtUserId), "Ingrese el usuario");
    EXPECT_EQ(f.texto(frmAcceso::TxtUserPassword), "");
    EXPECT_EQ(f.passwordEncontrado(), "secreto");
    EXPECT_EQ(f.usuarioEncontrado(), "Ventas");
    EXPECT_TRUE(guion_.interacciones().isEmpty());

    f.lstBases_Click(1);
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "srv02");
    EXPECT_EQ(f.texto(frmAcceso::TxtDbName), "Stock");
    EXPECT_FALSE(f.Aceptar());
}

TEST_F(FrmAccesoTest, MissingOrEmptyFileGivesAnEmptyListAndHintsWithoutMessages) {
    frmAcceso f;
    f.Form_Load();
    EXPECT_TRUE(f.lstBases().isEmpty());
    EXPECT_EQ(f.lstBasesIndice(), -1);
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "ingrese el nombre del servidor e instancia");
    EXPECT_EQ(f.texto(frmAcceso::TxtDbName), "ingrese el nombre de la base de datos");
    EXPECT_EQ(f.texto(frmAcceso::TxtPuerto), "1433");
    f.DatosBase("VENTAS");
    EXPECT_TRUE(f.servidorEncontrado().isEmpty());

    escribirBases("");
    f.Form_Load();
    EXPECT_TRUE(f.lstBases().isEmpty());
    EXPECT_TRUE(guion_.interacciones().isEmpty());
}

TEST_F(FrmAccesoTest, BlankKeysAreNotListedButABlankNameFindsTheFirstOfThem) {
    escribirBases(linea(" ", "Primera", "srvA") + linea("", "Segunda", "srvB"));
    frmAcceso f;
    f.Form_Load();
    EXPECT_TRUE(f.lstBases().isEmpty());
    f.DatosBase("   ");
    EXPECT_EQ(f.servidorEncontrado(), "srvA");
    EXPECT_EQ(f.baseEncontrada(), "Primera");
}

TEST_F(FrmAccesoTest, LookUpIsExactCaseSensitiveFirstMatchAndKeepsOldValuesOtherwise) {
    escribirBases(linea("VENTAS", "Uno", "srv1") + linea("VENTAS", "Dos", "srv2") +
                  linea("ventas", "Tres", "srv3"));
    frmAcceso f;
    f.DatosBase("  VENTAS ");
    EXPECT_EQ(f.baseEncontrada(), "Uno");
    f.DatosBase("ventas");
    EXPECT_EQ(f.baseEncontrada(), "Tres");
    f.DatosBase("Ventas");
    EXPECT_EQ(f.baseEncontrada(), "Tres");
    EXPECT_EQ(f.servidorEncontrado(), "srv3");
    // Registration's test for existence: clear, look up, test.
    f.setServidorEncontrado(QString());
    f.DatosBase("NINGUNA");
    EXPECT_TRUE(f.servidorEncontrado().isEmpty());
}

TEST_F(FrmAccesoTest, PortIsTakenFromTheServerAndKeptForEntriesWithoutOne) {
    escribirBases(linea("CON PUERTO", "Db1", "srv01:1500") + linea("SIN PUERTO", "Db2", "srv02") +
                  linea("ORACLE", "Orcl", "#ora01"));
    frmAcceso f;
    f.Form_Load();
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "SRV01");
    EXPECT_EQ(f.texto(frmAcceso::TxtPuerto), "1500");
    EXPECT_EQ(f.puerto().toString(), "1500");

    f.lstBases_Click(1);
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "srv02"); // case unchanged without a port
    EXPECT_EQ(f.texto(frmAcceso::TxtPuerto), "1500");

    f.lstBases_Click(2);
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "#ora01");

    // The port outlives the window.
    f.Form_Load();
    EXPECT_EQ(f.puerto().toString(), "1500");
}

TEST_F(FrmAccesoTest, SelectingClearsTypedUserAndPassword) {
    escribirBases(linea("A", "Db1", "s1") + linea("B", "Db2", "s2"));
    frmAcceso f;
    f.Form_Load();
    f.setTexto(frmAcceso::TxtUserId, "ana");
    f.setTexto(frmAcceso::TxtUserPassword, "clave");
    f.lstBases_Click(1);
    EXPECT_EQ(f.texto(frmAcceso::TxtUserId), "");
    EXPECT_EQ(f.texto(frmAcceso::TxtUserPassword), "");
    f.TxtUserId_GotFocus();
    EXPECT_EQ(f.texto(frmAcceso::TxtUserId), "Ingrese el usuario");
}

TEST_F(FrmAccesoTest, HintsAreSelectedColouredAndComeBackWhenABoxIsEmptied) {
    frmAcceso f;
    f.Form_Load();
    const QString hint = "ingrese el nombre de la base de datos";
    EXPECT_EQ(f.texto(frmAcceso::TxtDbName), hint);
    EXPECT_EQ(f.colorTexto(frmAcceso::TxtDbName), frmAcceso::kColorHint);
    EXPECT_EQ(f.selInicio(frmAcceso::TxtDbName), 0);
    EXPECT_EQ(f.selLargo(frmAcceso::TxtDbName), hint.size());

    f.setTexto(frmAcceso::TxtDbName, "Ventas");
    EXPECT_EQ(f.texto(frmAcceso::TxtDbName), "Ventas");
    f.setTexto(frmAcceso::TxtDbName, "   ");
    EXPECT_EQ(f.texto(frmAcceso::TxtDbName), hint);
    // The user box gets its hint on focus only, not on change.
    f.setTexto(frmAcceso::TxtUserId, "");
    EXPECT_EQ(f.texto(frmAcceso::TxtUserId), "");
    // The password's hint is empty: blanks are cleared.
    f.setTexto(frmAcceso::TxtUserPassword, "  ");
    EXPECT_EQ(f.texto(frmAcceso::TxtUserPassword), "");
    EXPECT_EQ(f.selLargo(frmAcceso::TxtUserPassword), 0);
}

TEST_F(FrmAccesoTest, AceptarAndCancelarSetTheFlagThatOutlivesTheWindow) {
    frmAcceso f;
    int ocultados = 0;
    QObject::connect(&f, &frmAcceso::ocultar, [&] { ++ocultados; });
    f.Form_Load();
    EXPECT_FALSE(f.Aceptar());
    f.bcAceptar_Click();
    EXPECT_TRUE(f.Aceptar());
    f.Form_Load();
    EXPECT_TRUE(f.Aceptar());
    f.bcCancelar_Click();
    EXPECT_FALSE(f.Aceptar());
    EXPECT_EQ(ocultados, 2);
}

TEST_F(FrmAccesoTest, DoubleClickAssignsAndAccepts) {
    escribirBases(linea("A", "Db1", "s1") + linea("B", "Db2", "s2"));
    frmAcceso f;
    f.Form_Load();
    f.lstBases_DblClick(1);
    EXPECT_TRUE(f.Aceptar());
    EXPECT_EQ(f.texto(frmAcceso::TxtDbName), "Db2");
}

TEST_F(FrmAccesoTest, PlatformChoiceAndTheEmbeddedDatabase) {
    EXPECT_EQ(frmAcceso::plataformas(), QStringList({"SQL Server", "ORACLE", "SQLite (local)"}));
    frmAcceso f;
    f.Form_Load();
    EXPECT_EQ(f.CboPlataformaDB(), frmAcceso::SqlServer);
    f.setTexto(frmAcceso::TxtServidor, "srv01");
    f.setCboPlataformaDB(frmAcceso::Oracle);
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "srv01");
    f.setCboPlataformaDB(frmAcceso::Sqlite);
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "sqlite");
    f.setCboPlataformaDB(7);
    EXPECT_EQ(f.CboPlataformaDB(), frmAcceso::Sqlite);
}

TEST_F(FrmAccesoTest, PromptValuesReplaceTheListEntryAndGoBackWithTheFlag) {
    escribirBases(linea("A", "Db1", "s1"));
    frmAcceso f;
    f.Form_Load();
    rp::db::AccesoPrompt p;
    p.TxtDbName = "EMPRESA";
    p.TxtServidor = "SRV1\\INST";
    p.TxtUserId = "operador";
    p.TxtUserPassword = "";
    f.recibirPrompt(p);
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "SRV1\\INST");
    EXPECT_EQ(f.texto(frmAcceso::TxtDbName), "EMPRESA");

    f.setCboPlataformaDB(frmAcceso::Oracle);
    f.bcAceptar_Click();
    rp::db::AccesoPrompt vuelta;
    f.entregarPrompt(vuelta);
    EXPECT_TRUE(vuelta.Aceptar);
    EXPECT_EQ(vuelta.TxtServidor, "SRV1\\INST");
    EXPECT_EQ(vuelta.TxtUserId, "operador");
    EXPECT_EQ(vuelta.CboPlataformaDB, 1);

    // Empty prompt values leave the hints, which go back as typed values.
    rp::db::AccesoPrompt vacio;
    f.Form_Load();
    f.recibirPrompt(vacio);
    f.setCboPlataformaDB(frmAcceso::Sqlite);
    f.setTexto(frmAcceso::TxtDbName, "demo");
    f.bcCancelar_Click();
    f.entregarPrompt(vuelta);
    EXPECT_FALSE(vuelta.Aceptar);
    EXPECT_EQ(vuelta.TxtServidor, "sqlite");
    EXPECT_EQ(vuelta.TxtDbName, "demo");
    EXPECT_EQ(vuelta.TxtUserId, "");
    EXPECT_EQ(vuelta.CboPlataformaDB, 0); // the SQL Server layout with Server=sqlite
}

TEST_F(FrmAccesoTest, ShortEntryAtTheEndAsksTheOperatorUnderFormLoad) {
    escribirBases(linea("A", "Db1", "s1") + "B,Db2\r\n");
    {
        // Ignore: the complete entries are listed and the first one assigned.
        guion_.responderMensaje(5);
        frmAcceso f;
        f.Form_Load();
        ASSERT_EQ(guion_.mensajes().size(), 1);
        EXPECT_TRUE(guion_.mensajes()[0].titulo.contains("FormLoad"));
        EXPECT_TRUE(guion_.mensajes()[0].texto.contains("Input past end of file"));
        EXPECT_EQ(f.lstBases(), QStringList({"A"}));
        EXPECT_EQ(f.lstBasesIndice(), 0);
        EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "s1");
    }
    guion_.limpiar();
    {
        // Retry reads again (still failing), then abort: listed, nothing selected.
        guion_.responderMensaje(4);
        guion_.responderMensaje(3);
        frmAcceso f;
        f.Form_Load();
        EXPECT_EQ(guion_.mensajes().size(), 2);
        EXPECT_EQ(f.lstBases(), QStringList({"A"}));
        EXPECT_EQ(f.lstBasesIndice(), -1);
    }
    guion_.limpiar();
    {
        // Retry after the file was mended succeeds.
        frmAcceso f;
        guion_.responderMensaje(4);
        QObject::connect(&f, &frmAcceso::listaCambiada, [&] {
            if (f.lstBases().size() == 1 && guion_.mensajes().isEmpty()) {
                escribirBases(linea("A", "Db1", "s1") + linea("B", "Db2", "s2"));
            }
        });
        f.Form_Load();
        EXPECT_EQ(f.lstBases(), QStringList({"A", "B"}));
    }
    EXPECT_TRUE(guion_.sinInesperadas()) << guion_.resumenInesperadas().toStdString();
}

TEST_F(FrmAccesoTest, LookUpOfAMissingKeyInABrokenFileShowsTheErrorBox) {
    escribirBases(linea("A", "Db1", "s1") + "B,Db2\r\n");
    frmAcceso f;
    f.DatosBase("A");
    EXPECT_EQ(f.baseEncontrada(), "Db1");
    EXPECT_TRUE(guion_.mensajes().isEmpty()); // found before the broken end
    guion_.responderMensaje(4);
    f.DatosBase("B");
    ASSERT_EQ(guion_.mensajes().size(), 1);
    EXPECT_EQ(f.baseEncontrada(), "Db1");
    EXPECT_EQ(guion_.pendientes(), 0);
}
