#pragma once

#include <QDialog>

class QLineEdit;
class QTreeView;

namespace rp::ui {
class DialogoModal;
}

namespace rp::lookup {

class Lib_FrmCons3Tree;

// The family tree window "Consulta...": the search box "CmbSearch_0", the
// tree "TreeV" and the buttons "CmdAceptar", "CmdCancelar" and "CmdNueva".
// Everything it does is the dialog's (Lib_FrmCons3Tree).
class VentanaConsultaArbol : public QDialog {
    Q_OBJECT
public:
    explicit VentanaConsultaArbol(Lib_FrmCons3Tree& arbol, QWidget* parent = nullptr);
    // Shows the tree window modally over `modelo`; true when accepted.
    static bool mostrar(rp::ui::DialogoModal& modelo, QWidget* padre);

    void reject() override;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    void seleccionar(int nodo);
    void aceptar();

    Lib_FrmCons3Tree& arbol_;
    QLineEdit* busqueda_ = nullptr;
    QTreeView* vista_ = nullptr;
};

} // namespace rp::lookup
