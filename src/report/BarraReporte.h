#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace rp::report {

// The report toolbar (`TBarRep1`): four buttons, each raising one event with
// its key text, a switch for the lookup button, the toolbar style, and a key
// method that turns the toolbar's shortcut keys into button events, so the
// shortcuts work from every filter field.
//
// Shortcuts (key code and shift state as ControlesForm gives them):
//   "PANTALLA"  F5        screen
//   "IMPRESORA" Ctrl+P    printer
//   "CONSULTAR" F2 or F4  lookup for the current field
//   "CERRAR"    Esc       close the program
class BarraReporte : public QObject {
    Q_OBJECT
public:
    static const QString Pantalla;
    static const QString Impresora;
    static const QString Consultar;
    static const QString Cerrar;

    struct Atajo {
        int codigoTecla;
        int shift;
        QString texto; // in the form QKeySequence reads ("Ctrl+P")
    };

    explicit BarraReporte(QObject* parent = nullptr);

    // Button keys in the order the buttons are shown.
    static QStringList claves();
    static QString titulo(const QString& clave);
    static QString descripcion(const QString& clave);
    static QList<Atajo> atajos(const QString& clave);
    // The key of the button a shortcut belongs to; empty when none.
    static QString claveDeTecla(int codigoTecla, int shift);

    bool habilitado(const QString& clave) const;
    // The lookup-button switch (the other buttons are always enabled).
    void setConsultaHabilitada(bool habilitada);
    bool consultaHabilitada() const { return consulta_; }

    // `StyleBar`: the workstation's toolbar style (gFlatToolbars); any value
    // other than 0 gives flat buttons.
    void setStyleBar(double estilo);
    double StyleBar() const { return estilo_; }
    bool plana() const { return estilo_ != 0.0; }

    // A press on a button: raises its event when the button is enabled.
    void pulsar(const QString& clave);
    // The key method: a shortcut of an enabled button raises its event.
    // Returns true when an event was raised.
    bool teclaAbajo(int codigoTecla, int shift);

Q_SIGNALS:
    // The toolbar event, with the button's key text.
    void botonPulsado(const QString& clave);
    // Enabled state or style changed.
    void estadoCambiado();

private:
    bool consulta_ = false;
    double estilo_ = 1.0;
};

} // namespace rp::report
