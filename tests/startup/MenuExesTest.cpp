#include "startup/MenuExes.h"

#include "../db/DbPrueba.h"
#include "startup/Sesion.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace {

using rp::startup::EjecutableMenuExes;
using rp::startup::MenuExes;
using rp::startup::ParametrosMenuExes;

class MenuExesTest : public rp::db::test::DbPrueba {
protected:
    void SetUp() override {
        DbPrueba::SetUp();
        db.gServidor = "srv";
        db.gDBName = "EMPRESA";
        db.gUsuario = "ana";
        db.gUserPassWord = "clave";
        rp::startup::sesion() = rp::startup::Sesion{};
        rp::startup::sesion().gUsuarioLogeado = "Ana";
        rp::startup::sesion().gCaja = "1";
    }
};

TEST_F(MenuExesTest, ParameterStringAndExecutable) {
    EXPECT_EQ(ParametrosMenuExes("1"),
              " ; @server=srv; @dbname=EMPRESA; @usuario=ana; @Password=clave; "
              "@ParametroAdicional=1; quim@ ; @UsuarioLogeado = Ana; @Caja=1;");
    rp::startup::sesion().gCaja.clear();
    EXPECT_TRUE(ParametrosMenuExes("").endsWith("@ParametroAdicional=; quim@ ; "
                                                "@UsuarioLogeado = Ana; @Caja=;"));
    const QString carpeta = dir.path() + "/";
    EXPECT_EQ(EjecutableMenuExes("SHELL:V_MA_CLIENTES"), carpeta + "V_MA_CLIENTES");
    EXPECT_EQ(EjecutableMenuExes("SHELL:/opt/suite/V_TA_TABLAS"), "/opt/suite/V_TA_TABLAS");
    EXPECT_EQ(EjecutableMenuExes("OTRO"), carpeta + "OTRO");
}

TEST_F(MenuExesTest, StartsTheProgramWithTheStringAsOneArgumentOrSaysNotImplemented) {
    qint64 id = -1;
    op.responderMensaje(rp::ui::vbOK);
    MenuExes("SHELL:V_TA_TABLAS", "V_TA_RUBROS", id);
    EXPECT_EQ(id, 0);
    ASSERT_EQ(cajas().size(), 1);
    EXPECT_EQ(cajas()[0].texto,
              "Opcion no Implementada!\rComuniquese con su proveedor de sistemas");

    const QString salida = dir.filePath("argumentos.txt");
    const QString programa = dir.filePath("V_TA_TABLAS");
    QFile f(programa);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        QStringLiteral("#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '%1'\n").arg(salida).toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    MenuExes("SHELL:V_TA_TABLAS", "V_TA_RUBROS", id);
    EXPECT_GT(id, 0);
    QDeadlineTimer limite(5000);
    while (!QFile::exists(salida) && !limite.hasExpired())
        QThread::msleep(20);
    QThread::msleep(50);
    QFile r(salida);
    ASSERT_TRUE(r.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(r.readAll()), "1|" + ParametrosMenuExes("V_TA_RUBROS"));
}

} // namespace
