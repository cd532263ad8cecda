#include "report/ComandosFiltros.h"

#include "report/FormularioTarifario.h"

namespace rp::report {

namespace {

const QString kTitulo = QStringLiteral("Filtros");

void avisar(const QString& texto) {
    ui::operador().mensaje(texto, ui::estilo::OKOnly | ui::estilo::Exclamation, kTitulo);
}

// Asks a name until it is acceptable or the operator cancels.
std::optional<QString> pedirNombre(const QString& pregunta, const QString& titulo,
                                   const QString& inicial) {
    QString nombre = inicial;
    for (;;) {
        const std::optional<QString> r = ui::operador().ingresar(pregunta, titulo, nombre);
        if (!r)
            return std::nullopt;
        const QString motivo = FiltrosGuardados::validarNombre(*r);
        if (motivo.isEmpty())
            return r->trimmed();
        avisar(motivo);
        nombre = *r;
    }
}

} // namespace

ListaFiltros::ListaFiltros(FiltrosGuardados& filtros, QObject* parent)
    : QObject(parent), filtros_(filtros) {
    releer();
}

void ListaFiltros::releer(const QString& seleccionar) {
    entradas_ = filtros_.listar();
    seleccionada_ = entradas_.isEmpty() ? -1 : 0;
    for (int i = 0; i < entradas_.size(); ++i)
        if (entradas_[i].nombre == seleccionar)
            seleccionada_ = i;
    Q_EMIT listaCambiada();
}

QString ListaFiltros::textoEntrada(int fila) const {
    if (fila < 0 || fila >= entradas_.size())
        return QString();
    const FiltrosGuardados::Entrada& e = entradas_[fila];
    return e.opciones ? e.nombre
                      : QStringLiteral("%1 (no se puede leer: %2)").arg(e.nombre, e.error);
}

void ListaFiltros::setSeleccionada(int fila) {
    seleccionada_ = fila >= 0 && fila < entradas_.size() ? fila : -1;
}

bool ListaFiltros::cargar() {
    if (seleccionada_ < 0)
        return false;
    const FiltrosGuardados::Entrada& e = entradas_[seleccionada_];
    if (!e.opciones) {
        avisar(QStringLiteral("El filtro \"%1\" no se puede leer: %2.").arg(e.nombre, e.error));
        return false;
    }
    elegido_ = e.opciones;
    return true;
}

void ListaFiltros::renombrar() {
    if (seleccionada_ < 0)
        return;
    const QString viejo = entradas_[seleccionada_].nombre;
    const std::optional<QString> nuevo =
        pedirNombre(QStringLiteral("Nuevo nombre del filtro:"), kTitulo, viejo);
    if (!nuevo || *nuevo == viejo)
        return;
    QString error;
    if (!filtros_.renombrar(viejo, *nuevo, error))
        avisar(error);
    releer(error.isEmpty() ? *nuevo : viejo);
}

void ListaFiltros::borrar() {
    if (seleccionada_ < 0)
        return;
    const QString nombre = entradas_[seleccionada_].nombre;
    const int r = ui::operador().mensaje(
        QStringLiteral("¿Borrar el filtro \"%1\"?").arg(nombre),
        ui::estilo::YesNo | ui::estilo::Question | ui::estilo::DefaultButton2, kTitulo);
    if (r != ui::vbYes)
        return;
    QString error;
    if (!filtros_.borrar(nombre, error))
        avisar(error);
    releer();
}

void GuardarFiltro(const FormularioTarifario& formulario, FiltrosGuardados& filtros) {
    const QString titulo = QStringLiteral("Guardar filtro");
    std::optional<QString> nombre =
        pedirNombre(QStringLiteral("Nombre del filtro:"), titulo, QString());
    while (nombre && filtros.existe(*nombre)) {
        const int r = ui::operador().mensaje(
            QStringLiteral("Ya hay un filtro con el nombre \"%1\". ¿Reemplazarlo?").arg(*nombre),
            ui::estilo::YesNoCancel | ui::estilo::Question | ui::estilo::DefaultButton2, titulo);
        if (r == ui::vbYes)
            break;
        if (r != ui::vbNo)
            return;
        nombre = pedirNombre(QStringLiteral("Nombre del filtro:"), titulo, *nombre);
    }
    if (!nombre)
        return;
    QString error;
    if (!filtros.guardar(*nombre, CapturarOpcionesFormulario(formulario), error))
        ui::operador().mensaje(error, ui::estilo::OKOnly | ui::estilo::Critical, titulo);
}

void AbrirFiltros(FormularioTarifario& formulario, FiltrosGuardados& filtros) {
    ListaFiltros lista(filtros);
    if (!ui::operador().dialogo(lista) || !lista.elegido())
        return;
    QString error;
    if (!AplicarOpcionesFormulario(formulario, *lista.elegido(), error))
        avisar(QStringLiteral("El filtro no se pudo aplicar: %1").arg(error));
}

} // namespace rp::report
