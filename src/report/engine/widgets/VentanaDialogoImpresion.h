#pragma once

#include "report/engine/DialogoImpresion.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;
class QRadioButton;

namespace rp::motor {

// The real print dialog for the DialogoImpresion model: printer (the
// system's printers and "Archivo PDF", which prints into the file named
// below it), copies and page range ("Todas" or "Desde"/"Hasta"). Edits the
// model only when accepted.
class VentanaDialogoImpresion : public QDialog {
    Q_OBJECT
public:
    explicit VentanaDialogoImpresion(DialogoImpresion& modelo, QWidget* parent = nullptr);
    void accept() override;

    // Shows the dialog modally; true when the operator accepted.
    static bool mostrar(rp::ui::DialogoModal& modelo, QWidget* parent = nullptr);

private:
    DialogoImpresion& modelo_;
    QComboBox* impresora_;
    QLineEdit* archivo_;
    QSpinBox* copias_;
    QRadioButton* todas_;
    QSpinBox* desde_;
    QSpinBox* hasta_;
};

} // namespace rp::motor
