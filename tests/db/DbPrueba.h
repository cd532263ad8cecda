#pragma once

#include "BaseTemporal.h"
#include "db/DB_Dll.h"
#include "db/provider/SqlTrace.h"
#include "db/provider/SqliteProvider.h"
#include "suite/Aplicacion.h"
#include "suite/Regional.h"
#include "ui/OperadorGuion.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace rp::db::test {

// The scripted operator, with an optional action run when the next message
// box appears (the database changes while the operator "reads" the box).
class OperadorPrueba : public rp::ui::OperadorGuion {
public:
    std::function<void()> alMostrar;
    int mensaje(const QString& text, int style = 0, const QString& title = QString()) override {
        if (alMostrar) {
            auto accion = std::move(alMostrar);
            alMostrar = nullptr;
            accion();
        }
        return OperadorGuion::mensaje(text, style, title);
    }
};

// Puts an object back to the state of a new one (the shared object lives for
// the whole test run).
inline void reiniciar(DB_Dll& db) {
    if (db.gCnn && db.gCnn->isOpen())
        db.gCnn->close();
    db.gCnn.reset();
    db.gOpenFlag = false;
    db.gIgnoraPassWord = QVariant();
    db.gProveedor.clear();
    db.gServidor.clear();
    db.gDBName.clear();
    db.gUsuario.clear();
    db.gEsAdmin = false;
    db.gUserPassWord.clear();
    db.gConnString.clear();
    db.gExtended.clear();
    db.gLogErr.clear();
}

// A test on a fresh SQLite database file in a private folder (also the
// program folder), with the scripted operator installed and the shared
// database object reset. `db` is the shared object.
class DbPrueba : public ::testing::Test {
protected:
    // The database file; the object opens it itself.
    rp::prueba::BaseTemporal temporal{QStringLiteral("EMPRESA.db"),
                                      rp::prueba::BaseTemporal::Cerrada};
    QTemporaryDir& dir = temporal.dir;
    const QString& archivo = temporal.ruta;
    OperadorPrueba op;
    DB_Dll& db = baseCompartida();

    void SetUp() override {
        rp::ui::setOperador(&op);
        rp::suite::Aplicacion::establecerCarpetaPrograma(dir.path());
        rp::suite::Aplicacion::establecerNombreEjecutable(QStringLiteral("rp_tarifario"));
        rp::suite::Regional::establecer(rp::suite::Regional::espaniol());
        reiniciar(db);
        DB_Dll::setConfidencialidad(false);
        DB_Dll::setTerminateHook(nullptr);
    }
    void TearDown() override {
        EXPECT_TRUE(op.sinInesperadas()) << op.resumenInesperadas().toStdString();
        Connection::setTrace(nullptr);
        reiniciar(db);
        DB_Dll::setTerminateHook(nullptr);
        rp::ui::setOperador(nullptr);
    }

    // Fills the object for the embedded provider on `ruta` (default: the
    // test's database file).
    void datosSqlite(DB_Dll& base, const QString& ruta = QString()) {
        base.gServidor = QStringLiteral("sqlite");
        base.gDBName = ruta.isEmpty() ? archivo : ruta;
        base.gUsuario = QStringLiteral("operador");
    }
    // Opens the shared object on the test's file as an administrator.
    void abrir() {
        datosSqlite(db);
        db.OpenServerADODB(false, 3, QString(), false, false);
        ASSERT_TRUE(db.gOpenFlag);
    }
    // Runs statements that must succeed on the object's connection.
    void sql(const QString& s, DB_Dll* base = nullptr) {
        DB_Dll& b = base ? *base : db;
        try {
            b.conexion().execute(s);
        } catch (const DbError& e) {
            ADD_FAILURE() << s.toStdString() << ": " << e.description().toStdString();
        }
    }
    // Message boxes shown so far.
    QList<rp::ui::OperadorGuion::Interaccion> cajas() const { return op.mensajes(); }
};

// Records the statements as the program wrote them.
class Traza {
public:
    explicit Traza(const QString& ruta) : ruta_(ruta), traza_(ruta) {
        Connection::setTrace(&traza_);
    }
    ~Traza() { Connection::setTrace(nullptr); }
    QString texto() const {
        QFile f(ruta_);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // The statements as written, in order (line breaks shown as \n).
    QStringList escritas() const {
        QStringList out;
        for (const QString& linea : texto().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype a = linea.indexOf(QLatin1String("\twritten: "));
            const qsizetype b = linea.indexOf(QLatin1String("\tsent: "));
            if (a >= 0 && b > a)
                out.append(linea.mid(a + 10, b - a - 10));
        }
        return out;
    }

private:
    QString ruta_;
    SqlTrace traza_;
};

} // namespace rp::db::test
