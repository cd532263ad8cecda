#pragma once

#include <QHash>
#include <QToolBar>

class QAction;

namespace rp::report {

class BarraReporte;

// The report toolbar of the main window (`TBarRep1`): one action per button
// of BarraReporte, with its icon (from the desktop's icon theme, or the Qt
// style's), caption, description and shortcuts. Triggering an action presses
// the button of the model; the model's lookup switch and style show here.
class QtBarraReporte : public QToolBar {
    Q_OBJECT
public:
    explicit QtBarraReporte(BarraReporte& barra, QWidget* parent = nullptr);

    // The action of a button key ("PANTALLA", ...).
    QAction* accion(const QString& clave) const { return acciones_.value(clave); }

private:
    QIcon icono(const QString& clave) const;
    void mostrarEstado();

    BarraReporte& barra_;
    QHash<QString, QAction*> acciones_;
};

} // namespace rp::report
