#pragma once

#include <QDialog>
#include <QList>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableView;

namespace rp::ui {
class DialogoModal;
class OperadorQt;
} // namespace rp::ui

namespace rp::lookup {

class Lib_FrmCons3;

// Shows `Ventana` modally over the dialog `modelo` when it is a `Modelo`;
// true when accepted. The keyboard then goes back to the window the lookup
// was opened from.
template <class Ventana, class Modelo>
bool mostrarModal(rp::ui::DialogoModal& modelo, QWidget* padre) {
    auto* dialogo = dynamic_cast<Modelo*>(&modelo);
    if (!dialogo)
        return false;
    bool aceptada = false;
    {
        Ventana ventana(*dialogo, padre);
        aceptada = ventana.exec() == QDialog::Accepted;
    }
    if (padre)
        padre->window()->activateWindow();
    return aceptada;
}

// The list lookup window "Consulta...": one search box over each column
// ("CmbSearch_0", "CmbSearch_1", ...), the list "ListView1" (a QTableView over
// the dialog's rows) and the buttons "CmdAceptar", "CmdCancelar", "CmdNueva",
// "CmdNuevo" and "CmdTodos". Everything it does is the dialog's
// (Lib_FrmCons3); the window only routes keys and clicks to it.
class VentanaConsulta : public QDialog {
    Q_OBJECT
public:
    explicit VentanaConsulta(Lib_FrmCons3& frm, QWidget* parent = nullptr);

    // Registers both lookup windows (list and family tree) with the real
    // operator under their dialog names.
    static void registrar(rp::ui::OperadorQt& operador);
    // Shows the list window modally over `modelo`; true when accepted.
    static bool mostrar(rp::ui::DialogoModal& modelo, QWidget* padre);

    void reject() override;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    void reconstruir();
    void alinearBusquedas();
    void seleccionar(int pos);
    void aceptar();
    void cerrarAnchos();

    Lib_FrmCons3& frm_;
    QWidget* tira_ = nullptr;
    QTableView* lista_ = nullptr;
    QList<QLineEdit*> busquedas_;
    QPushButton* aceptar_ = nullptr;
    bool anchosMovidos_ = false;
    bool ajustando_ = false;
};

} // namespace rp::lookup
