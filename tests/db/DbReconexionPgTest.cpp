// The lost-connection recovery of the query layer against a real server:
// PostgreSQL through its ODBC driver (scripts/pg-start.sh starts it; RP_TEST_PG
// holds the ODBC connection string).
#include "DbPrueba.h"

#include <QRegularExpression>

namespace rp::db::test {
namespace {

QString cadenaPg() {
    const QByteArray env = qgetenv("RP_TEST_PG");
    if (!env.isEmpty())
        return QString::fromUtf8(env);
    return QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=5432;"
                          "DATABASE=rp_test;UID=rp_test;PWD=rp_test;");
}

class DbReconexionPg : public DbPrueba {
protected:
    Connection control; // a second session, to end the first one's backend

    void SetUp() override {
        DbPrueba::SetUp();
        try {
            control.open(cadenaPg());
        } catch (const DbError& e) {
            // CI starts the server: there an unreachable server is a failure.
            if (qgetenv("CI") == "true")
                FAIL() << "PostgreSQL is not reachable under CI: " << e.description().toStdString();
            GTEST_SKIP() << "PostgreSQL is not reachable (scripts/pg-start.sh): "
                         << e.description().toStdString();
        }
        db.gServidor = QStringLiteral("127.0.0.1");
        db.gDBName = QStringLiteral("rp_test");
        db.OpenServerADODB(false, 3, cadenaPg(), false, true);
        ASSERT_TRUE(db.gOpenFlag);
    }
    void TearDown() override {
        if (control.isOpen())
            control.close();
        DbPrueba::TearDown();
    }
    qint64 pid(Connection& c) {
        auto cursor = c.execute(QStringLiteral("SELECT pg_backend_pid()"));
        return cursor && cursor->fetch() ? cursor->value(0).toLongLong() : -1;
    }
    void terminar(qint64 backend) {
        auto c = control.execute(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(backend));
        ASSERT_TRUE(c && c->fetch());
        ASSERT_TRUE(c->value(0).toBool());
    }
};

TEST_F(DbReconexionPg, ReconectaYRepiteUnaVezEnSilencio) {
    const qint64 antes = pid(*db.gCnn);
    ASSERT_GT(antes, 0);
    terminar(antes);
    QString s = QStringLiteral("SELECT 41 + 1 AS respuesta");
    Recordset rs;
    db.AbrirRecordset(s, rs);
    ASSERT_TRUE(rs.isOpen());
    EXPECT_EQ(rs.value(0).toInt(), 42);
    EXPECT_TRUE(cajas().isEmpty());
    EXPECT_NE(pid(*db.gCnn), antes) << "a new session answered";
    EXPECT_EQ(db.gCnn->commandTimeout(), 5);
}

TEST_F(DbReconexionPg, UnaSegundaPerdidaVaAlInformeGeneral) {
    // The statement ends its own session every time it runs.
    op.responderMensaje(ui::vbAbort);
    QString s = QStringLiteral("SELECT pg_terminate_backend(pg_backend_pid())");
    Recordset rs;
    db.AbrirRecordset(s, rs);
    EXPECT_FALSE(rs.isOpen());
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_TRUE(cajas().first().titulo.endsWith(
        QStringLiteral("AbrirRecordset -  Aviso al operador!!! - 5 ")));
    // The layer reconnected before giving up: the connection works again.
    QString otra = QStringLiteral("SELECT 1");
    db.AbrirRecordset(otra, rs);
    EXPECT_TRUE(rs.isOpen());
}

TEST_F(DbReconexionPg, SinServidorSiYLuegoNoTerminaElPrograma) {
    int terminado = 0;
    DB_Dll::setTerminateHook([&] { ++terminado; });
    terminar(pid(*db.gCnn));
    // From now on the server cannot be reached: the connection's own string
    // names a port nothing listens on.
    QString inalcanzable = cadenaPg();
    inalcanzable.replace(
        QRegularExpression(QStringLiteral("PORT=\\d+"), QRegularExpression::CaseInsensitiveOption),
        QStringLiteral("PORT=1"));
    ASSERT_NE(inalcanzable, cadenaPg());
    db.gCnn->close();
    EXPECT_THROW(db.gCnn->open(inalcanzable), DbError);
    ASSERT_FALSE(db.gCnn->errors().isEmpty());

    op.responderMensaje(ui::vbYes);
    op.responderMensaje(ui::vbNo);
    QString s = QStringLiteral("SELECT 1");
    Recordset rs;
    db.AbrirRecordset(s, rs);
    EXPECT_EQ(terminado, 1);
    EXPECT_FALSE(rs.isOpen());
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(cajas().size(), 2);
    EXPECT_EQ(cajas()[0].titulo, "AVISO AL OPERADOR");
    EXPECT_TRUE(cajas()[0].texto.contains(QStringLiteral(
        "Se perdio la conexion con la base de datos rp_test\r\n Servidor 127.0.0.1")));
}

} // namespace
} // namespace rp::db::test
