#include "DbPrueba.h"
#include "suite/Texto1252.h"

#include <QDir>
#include <QRegularExpression>

namespace rp::db::test {
namespace {

using rp::ui::OperadorGuion;

class DbEjecucion : public DbPrueba {
protected:
    void SetUp() override {
        DbPrueba::SetUp();
        abrir();
        sql(QStringLiteral("CREATE TABLE T (a int, b varchar(10))"));
        sql(QStringLiteral("INSERT INTO T VALUES (1, 'uno')"));
    }
    QString log(const QString& ruta) {
        return rp::suite::Texto1252::leerArchivo(ruta).value_or(QString());
    }
    QString logPrograma() { return log(dir.filePath(QStringLiteral("KSERR.LOG"))); }
    // The error box of the layer for a routine.
    static QString titulo(const QString& rutina) {
        return rutina + QStringLiteral(" -  Aviso al operador!!! - 5 ");
    }
};

TEST_F(DbEjecucion, AbreYDevuelveLaSentenciaSinMarcas) {
    Traza traza(dir.filePath(QStringLiteral("traza.log")));
    QString s = QStringLiteral("SELECT TOP 1 * FROM @Admin_T with(nolock) WHERE a = 1");
    Recordset rs;
    db.AbrirRecordset(s, rs);
    ASSERT_TRUE(rs.isOpen()) << traza.texto().toStdString();
    EXPECT_EQ(rs.value(QStringLiteral("b")).toString(), "uno");
    EXPECT_EQ(s, "SELECT TOP 1 * FROM T with(nolock) WHERE a = 1");
    // Opening again closes the previous set first.
    QString otra = QStringLiteral("SELECT b FROM T");
    db.AbrirRecordset(otra, rs);
    EXPECT_TRUE(rs.isOpen());
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbEjecucion, ReintentarRepiteElPasoFallido) {
    op.responderMensaje(ui::vbRetry);
    op.alMostrar = [&] { sql(QStringLiteral("CREATE TABLE NUEVA (x int)")); };
    QString s = QStringLiteral("SELECT * FROM NUEVA");
    Recordset rs;
    db.AbrirRecordset(s, rs);
    EXPECT_TRUE(rs.isOpen());
    ASSERT_EQ(cajas().size(), 1);
    const auto caja = cajas().first();
    EXPECT_TRUE(caja.titulo.endsWith(titulo(QStringLiteral("AbrirRecordset"))))
        << caja.titulo.toStdString();
    EXPECT_EQ(caja.estilo, 18);
    EXPECT_TRUE(
        caja.texto.startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (-2147217865) ")))
        << caja.texto.toStdString();

    const QRegularExpression linea(QStringLiteral(
        "^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d Rutina: AbrirRecordset - Mensaje "
        "Ha ocurrido el Siguiente Error \\(-2147217865\\) \\S.* Respondió : Reintentar\r\n$"));
    EXPECT_TRUE(linea.match(logPrograma()).hasMatch()) << logPrograma().toStdString();
}

TEST_F(DbEjecucion, IgnorarYAbortarDejanElConjuntoCerrado) {
    for (int respuesta : {int(ui::vbIgnore), int(ui::vbAbort)}) {
        op.limpiar();
        op.responderMensaje(respuesta);
        QString s = QStringLiteral("SELECT * FROM NOEXISTE");
        Recordset rs;
        db.AbrirRecordset(s, rs);
        EXPECT_FALSE(rs.isOpen());
        EXPECT_EQ(cajas().size(), 1);
    }
    const QStringList lineas = logPrograma().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lineas.size(), 2);
    EXPECT_TRUE(lineas[0].endsWith(QStringLiteral(" Respondió : Ignorar")));
    EXPECT_TRUE(lineas[1].endsWith(QStringLiteral(" Respondió : Abortar")));
}

TEST_F(DbEjecucion, ConValoresReintentarIgnorarYAbortar) {
    // The statement with bound values goes through the same steps: Retry
    // sends it again, Ignore and Abort leave the set closed.
    op.responderMensaje(ui::vbRetry);
    op.alMostrar = [&] { sql(QStringLiteral("CREATE TABLE NUEVA (x int)")); };
    QString s = QStringLiteral("SELECT COUNT(*) FROM NUEVA WHERE x <> ?");
    Recordset rs;
    db.AbrirRecordsetConValores(s, {7}, rs);
    ASSERT_TRUE(rs.isOpen());
    EXPECT_EQ(rs.value(0).toInt(), 0);
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_TRUE(cajas().first().titulo.endsWith(titulo(QStringLiteral("AbrirRecordset"))));

    for (int respuesta : {int(ui::vbIgnore), int(ui::vbAbort)}) {
        op.limpiar();
        op.responderMensaje(respuesta);
        QString otra = QStringLiteral("SELECT * FROM NOEXISTE WHERE a = ?");
        Recordset cerrado;
        db.AbrirRecordsetConValores(otra, {1}, cerrado);
        EXPECT_FALSE(cerrado.isOpen());
        EXPECT_EQ(cajas().size(), 1);
    }
}

TEST_F(DbEjecucion, ArchivoDeErroresConRutaCompleta) {
    const QString ruta = dir.filePath(QStringLiteral("otro/errores.txt"));
    QDir().mkpath(dir.filePath(QStringLiteral("otro")));
    db.setArchivoErrores(ruta);
    EXPECT_EQ(db.ArchivoErrores(), ruta);
    op.responderMensaje(ui::vbOK);
    EXPECT_EQ(db.TratamientoErrores(
                  DbError(-5, QStringLiteral("  falla  "), QStringLiteral("ORIGEN")), 0),
              ui::vbOK);
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_EQ(cajas().first().titulo, "ORIGEN Aviso al operador!!! - 5 ");
    EXPECT_EQ(cajas().first().texto, "Ha ocurrido el Siguiente Error (-5) falla");
    EXPECT_TRUE(log(ruta).endsWith(QStringLiteral(
        " Rutina:  Mensaje Ha ocurrido el Siguiente Error (-5) falla Respondió : \r\n")))
        << log(ruta).toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("KSERR.LOG"))));
}

