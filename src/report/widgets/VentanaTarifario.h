#pragma once

#include <QHash>
#include <QMainWindow>

class QAbstractButton;
class QApplication;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTabWidget;

namespace rp::report {

class FormularioTarifario;
class QtBarraReporte;
class QtCampoTexto;

// The main window "Reporte Historico de Cambio de Precios": the report
// toolbar over a tab control with the three reports' filter fields, column
// check boxes and price and sort options. It shows the form model and hands
// it the operator's events; every decision is the model's.
//
// Controls are reachable by object name: "SSTab1" (tabs), "TBarRep1"
// (toolbar; its actions are named by button key), "txtfields_<i>" (with the
// properties "key" and "tag"), "ChkFiltro_<i>", "optPrecios_<i>",
// "OptOrden_<i>".
//
// Closing the window unloads the form; when the model unloads ("CERRAR"),
// the window closes. Either way the window emits cerrada() once, after which
// the program ends (with the application's default quitOnLastWindowClosed it
// leaves the event loop by itself).
class VentanaTarifario : public QMainWindow {
    Q_OBJECT
public:
    explicit VentanaTarifario(FormularioTarifario& modelo, QWidget* parent = nullptr);

    // The look of the program: the Fusion style with a calm light palette,
    // and the Adwaita icons where the desktop has no icon theme.
    static void aplicarEstilo(QApplication& aplicacion);

    QTabWidget* pestanas() const { return pestanas_; }
    QtBarraReporte* barra() const { return barra_; }
    QtCampoTexto* campo(int indice) const { return campos_.value(indice); }

Q_SIGNALS:
    void cerrada();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* armarPestana(int pestana);
    QGroupBox* armarMarco(int pestana, int numero);
    QGroupBox* armarColumnas();
    QGroupBox* armarPrecios(int pestana);
    QGroupBox* armarOrden();
    void igualarRotulos(int pestana);
    void mostrarTitulos();
    void darFoco(int indice);
    void alDescargar();
    void agregarAccionesFiltros();

    FormularioTarifario& modelo_;
    QCheckBox* variacion_ = nullptr;
    QTabWidget* pestanas_ = nullptr;
    QtBarraReporte* barra_ = nullptr;
    QHash<int, QtCampoTexto*> campos_;
    QHash<int, QCheckBox*> chk_;
    QHash<int, QRadioButton*> precios_;
    QHash<int, QRadioButton*> orden_;
    QHash<int, QList<QLabel*>> rotulosPrimeros_;
    QHash<int, QList<QLabel*>> rotulosSegundos_;
    QHash<int, QList<QGridLayout*>> grillas_;
    bool cerrando_ = false;
    bool cerrada_ = false;
};

} // namespace rp::report
