#pragma once

#include <QDialog>

class QListWidget;

namespace rp::ui {
class DialogoModal;
class OperadorQt;
} // namespace rp::ui

namespace rp::report {

class ListaFiltros;

// The "Filtros" window: the list of saved filters "ListaFiltros" and the
// buttons "Cargar", "Renombrar...", "Borrar" and "Cerrar". Everything it
// does is the dialog's (ListaFiltros).
class VentanaFiltros : public QDialog {
    Q_OBJECT
public:
    explicit VentanaFiltros(ListaFiltros& lista, QWidget* parent = nullptr);
    // Registers the window with the real operator as "FiltrosGuardados".
    static void registrar(rp::ui::OperadorQt& operador);
    static bool mostrar(rp::ui::DialogoModal& modelo, QWidget* padre);

private:
    void mostrarLista();
    void cargar();

    ListaFiltros& lista_;
    QListWidget* vista_;
};

} // namespace rp::report