TEST_F(DbEjecucion, ErrorCeroNoMuestraNiEscribe) {
    EXPECT_EQ(db.TratamientoErrores(DbError(0, QStringLiteral("nada"))), 0);
    EXPECT_TRUE(cajas().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("KSERR.LOG"))));
}

TEST_F(DbEjecucion, CarpetaDeLogNoEscribibleNoPierdeLaRespuesta) {
    // A log path below a plain file can never be created.
    QFile archivoComun(dir.filePath(QStringLiteral("comun")));
    ASSERT_TRUE(archivoComun.open(QIODevice::WriteOnly));
    archivoComun.close();
    db.setArchivoErrores(dir.filePath(QStringLiteral("comun/KSERR.LOG")));
    op.responderMensaje(ui::vbIgnore);
    EXPECT_EQ(db.TratamientoErrores(DbError(7, QStringLiteral("x")), std::nullopt,
                                    QStringLiteral("Rutina")),
              ui::vbIgnore);
    EXPECT_EQ(cajas().size(), 1);
}

TEST_F(DbEjecucion, SinonimosQuedanEnLaVariableDelLlamador) {
    db.gEsAdmin = false;
    sql(QStringLiteral("CREATE TABLE SS_MA_CUENTAS (codigo int)"));
    QString s = QStringLiteral("select * from MA_CUENTAS where 1=1");
    Recordset rs;
    db.AbrirRecordset(s, rs);
    EXPECT_TRUE(rs.isOpen());
    EXPECT_EQ(s, "select * from SS_MA_CUENTAS where 1=1");
}

TEST_F(DbEjecucion, MarcasYSinonimosAlEjecutar) {
    db.gEsAdmin = false;
    sql(QStringLiteral("CREATE TABLE MA_CUENTAS (codigo int)"));
    QString insertar = QStringLiteral("INSERT INTO @admin_MA_CUENTAS VALUES (1)");
    qint32 filas = 0;
    db.EjecutaConsultaSQL(insertar, filas);
    EXPECT_EQ(insertar, "INSERT INTO MA_CUENTAS VALUES (1)");
    EXPECT_EQ(filas, 1);

    QString vista = QStringLiteral("DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS ");
    db.EjecutaConsultaSQL(vista, filas);
    EXPECT_EQ(vista, "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM SS_MA_CUENTAS ");
    QString conMarca =
        QStringLiteral("DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM @ADMIN_MA_CUENTAS ");
    db.EjecutaConsultaSQL(conMarca, filas);
    EXPECT_EQ(conMarca, "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS ");
    QString borrar = QStringLiteral("DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS "
                                    "DELETE");
    db.EjecutaConsultaSQL(borrar, filas);
    EXPECT_EQ(borrar, "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS DELETE");
    EXPECT_TRUE(cajas().isEmpty()) << "execution failures are silent";
}

