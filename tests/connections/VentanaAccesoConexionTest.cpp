// The database object asks for its parameters through the real dialog and
// opens what the operator chose: the embedded database picked by platform.
#include "AccesoFixture.h"
#include "VentanaEspera.h"
#include "connections/frmAcceso.h"
#include "connections/widgets/VentanaAcceso.h"
#include "db/DB_Dll.h"
#include "db/provider/ConnectionString.h"
#include "db/provider/SqliteProvider.h"
#include "ui/widgets/OperadorQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using rp::connections::frmAcceso;
using rp::connections::VentanaAcceso;

namespace {

void escribir(VentanaAcceso& v, frmAcceso::Caja c, const QString& texto) {
    v.caja(c)->setText(texto);
    Q_EMIT v.caja(c)->textEdited(texto);
}

} // namespace

class VentanaAccesoConexionTest : public AccesoFixture {
protected:
    void SetUp() override {
        AccesoFixture::SetUp();
        VentanaAcceso::registrar(operadorQt_, modelo_);
        rp::ui::setOperador(&operadorQt_);
        // Bare database names of the embedded provider live in the program folder.
        ajustesAnteriores_ = rp::db::providerSettings();
        rp::db::ProviderSettings ajustes = ajustesAnteriores_;
        ajustes.programFolder = carpeta_.path() + "/";
        rp::db::setProviderSettings(ajustes);
        // A message box nobody expects would wait forever: note it and close it.
        vigia_.setInterval(200);
        QObject::connect(&vigia_, &QTimer::timeout, [this] {
            if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                inesperados_ << caja->text();
                // Answer No (or Cancel) so nothing is retried.
                QAbstractButton* boton =
                    caja->buttons().isEmpty() ? nullptr : caja->buttons().last();
                for (QAbstractButton* b : caja->buttons()) {
                    if (b->text().remove('&') == "No" || b->text().remove('&') == "Cancelar")
                        boton = b;
                }
                if (boton != nullptr)
                    boton->click();
                else
                    caja->reject();
            }
        });
        vigia_.start();
    }
    void TearDown() override {
        vigia_.stop();
        rp::db::setProviderSettings(ajustesAnteriores_);
        EXPECT_TRUE(inesperados_.isEmpty()) << inesperados_.join("\n").toStdString();
        AccesoFixture::TearDown();
    }
    rp::db::ProviderSettings ajustesAnteriores_;
    QTimer vigia_;
    QStringList inesperados_;
    frmAcceso modelo_;
    rp::ui::OperadorQt operadorQt_;
};

TEST_F(VentanaAccesoConexionTest, EmbeddedDatabaseChosenInTheDialogOpens) {
    // An empty database (a 0-byte file is refused as no database).
    ASSERT_TRUE(rp::db::SqliteProvider::createDatabaseFile(carpeta_.filePath("demo.db")));
    rp::db::DB_Dll db;
    alMostrarse([](VentanaAcceso& v) {
        Q_EMIT v.findChild<QComboBox*>("CboPlataformaDB")->activated(2);
        escribir(v, frmAcceso::TxtDbName, "demo");
        escribir(v, frmAcceso::TxtUserId, "operador");
        v.findChild<QPushButton*>("bcAceptar")->click();
    });
    db.OpenServerADODB(true, 3, QString(), false, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gServidor, "sqlite");
    EXPECT_EQ(db.gDBName, "demo");
    EXPECT_EQ(db.gUsuario, "operador");
    EXPECT_EQ(db.gProveedor, "SQLOLEDB");
    EXPECT_TRUE(db.gConnString.contains("Server=sqlite;")) << db.gConnString.toStdString();
    EXPECT_TRUE(db.conexion().isOpen());
}

TEST_F(VentanaAccesoConexionTest, CancelLeavesTheDatabaseClosed) {
    rp::db::DB_Dll db;
    alMostrarse([](VentanaAcceso& v) { v.findChild<QPushButton*>("bcCancelar")->click(); });
    db.OpenServerADODB(true, 3, QString(), false, true);
    EXPECT_FALSE(db.gOpenFlag);
}
