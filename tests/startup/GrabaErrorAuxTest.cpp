#include "startup/GrabaErrorAux.h"
#include "BaseTemporal.h"
#include "db/DB_Dll.h"
#include "suite/Aplicacion.h"
#include "suite/Regional.h"
#include "suite/SistemaInfo.h"
#include "ui/OperadorGuion.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using rp::db::DB_Dll;

class GrabaErrorAuxPrueba : public ::testing::Test {
protected:
    rp::prueba::BaseTemporal base{QStringLiteral("EMPRESA.db"), rp::prueba::BaseTemporal::Cerrada};
    rp::ui::OperadorGuion op;
    DB_Dll& db = rp::db::baseCompartida();

    void SetUp() override {
        rp::ui::setOperador(&op);
        rp::suite::Aplicacion::establecerCarpetaPrograma(base.dir.path());
        rp::suite::Aplicacion::establecerNombreEjecutable(QStringLiteral("rp_tarifario"));
        rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
        if (db.gCnn && db.gCnn->isOpen())
            db.gCnn->close();
        db.gServidor = QStringLiteral("sqlite");
        db.gDBName = base.ruta;
        db.gUsuario = QStringLiteral("operador");
        db.OpenServerADODB(false, 3, QString(), false, false);
        ASSERT_TRUE(db.gOpenFlag);
    }
    void TearDown() override {
        EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
        EXPECT_TRUE(op.mensajes().isEmpty()) << "the writer never shows anything";
        if (db.gCnn && db.gCnn->isOpen())
            db.gCnn->close();
        db.gCnn.reset();
        db.gServidor.clear();
        db.gDBName.clear();
        db.gUsuario.clear();
        db.gConnString.clear();
        db.gProveedor.clear();
        db.gOpenFlag = false;
        db.gEsAdmin = false;
        rp::ui::setOperador(nullptr);
    }
    void crearTabla() {
        db.gCnn->execute(QStringLiteral(
            "CREATE TABLE AUX_ERR (Proceso varchar(50), fecha varchar(20), Error int, "
            "Descripcion varchar(250), SQL text, Pc varchar(50), Usuario varchar(50))"));
    }
};

TEST_F(GrabaErrorAuxPrueba, EscribeUnaFilaConCadaColumna) {
    crearTabla();
    const QString larga = QString(300, QLatin1Char('d'));
    rp::startup::GrabaErrorAux(QStringLiteral("INSERT INTO X VALUES ('a')"), QString(), 2627,
                               larga);
    rp::startup::GrabaErrorAux(QStringLiteral("UPDATE Y"), QStringLiteral("OTRO"), -5,
                               QStringLiteral("corta"));
    auto c = db.gCnn->execute(QStringLiteral("SELECT Proceso, fecha, Error, Descripcion, SQL, Pc, "
                                             "Usuario FROM AUX_ERR ORDER BY Error DESC"));
    ASSERT_TRUE(c && c->fetch());
    EXPECT_EQ(c->value(0).toString(), "rp_tarifario");
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d$"))
                    .match(c->value(1).toString())
                    .hasMatch())
        << c->value(1).toString().toStdString();
    EXPECT_EQ(c->value(2).toInt(), 2627);
    EXPECT_EQ(c->value(3).toString(), QString(250, QLatin1Char('d')));
    EXPECT_EQ(c->value(4).toString(), "INSERT INTO X VALUES ('a')");
    EXPECT_EQ(c->value(5).toString(), rp::suite::SistemaInfo::NombrePc());
    EXPECT_EQ(c->value(6).toString(), "operador");
    ASSERT_TRUE(c->fetch());
    EXPECT_EQ(c->value(0).toString(), "OTRO");
    EXPECT_EQ(c->value(2).toInt(), -5);
    EXPECT_FALSE(c->fetch());
}

TEST_F(GrabaErrorAuxPrueba, SinTablaOSinConexionNoHaceNada) {
    rp::startup::GrabaErrorAux(QStringLiteral("X"), QString(), 1, QStringLiteral("y"));
    db.gCnn->close();
    rp::startup::GrabaErrorAux(QStringLiteral("X"), QString(), 1, QStringLiteral("y"));
    db.gCnn.reset();
    rp::startup::GrabaErrorAux(QStringLiteral("X"), QString(), 1, QStringLiteral("y"));
}

TEST_F(GrabaErrorAuxPrueba, UnaFilaRechazadaSePierdeSinAvisos) {
    db.gCnn->execute(QStringLiteral(
        "CREATE TABLE AUX_ERR (Proceso varchar(50), fecha varchar(20), Error int NOT NULL "
        "CHECK (Error > 0), Descripcion varchar(250), SQL text, Pc varchar(50), "
        "Usuario varchar(50))"));
    rp::startup::GrabaErrorAux(QStringLiteral("X"), QString(), -1, QStringLiteral("y"));
    auto c = db.gCnn->execute(QStringLiteral("SELECT COUNT(*) FROM AUX_ERR"));
    ASSERT_TRUE(c && c->fetch());
    EXPECT_EQ(c->value(0).toInt(), 0);
}

} // namespace
