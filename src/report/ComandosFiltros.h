#pragma once

#include "report/FiltrosGuardados.h"
#include "ui/Operador.h"

#include <QList>
#include <QObject>
#include <optional>

namespace rp::report {

class FormularioTarifario;

// The "Filtros" dialog without its window: the saved filters by name (an
// unreadable one shown with its reason), the selected one, and the load,
// rename and delete actions, which ask and report through the operator
// interface. Shown under the name "FiltrosGuardados"; the window
// (VentanaFiltros) only shows it.
class ListaFiltros : public QObject, public ui::DialogoModal {
    Q_OBJECT
public:
    explicit ListaFiltros(FiltrosGuardados& filtros, QObject* parent = nullptr);
    QString dialogName() const override { return QStringLiteral("FiltrosGuardados"); }

    const QList<FiltrosGuardados::Entrada>& entradas() const { return entradas_; }
    // The text a line of the list shows.
    QString textoEntrada(int fila) const;
    int seleccionada() const { return seleccionada_; }
    void setSeleccionada(int fila);

    // "Cargar": true when the selected filter is readable; it becomes the
    // result and the dialog closes.
    bool cargar();
    // "Renombrar...": asks the new name; the list is read again.
    void renombrar();
    // "Borrar": asks for confirmation; the list is read again.
    void borrar();
    // The filter chosen with "Cargar".
    const std::optional<OpcionesFormulario>& elegido() const { return elegido_; }

Q_SIGNALS:
    void listaCambiada();

private:
    void releer(const QString& seleccionar = QString());

    FiltrosGuardados& filtros_;
    QList<FiltrosGuardados::Entrada> entradas_;
    int seleccionada_ = -1;
    std::optional<OpcionesFormulario> elegido_;
};

// "Guardar filtro...": asks a name (confirming before replacing a filter of
// that name) and saves the form's whole state under it.
void GuardarFiltro(const FormularioTarifario& formulario, FiltrosGuardados& filtros);
// "Filtros": shows the saved filters; the one loaded is applied to the form.
void AbrirFiltros(FormularioTarifario& formulario, FiltrosGuardados& filtros);

} // namespace rp::report