TEST_F(DbEjecucion, ElResultadoVaAlConjuntoDelLlamador) {
    Recordset rs;
    QString s = QStringLiteral("SELECT b FROM T");
    qint32 filas = 0;
    db.EjecutaConsultaSQL(s, filas, &rs);
    ASSERT_TRUE(rs.isOpen());
    EXPECT_EQ(rs.value(0).toString(), "uno");
}

TEST_F(DbEjecucion, AvisoDeTruncadoSeDescarta) {
    ProviderError truncado;
    truncado.number = errc::Unspecified;
    truncado.nativeError = 8152;
    truncado.description = QStringLiteral("String or binary data would be truncated.");
    QString s = QStringLiteral("UPDATE T SET a = 2");
    qint32 filas = 0;
    db.gCnn->errors().append(truncado);
    db.EjecutaConsultaSQL(s, filas);
    EXPECT_TRUE(db.gCnn->errors().isEmpty());

    QString trans = QStringLiteral("BEGIN TRANSACTION");
    db.gCnn->errors().append(truncado);
    db.EjecutaConsultaSQL(trans, filas);
    EXPECT_EQ(db.gCnn->errors().size(), 1) << "a transaction keeps its errors";
    QString fin = QStringLiteral("ROLLBACK TRANSACTION");
    db.EjecutaConsultaSQL(fin, filas);

    db.gCnn->clearErrors();
    QString mala = QStringLiteral("UPDATE NOEXISTE SET a = 1");
    db.EjecutaConsultaSQL(mala, filas);
    EXPECT_FALSE(db.gCnn->errors().isEmpty()) << "a real failure stays for the caller";
    EXPECT_TRUE(cajas().isEmpty());
}

TEST_F(DbEjecucion, EjecutaConsultaRSQLMuestraSoloLasFallasNoPrevistas) {
    QString mala = QStringLiteral("UPDATE NOEXISTE SET a = 1");
    qint32 filas = 0;
    db.EjecutaConsultaRSQL(mala, filas);
    EXPECT_TRUE(cajas().isEmpty());

    db.gCnn->close();
    op.responderMensaje(ui::vbOK);
    QString s = QStringLiteral("UPDATE T SET a = 3");
    db.EjecutaConsultaRSQL(s, filas);
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_EQ(cajas().first().titulo, "Aviso al operador!!!");
    EXPECT_EQ(cajas().first().estilo, 16);
}

TEST_F(DbEjecucion, CerrarConUnaEdicionPendiente) {
    Recordset rs;
    QString s = QStringLiteral("SELECT * FROM T");
    db.AbrirRecordset(s, rs, nullptr, adOpenDynamic, adLockOptimistic);
    ASSERT_TRUE(rs.isOpen());
    rs.addNew();
    rs.setValue(QStringLiteral("a"), 9);
    db.CierraRecordset(rs);
    EXPECT_FALSE(rs.isOpen());
    db.CierraRecordset(rs);
    EXPECT_TRUE(cajas().isEmpty());
    auto c = db.conexion().execute(QStringLiteral("SELECT COUNT(*) FROM T"));
    ASSERT_TRUE(c && c->fetch());
    EXPECT_EQ(c->value(0).toInt(), 1) << "the pending row was not written";
}

TEST_F(DbEjecucion, ConexionPerdidaSeRecuperaYRepiteEnSilencio) {
    // The provider left a diagnostic and the connection is gone.
    ProviderError perdida;
    perdida.number = errc::Unspecified;
    perdida.sqlState = QStringLiteral("08S01");
    db.gCnn->close();
    db.gCnn->errors().append(perdida);
    QString s = QStringLiteral("SELECT b FROM T");
    Recordset rs;
    db.AbrirRecordset(s, rs);
    ASSERT_TRUE(rs.isOpen());
    EXPECT_EQ(rs.value(0).toString(), "uno");
    EXPECT_TRUE(cajas().isEmpty());
    EXPECT_EQ(db.gCnn->commandTimeout(), 5);
    EXPECT_TRUE(db.gOpenFlag);
}

