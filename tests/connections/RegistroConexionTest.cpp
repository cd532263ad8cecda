// "Registrar" and "Crear Acceso Directo" of the connection dialog on real
// connections: SQLite database files, unixODBC with Debian's SQLite ODBC
// driver standing in for the SQL Server driver, the user's desktop folder.
#include "AccesoFixture.h"
#include "connections/AccesoDirecto.h"
#include "connections/OrigenDatosOdbc.h"
#include "connections/frmAcceso.h"
#include "db/DB_Dll.h"
#include "db/provider/ConnectionString.h"
#include "suite/Utilidades.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <sqlite3.h>

using rp::connections::AccesoDirecto;
using rp::connections::frmAcceso;
using rp::connections::OrigenDatosOdbc;
using rp::suite::Utilidades;
using Tipo = rp::ui::OperadorGuion::Tipo;

namespace {

void crearBaseSqlite(const QString& ruta, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QString ejecutar(const QString& programa, const QStringList& args, int* estado = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, args);
    if (!p.waitForFinished(30000))
        return QStringLiteral("<no terminó>");
    if (estado != nullptr)
        *estado = p.exitCode();
    return QString::fromUtf8(p.readAll());
}

} // namespace

// A program folder, the shared database object closed and cleared, the
// connection layer's settings pointing at the folder, and the environment of
// ODBC and the desktop inside a temporary home.
class RegistroConexionTest : public AccesoFixture {
protected:
    void SetUp() override {
        AccesoFixture::SetUp();
        ASSERT_TRUE(hogar_.isValid());
        ajustesAnteriores_ = rp::db::providerSettings();
        rp::db::ProviderSettings ajustes;
        ajustes.programFolder = carpeta_.path() + QLatin1Char('/');
        rp::db::setProviderSettings(ajustes);
        limpiarBase();
        for (const char* v : {"HOME", "ODBCINI", "ODBCSYSINI", "XDG_CONFIG_HOME"})
            anterioresEntorno_.append({v, qgetenv(v)});
        qputenv("HOME", hogar_.path().toLocal8Bit());
        qputenv("ODBCINI", hogar_.filePath("odbc.ini").toLocal8Bit());
        qputenv("ODBCSYSINI", hogar_.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", hogar_.filePath("config").toLocal8Bit());
        QFile drivers(hogar_.filePath("odbcinst.ini"));
        ASSERT_TRUE(drivers.open(QIODevice::WriteOnly));
        drivers.write("[SQLite3]\nDescription=SQLite3 ODBC Driver\n"
                      "Driver=libsqlite3odbc.so\nSetup=libsqlite3odbc.so\n");
    }
    void TearDown() override {
        limpiarBase();
        rp::db::setProviderSettings(ajustesAnteriores_);
        for (const auto& [nombre, valor] : anterioresEntorno_) {
            if (valor.isNull())
                qunsetenv(nombre);
            else
                qputenv(nombre, valor);
        }
        AccesoFixture::TearDown();
    }
    static void limpiarBase() {
        rp::db::DB_Dll& db = rp::db::baseCompartida();
        if (db.conexion().isOpen())
            db.conexion().close();
        db.conexion().clearErrors();
        db.gOpenFlag = false;
        db.gServidor.clear();
        db.gDBName.clear();
        db.gUsuario.clear();
        db.gUserPassWord.clear();
        db.gProveedor.clear();
    }
    void tipear(frmAcceso& f, const QString& servidor, const QString& base,
                const QString& usuario = "ana", const QString& clave = "x") {
        f.setTexto(frmAcceso::TxtServidor, servidor);
        f.setTexto(frmAcceso::TxtDbName, base);
        f.setTexto(frmAcceso::TxtUserId, usuario);
        f.setTexto(frmAcceso::TxtUserPassword, clave);
    }
    QString odbcIni() const {
        QFile f(hogar_.filePath("odbc.ini"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QByteArray entrada(const QString& base, const QString& servidor, const QString& clave) {
        return (clave + "," + base + "," + base + "," + Utilidades::CodificarClave(base) + "," +
                servidor + "\r\n")
            .toLatin1();
    }

    QTemporaryDir hogar_;
    rp::db::ProviderSettings ajustesAnteriores_;
    QList<QPair<const char*, QByteArray>> anterioresEntorno_;
};

TEST_F(RegistroConexionTest, ASqliteDatabaseThatOpensIsRegisteredAndTheListRefreshed) {
    crearBaseSqlite(carpeta_.filePath("Ventas.db"), "CREATE TABLE t(x);");
    crearBaseSqlite(carpeta_.filePath("STOCK.db"), "CREATE TABLE t(x);");
    frmAcceso f;
    f.Form_Load();
    // The test with the upper-cased name finds no VENTAS.db; the typed
    // credentials open Ventas.db.
    tipear(f, "  sqlite ", " Ventas ");
    f.setTexto(frmAcceso::TxtPuerto, "");
    f.CmdRegistrar_Click();
    // The test with the database name as user opens STOCK.db directly.
    tipear(f, "SQLite", "stock");
    f.CmdRegistrar_Click();

    EXPECT_EQ(leerBases(), entrada("Ventas", "sqlite", "VENTAS / SQLITE") +
                               entrada("stock", "SQLite", "STOCK / SQLITE"));
    EXPECT_TRUE(guion_.interacciones().isEmpty()) << guion_.resumenInesperadas().toStdString();
    EXPECT_EQ(f.lstBases(), QStringList({"VENTAS / SQLITE", "STOCK / SQLITE"}));
    // The boxes show the first entry, user and password cleared, the port
    // set by the registration.
    EXPECT_EQ(f.lstBasesIndice(), 0);
    EXPECT_EQ(f.texto(frmAcceso::TxtDbName), "Ventas");
    EXPECT_EQ(f.texto(frmAcceso::TxtServidor), "sqlite");
    EXPECT_EQ(f.texto(frmAcceso::TxtUserId), "");
    EXPECT_EQ(f.texto(frmAcceso::TxtPuerto), "1433");
    // The embedded database needs no ODBC data source; the shared
    // connection is left closed with the typed credentials in place.
    EXPECT_FALSE(QFileInfo::exists(hogar_.filePath("odbc.ini")));
    rp::db::DB_Dll& db = rp::db::baseCompartida();
    EXPECT_FALSE(db.conexion().isOpen());
    EXPECT_EQ(db.gDBName, "Ventas");
    EXPECT_EQ(db.gUsuario, "ana");
}

TEST_F(RegistroConexionTest, AMissingDatabaseIsNotRegisteredEvenWhenTheFlagSaysOpen) {
    rp::db::baseCompartida().gOpenFlag = true; // as under the start-up prompt
    frmAcceso f;
    f.Form_Load();
    tipear(f, "sqlite", "NoEsta");
    guion_.responderMensaje(rp::ui::vbNo); // no retry of the failed open
    guion_.responderMensaje(rp::ui::vbOK);
    f.CmdRegistrar_Click();

    EXPECT_FALSE(QFileInfo::exists(rutaBases()));
    EXPECT_FALSE(QFileInfo::exists(carpeta_.filePath("NoEsta.db")));
    EXPECT_FALSE(QFileInfo::exists(carpeta_.filePath("NOESTA.db")));
    const auto mensajes = guion_.mensajes();
    ASSERT_EQ(mensajes.size(), 2) << guion_.resumenInesperadas().toStdString();
    // The database object's own failure box, its retry declined.
    EXPECT_EQ(mensajes.first().titulo, " Error de Conexion a Base de Datos");
    EXPECT_EQ(mensajes.last().texto, "NO SE PUDO CONECTAR AL SERVIDOR sqlite VERIFIQUE EL "
                                     "NOMBRE DE USUARIO Y PASSWORD INGRESADO");
    EXPECT_EQ(mensajes.last().titulo, "AVISO AL OPERADOR");
    EXPECT_EQ(mensajes.last().estilo, rp::ui::estilo::Information);
    EXPECT_TRUE(f.lstBases().isEmpty());
    EXPECT_FALSE(rp::db::baseCompartida().conexion().isOpen());
}

TEST_F(RegistroConexionTest, ConnectionTestAnswersTheTruthAndClosesWhatItOpened) {
    crearBaseSqlite(carpeta_.filePath("VENTAS.db"), "CREATE TABLE t(x);");
    rp::db::DB_Dll& db = rp::db::baseCompartida();
    const QString prov = rp::db::DB_Dll::pSQLOLEDB();

    // Flag set, connection never opened: the close fails, the test still tells.
    db.gOpenFlag = true;
    EXPECT_TRUE(frmAcceso::ExisteBaseDeDatos("sqlite", "VENTAS", "VENTAS", "VENTAS", prov));
    EXPECT_FALSE(db.conexion().isOpen());
    EXPECT_TRUE(db.gOpenFlag);

    // An open connection is closed first; a failed open leaves no diagnostics.
    db.conexion().open("PROVIDER=SQLOLEDB;Server=sqlite;Database =VENTAS;");
    EXPECT_FALSE(frmAcceso::ExisteBaseDeDatos("sqlite", "OTRA", "OTRA", "OTRA", prov));
    EXPECT_FALSE(db.conexion().isOpen());
    EXPECT_TRUE(db.conexion().errors().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(carpeta_.filePath("OTRA.db")));

    db.gOpenFlag = false;
    EXPECT_TRUE(frmAcceso::ExisteBaseDeDatos("sqlite", "VENTAS", "", "", prov));
    EXPECT_FALSE(db.conexion().isOpen());
}

TEST_F(RegistroConexionTest, KeysAlreadyListedInAnyLetterCaseWriteNothing) {
    const QByteArray lista =
        entrada("Ventas", "srv01", "VENTAS / SRV01") + entrada("Stock", "srv02", "stock / srv02");
    escribirBases(lista);
    frmAcceso f;
    f.Form_Load();
    for (int i = 0; i < 3; ++i)
        guion_.responderMensaje(rp::ui::vbOK);
    tipear(f, "Srv01", "ventas");
    f.CmdRegistrar_Click();
    // A port typed after the server is not part of the key.
    tipear(f, "srv01:1500", "VENTAS");
    f.CmdRegistrar_Click();
    // A key written in small letters by hand is the same connection.
    tipear(f, "SRV02", "STOCK");
    f.CmdRegistrar_Click();

    EXPECT_EQ(leerBases(), lista);
    const auto mensajes = guion_.mensajes();
    ASSERT_EQ(mensajes.size(), 3);
    for (const auto& m : mensajes) {
        EXPECT_EQ(m.texto, "La conexion que intenta registrar ya existe ");
        EXPECT_EQ(m.titulo, "Atencion");
        EXPECT_EQ(m.estilo, rp::ui::estilo::Information);
        EXPECT_FALSE(m.inesperada);
    }
    EXPECT_FALSE(rp::db::baseCompartida().conexion().isOpen());
}

TEST_F(RegistroConexionTest, ValuesTheListCannotHoldAreRefusedBeforeAnyConnection) {
    crearBaseSqlite(carpeta_.filePath("a,b.db"), "CREATE TABLE t(x);");
    frmAcceso f;
    f.Form_Load();
    for (const QString& base : {QStringLiteral("a,b"), QStringLiteral("a\"b"),
                                QStringLiteral("a\nb"), QStringLiteral("数据")}) {
        guion_.limpiar();
        guion_.responderMensaje(rp::ui::vbOK);
        tipear(f, "sqlite", base);
        f.CmdRegistrar_Click();
        const auto mensajes = guion_.mensajes();
        ASSERT_EQ(mensajes.size(), 1) << base.toStdString();
        EXPECT_TRUE(mensajes.first().texto.startsWith("No se puede registrar la conexion: \""));
        EXPECT_TRUE(mensajes.first().texto.contains("la lista de conexiones no admite"));
    }
    EXPECT_FALSE(QFileInfo::exists(rutaBases()));
    EXPECT_FALSE(rp::db::baseCompartida().conexion().isOpen());
}

TEST_F(RegistroConexionTest, UserDataSourceIsWrittenAndOpensThroughUnixOdbc) {
    // The SQLite ODBC driver stands in for the SQL Server driver: the server
    // part goes to the data source, the database is the file.
    rp::db::ProviderSettings ajustes = rp::db::providerSettings();
    ajustes.sqlServerDriver = QStringLiteral("SQLite3");
    rp::db::setProviderSettings(ajustes);
    crearBaseSqlite(carpeta_.filePath("Ventas.db"),
                    "CREATE TABLE precios(codigo TEXT); INSERT INTO precios VALUES('A1');");
    frmAcceso f;
    f.Form_Load();
    tipear(f, "srv01", "Ventas");
    f.CmdRegistrar_Click();
    EXPECT_TRUE(guion_.interacciones().isEmpty()) << guion_.resumenInesperadas().toStdString();
    EXPECT_EQ(leerBases(), entrada("Ventas", "srv01", "VENTAS / SRV01"));

    const QString ini = odbcIni();
    EXPECT_TRUE(ini.contains("[Ventas]")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Driver=SQLite3")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Server=srv01")) << ini.toStdString();
    EXPECT_FALSE(ini.contains("PWD", Qt::CaseInsensitive)) << ini.toStdString();

    // unixODBC's own tool lists it, and the data source reaches the database.
    EXPECT_TRUE(ejecutar("odbcinst", {"-q", "-s"}).contains("[Ventas]"));
    rp::db::Connection cnn;
    cnn.open("DSN=Ventas;");
    auto cursor = cnn.execute("SELECT codigo FROM precios");
    ASSERT_TRUE(cursor);
    ASSERT_TRUE(cursor->fetch());
    EXPECT_EQ(cursor->value(0).toString(), "A1");
    cursor.reset();
    cnn.close();

    // A second registration of another database replaces nothing of the first.
    crearBaseSqlite(carpeta_.filePath("Stock.db"), "CREATE TABLE t(x);");
    tipear(f, "srv01", "Stock");
    f.CmdRegistrar_Click();
    EXPECT_TRUE(odbcIni().contains("[Ventas]"));
    EXPECT_TRUE(odbcIni().contains("[Stock]"));
}

TEST_F(RegistroConexionTest, TheProgramFoldersOwnDataSourceProgramRunsInstead) {
    crearBaseSqlite(carpeta_.filePath("Ventas.db"), "CREATE TABLE t(x);");
    const QString salida = carpeta_.filePath("odbc-args.txt");
    QFile programa(carpeta_.filePath("ODBC"));
    ASSERT_TRUE(programa.open(QIODevice::WriteOnly));
    programa.write(("#!/bin/sh\nprintf '%s|' \"$@\" > '" + salida + ".tmp' && mv '" + salida +
                    ".tmp' '" + salida + "'\n")
                       .toUtf8());
    programa.close();
    ASSERT_TRUE(programa.setPermissions(programa.permissions() | QFile::ExeOwner));
    EXPECT_EQ(frmAcceso::programaOrigenDatos(), QFileInfo(programa).absoluteFilePath());

    frmAcceso f;
    f.Form_Load();
    tipear(f, "sqlite", "Ventas");
    f.CmdRegistrar_Click();
    QElapsedTimer reloj;
    reloj.start();
    while (!QFileInfo::exists(salida) && reloj.elapsed() < 10000)
        QThread::msleep(20);
    QFile args(salida);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readAll(), "Server=sqlite;DB=Ventas;|");
    EXPECT_FALSE(QFileInfo::exists(hogar_.filePath("odbc.ini")));
}

TEST_F(RegistroConexionTest, DataSourceDefinitionAndRefusals) {
    rp::db::ProviderSettings ajustes;
    ajustes.sqlServerDriver = QStringLiteral("FreeTDS");
    const auto d = OrigenDatosOdbc::definir("srv01,1500", "Ventas", ajustes);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->driver, "FreeTDS");
    const QList<QPair<QString, QString>> esperados{{"Server", "srv01"},
                                                   {"Port", "1500"},
                                                   {"Database", "Ventas"},
                                                   {"TDS_Version", "7.4"},
                                                   {"ClientCharset", "UTF-8"}};
    EXPECT_EQ(d->atributos, esperados);
    EXPECT_FALSE(OrigenDatosOdbc::definir("sqlite", "Ventas", ajustes));

    QString error;
    EXPECT_FALSE(OrigenDatosOdbc::registrar("Mala[1]", *d, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(OrigenDatosOdbc::registrar("Ventas\nX", *d, error));
    EXPECT_FALSE(odbcIni().contains("Mala"));
}

TEST_F(RegistroConexionTest, DesktopLauncherInTheXdgDesktopFolderValidatesAndStartsTheProgram) {
    // The desktop folder named by the user's user-dirs.dirs.
    QDir(hogar_.path()).mkpath("config");
    QDir(hogar_.path()).mkpath("Escritorio");
    QFile dirs(hogar_.filePath("config/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n");
    dirs.close();
    EXPECT_EQ(AccesoDirecto::carpetaEscritorio(), hogar_.filePath("Escritorio"));

    // A program folder with every character the Exec line must quote.
    const QString carpeta =
        hogar_.filePath("Mi Suite $HOME `x` \"q\" 'y' \\z 100% #1 (a);b") + QLatin1Char('/');
    ASSERT_TRUE(QDir().mkpath(carpeta));
    rp::suite::Aplicacion::establecerCarpetaPrograma(carpeta);
    frmAcceso f;
    f.CmdLineaComando_Click();
    EXPECT_TRUE(guion_.interacciones().isEmpty()) << guion_.resumenInesperadas().toStdString();
    const QString ruta = hogar_.filePath("Escritorio/Vizuv Adorav.desktop");
    ASSERT_TRUE(QFileInfo::exists(ruta));
    EXPECT_TRUE(QFileInfo(ruta).isExecutable());
    int estado = -1;
    const QString validacion = ejecutar("desktop-file-validate", {ruta}, &estado);
    EXPECT_EQ(estado, 0) << validacion.toStdString();
    EXPECT_TRUE(validacion.trimmed().isEmpty()) << validacion.toStdString();

    // GLib's launcher reads the Exec line back into the same arguments.
    const QString registro = hogar_.filePath("argumentos.txt");
    const QString programa = hogar_.filePath("mi programa $1");
    QFile script(programa);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + registro + ".tmp' && mv '" + registro +
                  ".tmp' '" + registro + "'\n")
                     .toUtf8());
    script.close();
    ASSERT_TRUE(script.setPermissions(script.permissions() | QFile::ExeOwner));
    QString destino, error;
    ASSERT_TRUE(
        AccesoDirecto::crear(hogar_.filePath("Escritorio"), programa, carpeta, destino, error))
        << error.toStdString();
    EXPECT_EQ(destino, ruta);
    ejecutar("gio", {"launch", ruta});
    QElapsedTimer reloj;
    reloj.start();
    while (!QFileInfo::exists(registro) && reloj.elapsed() < 10000)
        QThread::msleep(20);
    QFile leido(registro);
    ASSERT_TRUE(leido.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(leido.readAll()), "--program-folder\n" + carpeta + "\n");
}

TEST_F(RegistroConexionTest, LauncherFailuresAreReportedNotThrown) {
    rp::suite::Aplicacion::establecerCarpetaPrograma(carpeta_.path());
    qputenv("XDG_CONFIG_HOME", hogar_.filePath("nada").toLocal8Bit());
    // No desktop folder at all: the message says where it was looked for.
    guion_.responderMensaje(rp::ui::vbOK);
    frmAcceso f;
    f.CmdLineaComando_Click();
    const auto mensajes = guion_.mensajes();
    ASSERT_EQ(mensajes.size(), 1);
    EXPECT_TRUE(mensajes.first().texto.startsWith("No se pudo crear el acceso directo "));
    EXPECT_TRUE(mensajes.first().texto.contains("Vizuv Adorav.desktop"));

    QString ruta, error;
    EXPECT_FALSE(
        AccesoDirecto::crear(hogar_.path(), "/usr/bin/x\ny", carpeta_.path(), ruta, error));
    EXPECT_FALSE(QFileInfo::exists(ruta));
}

TEST_F(RegistroConexionTest, CommandIsRunAndWaitedFor) {
    QString error;
    const QString marca = carpeta_.filePath("hecho");
    EXPECT_TRUE(frmAcceso::EjecutarCmdRegDB("sh -c \"sleep 0.2; touch '" + marca + "'\"", error));
    EXPECT_TRUE(QFileInfo::exists(marca));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(frmAcceso::EjecutarCmdRegDB(carpeta_.filePath("no-existe"), error));
    EXPECT_EQ(error, "Error al ejecutar el comando");
}

TEST_F(RegistroConexionTest, AListThatCannotBeWrittenIsReportedAndNoDataSourceIsMade) {
    rp::db::ProviderSettings ajustes = rp::db::providerSettings();
    ajustes.sqlServerDriver = QStringLiteral("SQLite3");
    rp::db::setProviderSettings(ajustes);
    crearBaseSqlite(carpeta_.filePath("VENTAS.db"), "CREATE TABLE t(x);");
    ASSERT_TRUE(QDir(carpeta_.path()).mkdir("BASES.TXT")); // a folder where the list goes
    frmAcceso f;
    tipear(f, "srv01", "VENTAS");
    guion_.responderMensaje(rp::ui::vbOK);
    f.CmdRegistrar_Click();
    const auto mensajes = guion_.mensajes();
    ASSERT_EQ(mensajes.size(), 1) << guion_.resumenInesperadas().toStdString();
    EXPECT_EQ(mensajes.first().texto,
              "SQL Server start failed.  \rSQL-DMO error:  75 Path/File access error");
    EXPECT_EQ(mensajes.first().estilo, rp::ui::estilo::OKOnly);
    EXPECT_FALSE(QFileInfo::exists(hogar_.filePath("odbc.ini")));
    EXPECT_FALSE(rp::db::baseCompartida().conexion().isOpen());
}
