#include "DbPrueba.h"
#include "db/AccesoPrompt.h"

#include <QDir>

namespace rp::db::test {
namespace {

class DbConexion : public DbPrueba {
protected:
    QString cadenaSqlite(const QString& ruta) {
        return QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =") + ruta +
               QStringLiteral(";UId=operador;Pwd=;");
    }
    // The connection prompt answered by `rellenar`.
    void responderPrompt(std::function<void(AccesoPrompt&)> rellenar) {
        op.responderDialogo([rellenar](ui::DialogoModal& d) {
            auto* prompt = dynamic_cast<AccesoPrompt*>(&d);
            EXPECT_NE(prompt, nullptr);
            if (!prompt)
                return false;
            rellenar(*prompt);
            return prompt->Aceptar;
        });
    }
    void usuarios(const QString& valor) {
        DB_Dll admin;
        datosSqlite(admin);
        admin.OpenServerADODB(false, 3, QString(), false, false);
        ASSERT_TRUE(admin.gOpenFlag);
        sql(QStringLiteral("CREATE TABLE IF NOT EXISTS TA_USUARIOS (nombre varchar(20), "
                           "Administrador varchar(5))"),
            &admin);
        sql(QStringLiteral("DELETE FROM TA_USUARIOS"), &admin);
        if (!valor.isNull())
            sql(QStringLiteral("INSERT INTO TA_USUARIOS VALUES ('operador', %1)").arg(valor),
                &admin);
    }
    // Opens the shared object afresh with the administrator decision on.
    bool abrirComoOperador(bool muestraError) {
        reiniciar(db);
        datosSqlite(db);
        db.OpenServerADODB(false, 3, QString(), true, muestraError);
        return db.gEsAdmin;
    }
};

TEST_F(DbConexion, CadenasDeConexionDeServidor) {
    DB_Dll sqlServer;
    sqlServer.gServidor = QStringLiteral("SRV1\\INST");
    sqlServer.gDBName = QStringLiteral("EMPRESA");
    sqlServer.gUsuario = QStringLiteral("operador");
    sqlServer.gEsAdmin = true;
    sqlServer.OpenServerADODB(false, 3, QString(), true, false);
    EXPECT_EQ(sqlServer.gConnString,
              "PROVIDER=SQLOLEDB;Server=SRV1\\INST;Database =EMPRESA;UId=operador;Pwd=;");
    EXPECT_EQ(sqlServer.gProveedor, "SQLOLEDB");
    EXPECT_FALSE(sqlServer.gOpenFlag);
    EXPECT_TRUE(sqlServer.gEsAdmin) << "a failed open leaves the decision as it was";

    DB_Dll oracle;
    oracle.gServidor = QStringLiteral("#SRV1");
    oracle.gDBName = QStringLiteral("ORCL");
    oracle.gUsuario = QStringLiteral("operador");
    oracle.gUserPassWord = QStringLiteral("clave");
    oracle.gExtended = QStringLiteral("Connect Timeout=5;");
    oracle.OpenServerADODB(false, 3, QStringLiteral("   "), true, false);
    EXPECT_EQ(oracle.gConnString,
              "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=operador;Password=clave;");
    EXPECT_FALSE(oracle.gOpenFlag);

    DB_Dll extendida;
    extendida.gServidor = QStringLiteral("sqlite");
    extendida.gDBName = archivo;
    extendida.gExtended = QStringLiteral("Application Name=rp;");
    extendida.OpenServerADODB(false, 3, QString(), false, false);
    EXPECT_EQ(extendida.gConnString, "PROVIDER=SQLOLEDB;Server=sqlite;Database =" + archivo +
                                         ";UId=;Pwd=;Application Name=rp;");
    EXPECT_TRUE(extendida.gOpenFlag);
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbConexion, UnaCadenaDadaSeUsaTalCual) {
    DB_Dll otro;
    otro.gServidor = QStringLiteral("NO_SE_USA");
    const QString cadena = cadenaSqlite(archivo);
    otro.OpenServerADODB(false, 2, cadena, false, false);
    EXPECT_TRUE(otro.gOpenFlag);
    EXPECT_EQ(otro.gConnString, cadena);
    EXPECT_EQ(otro.gCnn->connectionString(), cadena);
    EXPECT_EQ(otro.gCnn->cursorLocation(), 2);
    EXPECT_TRUE(otro.gEsAdmin) << "no user check asked for";
}

TEST_F(DbConexion, DecisionDeAdministrador) {
    // Without the user table the decision is not taken.
    EXPECT_FALSE(abrirComoOperador(true));
    EXPECT_TRUE(db.gOpenFlag);
    reiniciar(db);
    db.gEsAdmin = true;
    datosSqlite(db);
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_TRUE(db.gEsAdmin);

    usuarios(QStringLiteral("'0'"));
    EXPECT_TRUE(abrirComoOperador(false)) << "without error reports the table alone decides";
    EXPECT_FALSE(abrirComoOperador(true));
    usuarios(QStringLiteral("'1'"));
    EXPECT_TRUE(abrirComoOperador(true));
    usuarios(QStringLiteral("1"));
    EXPECT_TRUE(abrirComoOperador(true));
    usuarios(QStringLiteral("''"));
    EXPECT_FALSE(abrirComoOperador(true));
    usuarios(QString());
    EXPECT_FALSE(abrirComoOperador(true));
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbConexion, AbrirUnaConexionAbiertaCierraYReintentaUnaVez) {
    abrir();
    db.OpenServerADODB(false, 3, QString(), false, false);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gCnn->isOpen());
    db.OpenServerADODB(false, 3, QString(), false, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbConexion, MensajeDeFallaDeConexion) {
    const QString falta = dir.filePath(QStringLiteral("falta/EMPRESA.db"));
    datosSqlite(db, falta);
    op.responderMensaje(ui::vbNo);
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(cajas().size(), 1);
    ASSERT_FALSE(db.gCnn->errors().isEmpty());
    const ProviderError e = db.gCnn->errors().first();
    const QString esperado =
        " Estado de Sql: " + e.sqlState + "\rNumero de Error: " + QString::number(e.number) +
        "\rDescripcion: " + e.description + "\rCodigo Nativo: " + QString::number(e.nativeError) +
        "\r\r\nNombre de Proceso: rp_tarifario\r\r\n\r\n"
        "1. Verifique el Usuario, contraseña y base de datos\r\n"
        "2. Verifique el nombre del servidor, quizas necesite agregarle el nombre de la "
        "instancia, por ejemplo : sqlite\\QUIMERA\r\n"
        "3. Verifique si el inicio de sesion para el usuario operador existe\r\n\r\n\r\n"
        " - Desea Intentarlo Nuevamente??? ";
    EXPECT_EQ(cajas().first().texto, esperado);
    EXPECT_EQ(cajas().first().titulo, " Error de Conexion a Base de Datos");
    EXPECT_EQ(cajas().first().estilo, 20);
    EXPECT_EQ(db.gConnString, cadenaSqlite(falta)) << "the attempted string stays";
}

TEST_F(DbConexion, SiTrasLaFallaVuelveAPreguntarYConecta) {
    datosSqlite(db, dir.filePath(QStringLiteral("falta/EMPRESA.db")));
    op.responderMensaje(ui::vbYes);
    responderPrompt([&](AccesoPrompt& p) {
        EXPECT_EQ(p.dialogName(), "frmAcceso");
        EXPECT_EQ(p.TxtServidor, "sqlite");
        EXPECT_EQ(p.CboPlataformaDB, 0);
        p.TxtDbName = archivo;
        p.Aceptar = true;
    });
    db.OpenServerADODB(false, 3, QString(), false, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gCnn->isOpen());
    EXPECT_EQ(db.gDBName, archivo);
    EXPECT_EQ(db.gProveedor, "SQLOLEDB");
    EXPECT_EQ(cajas().size(), 1);
}

TEST_F(DbConexion, SiYLuegoCancelarElPrompt) {
    datosSqlite(db, dir.filePath(QStringLiteral("falta/EMPRESA.db")));
    op.responderMensaje(ui::vbYes);
    responderPrompt([](AccesoPrompt& p) { p.Aceptar = false; });
    db.OpenServerADODB(false, 3, QString(), false, true);
    EXPECT_FALSE(db.gOpenFlag);
}

TEST_F(DbConexion, PromptConOracle) {
    db.gServidor = QStringLiteral("SRV1");
    db.gDBName = QStringLiteral("ORCL");
    db.gUsuario = QStringLiteral("operador");
    db.gUserPassWord = QStringLiteral("clave");
    responderPrompt([](AccesoPrompt& p) {
        EXPECT_EQ(p.TxtDbName, "ORCL");
        EXPECT_EQ(p.TxtUserId, "operador");
        EXPECT_EQ(p.TxtUserPassword, "clave");
        p.CboPlataformaDB = AccesoPrompt::Oracle;
        p.Aceptar = true;
    });
    db.OpenServerADODB(true, 3, QString(), true, false);
    EXPECT_EQ(db.gServidor, "#SRV1");
    EXPECT_EQ(db.gProveedor, "OraOLEDB.Oracle.1");
    EXPECT_EQ(db.gConnString,
              "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=operador;Password=clave;");
    EXPECT_FALSE(db.gOpenFlag) << "no Oracle server here: the open fails silently";

    responderPrompt([](AccesoPrompt& p) {
        EXPECT_EQ(p.TxtServidor, "#SRV1");
        p.CboPlataformaDB = AccesoPrompt::Oracle;
        p.Aceptar = true;
    });
    db.OpenServerADODB(true, 3, QString(), true, false);
    EXPECT_EQ(db.gServidor, "#SRV1");
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbConexion, PromptCanceladoNoAbre) {
    datosSqlite(db);
    responderPrompt([](AccesoPrompt& p) { p.Aceptar = false; });
    db.OpenServerADODB(true, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_FALSE(db.gCnn && db.gCnn->isOpen());
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbConexion, PromptAceptadoReemplazaLaCadenaDada) {
    responderPrompt([&](AccesoPrompt& p) {
        p.TxtServidor = QStringLiteral("sqlite");
        p.TxtDbName = archivo;
        p.TxtUserId = QStringLiteral("nuevo");
        p.Aceptar = true;
    });
    db.OpenServerADODB(true, 3, QStringLiteral("DSN=no_existe;"), false, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gUsuario, "nuevo");
    EXPECT_EQ(db.gConnString,
              "PROVIDER=SQLOLEDB;Server=sqlite;Database =" + archivo + ";UId=nuevo;Pwd=;");
}

class DbLocal : public DbConexion {
protected:
    DB_Dll local;
    const QString id = QStringLiteral("User ID");
    const QString pwd = QStringLiteral("Jet OLEDB:Database Password");
    void SetUp() override {
        DbConexion::SetUp();
        local.gProveedor = DB_Dll::pJETOLEDB40();
        local.gUsuario = QStringLiteral("Admin");
    }
    QString cadenaJet(const QString& ruta) const {
        return "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =" + ruta +
               ";User ID=Admin;Jet OLEDB:Database Password=;";
    }
};

TEST_F(DbLocal, SinNombreMuestraElDialogoPrimero) {
    op.responderArchivo(std::nullopt);
    local.OpenLocalADODB(QString(), id, pwd);
    EXPECT_FALSE(local.gCnn && local.gCnn->isOpen());
    ASSERT_EQ(op.interacciones().size(), 1);
    EXPECT_EQ(op.interacciones().first().titulo, "Buscar Base de Datos");
    EXPECT_TRUE(cajas().isEmpty());
    EXPECT_FALSE(local.gOpenFlag);
}

TEST_F(DbLocal, ArchivoQueFaltaONoEsUnaBase) {
    local.gDBName = dir.filePath(QStringLiteral("falta.db"));
    QFile texto(dir.filePath(QStringLiteral("texto.db")));
    ASSERT_TRUE(texto.open(QIODevice::WriteOnly));
    texto.write("esto no es una base de datos, solo texto");
    texto.close();
    op.responderArchivo(texto.fileName());
    op.responderArchivo(archivo);
    local.OpenLocalADODB(QString(), id, pwd);
    ASSERT_TRUE(local.gCnn && local.gCnn->isOpen());
    EXPECT_EQ(local.gDBName, archivo);
    EXPECT_EQ(local.gConnString, cadenaJet(archivo));
    EXPECT_EQ(op.interacciones().size(), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("falta.db"))))
        << "a missing file is never created";
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbLocal, CadenaDadaYConexionYaAbierta) {
    local.gDBName = QStringLiteral("no se usa");
    local.OpenLocalADODB(cadenaJet(archivo), id, pwd);
    ASSERT_TRUE(local.gCnn->isOpen());
    EXPECT_EQ(local.gConnString, cadenaJet(archivo));

    op.responderMensaje(ui::vbOK);
    local.OpenLocalADODB(cadenaJet(archivo), id, pwd);
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_EQ(cajas().first().texto, "3705  Operation is not allowed when the object is open.");
    EXPECT_EQ(cajas().first().estilo, 16);
}

} // namespace
} // namespace rp::db::test
