#pragma once

#include <QColor>
#include <QLineEdit>

namespace rp::report {

class FormularioTarifario;

// One filter field of the report window (`txtfields`(i)): a line edit that
// hands its focus, key and mouse events to the form model and shows the
// text and colours the model holds. A right click opens the field's lookup;
// there is no context menu.
class QtCampoTexto : public QLineEdit {
    Q_OBJECT
public:
    QtCampoTexto(FormularioTarifario& modelo, int indice, QWidget* parent = nullptr);

    int indice() const { return indice_; }

    // A Windows colour value (0x00BBGGRR) as a colour.
    static QColor colorDeWindows(quint32 valor);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void mostrarTexto();
    void mostrarColores();

    FormularioTarifario& modelo_;
    int indice_;
};

} // namespace rp::report
