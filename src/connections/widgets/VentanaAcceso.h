#pragma once

#include "connections/frmAcceso.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace rp::db {
class AccesoPrompt;
}
namespace rp::ui {
class OperadorQt;
}

namespace rp::connections {

// The connection dialog "Control de Acceso": the registered connections on
// the left, the connection boxes and the platform on the right, "Registrar",
// "Crear Acceso Directo", "Aceptar" and "Cancelar" below. A thin view of frmAcceso: it runs the
// model's load when it is created and forwards every operator action to it.
//
// Object names: lstBases, TxtServidor, TxtPuerto, TxtDbName, TxtUserId,
// TxtUserPassword, CboPlataformaDB, bcAceptar, bcCancelar, CmdRegistrar,
// CmdLineaComando, framAcceso.
class VentanaAcceso : public QDialog {
    Q_OBJECT
public:
    explicit VentanaAcceso(frmAcceso& modelo, QWidget* padre = nullptr);

    // The connection prompt of the database object: loads a window over the
    // model, writes the prompt's values into it, shows it modally and hands
    // back the flag, the four boxes and the platform. Returns the flag.
    // While the model registers a connection the prompt is declined unseen.
    static bool mostrarPrompt(frmAcceso& modelo, rp::db::AccesoPrompt& prompt,
                              QWidget* padre = nullptr);
    // Makes the real operator show this dialog for "frmAcceso". `modelo` must
    // outlive the operator's use of it (one for the whole run).
    static void registrar(rp::ui::OperadorQt& operador, frmAcceso& modelo);

    QLineEdit* caja(frmAcceso::Caja c) const { return cajas_[static_cast<size_t>(c)]; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

public Q_SLOTS:
    void reject() override;

private:
    void tomarCaja(frmAcceso::Caja c);
    void seleccionarHint(frmAcceso::Caja c);
    void tomarLista();
    void tomarSeleccion(int indice);
    void tomarPlataforma(int indice);
    void ocultarPorBoton();
    void centrar();

    frmAcceso& modelo_;
    std::array<QLineEdit*, frmAcceso::kCajas> cajas_{};
    QListWidget* lista_ = nullptr;
    QComboBox* plataforma_ = nullptr;
    QPushButton* aceptar_ = nullptr;
    QPushButton* cancelar_ = nullptr;
    QPushButton* registrar_ = nullptr;
    QPushButton* accesoDirecto_ = nullptr;
    bool cerrandoPorMarco_ = false;
};

} // namespace rp::connections