TEST_F(DbEjecucion, SinReconexionElOperadorCierraElPrograma) {
    int terminado = 0;
    DB_Dll::setTerminateHook([&] { ++terminado; });
    ProviderError perdida;
    perdida.number = errc::Unspecified;
    perdida.sqlState = QStringLiteral("08S01");
    db.gCnn->close();
    db.gCnn->errors().append(perdida);
    ASSERT_TRUE(QFile::rename(archivo, archivo + QStringLiteral(".fuera")));
    op.responderMensaje(ui::vbYes);
    op.responderMensaje(ui::vbNo);
    QString s = QStringLiteral("SELECT b FROM T");
    Recordset rs;
    db.AbrirRecordset(s, rs);
    EXPECT_EQ(terminado, 1);
    EXPECT_FALSE(rs.isOpen());
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(cajas().size(), 2);
    for (const auto& caja : cajas()) {
        EXPECT_EQ(caja.titulo, "AVISO AL OPERADOR");
        EXPECT_EQ(caja.estilo, 20);
        EXPECT_EQ(caja.texto, "\r\n\r\n\r\nSe perdio la conexion con la base de datos " + archivo +
                                  "\r\n Servidor sqlite\r\n\r\nElija SI para reintentar "
                                  "conectarse\r\nElija NO para cerrar la aplicacion\r\n\r\n\r\n");
    }
}

TEST_F(DbEjecucion, ReintentaConectarSobreUnaConexionCerrada) {
    db.gCnn->close();
    db.ReintentaConectar();
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gCnn->isOpen());
    EXPECT_EQ(db.gCnn->commandTimeout(), 5);
}

} // namespace
} // namespace rp::db::test

namespace rp::db::test {
namespace {

// A connection whose string names Oracle (here only in the file's name) is
// treated as an Oracle connection by the execution layer.
class DbEjecucionOracle : public DbPrueba {
protected:
    void SetUp() override {
        DbPrueba::SetUp();
        const QString oracle = temporal.crear(QStringLiteral("ORACLE.db"));
        datosSqlite(db, oracle);
        db.OpenServerADODB(false, 3, QString(), false, false);
        ASSERT_TRUE(db.gOpenFlag);
        sql(QStringLiteral("CREATE TABLE T (a int, b varchar(10))"));
        sql(QStringLiteral("INSERT INTO T VALUES (NULL, 'uno')"));
    }
};

TEST_F(DbEjecucionOracle, LaTraduccionNuncaVuelveAlLlamador) {
    // Translated, ISNULL becomes NVL, which this database does not know.
    op.responderMensaje(ui::vbAbort);
    QString s = QStringLiteral("SELECT ISNULL(a,0) AS a FROM @Admin_T");
    Recordset rs;
    db.AbrirRecordset(s, rs);
    EXPECT_FALSE(rs.isOpen());
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_TRUE(cajas().first().texto.contains(QStringLiteral("NVL"), Qt::CaseInsensitive))
        << cajas().first().texto.toStdString();
    EXPECT_EQ(s, "SELECT ISNULL(a,0) AS a FROM T");

    db.AbrirRecordset(s, rs, nullptr, adOpenForwardOnly, adLockReadOnly, -1, false);
    ASSERT_TRUE(rs.isOpen());
    EXPECT_EQ(rs.value(0).toInt(), 0);
}

TEST_F(DbEjecucionOracle, LasSentenciasVanAlEjecutorDeLotes) {
    QString guion = QStringLiteral("BEGIN TRANSACTION\rINSERT INTO T VALUES (1, 'dos')\r"
                                   "UPDATE T SET a = 5 WHERE a = 1\rCOMMIT TRANSACTION\r");
    qint32 filas = 0;
    db.EjecutaConsultaSQL(guion, filas);
    EXPECT_EQ(filas, 2);
    EXPECT_EQ(guion, "") << "the batch runner consumes the text";
    auto c = db.conexion().execute(QStringLiteral("SELECT a FROM T WHERE b = 'dos'"));
    ASSERT_TRUE(c && c->fetch());
    EXPECT_EQ(c->value(0).toInt(), 5);
    EXPECT_TRUE(cajas().isEmpty());
}

} // namespace
} // namespace rp::db::test
