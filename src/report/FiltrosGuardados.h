#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace rp::report {

class FormularioTarifario;

// The state of the report form that the command line's form options and a
// saved filter carry: tab, field texts by key, the checked ChkFiltro
// indexes, the selected optPrecios options (one per tab that has them),
// the OptOrden option, "Mostrar variación". What is absent leaves the form as
// it is.
struct OpcionesFormulario {
    std::optional<int> pestana;
    QList<QPair<QString, QString>> campos;
    std::optional<QList<int>> columnas;
    QList<int> precios;
    std::optional<int> orden;
    std::optional<bool> variacion;

    // Values of `otras` replace these (fields by key).
    void completarCon(const OpcionesFormulario& otras);
    bool operator==(const OpcionesFormulario&) const = default;
};

// Applies the options with the command line's checks: an unknown field key,
// a text longer than its field, an index out of range. On a failure nothing
// more is applied and `error` names the option and the reason.
bool AplicarOpcionesFormulario(FormularioTarifario& formulario, const OpcionesFormulario& opciones,
                               QString& error);
// The whole state of the form: its tab, every field that holds text, every
// check box, the selected price option of each tab and the sort option.
OpcionesFormulario CapturarOpcionesFormulario(const FormularioTarifario& formulario);

// The operator's saved filters: one text file per filter, "<name>.filtro"
// (the name percent-encoded) in the user's configuration folder
// ($XDG_CONFIG_HOME/rp_tarifario/filtros). Every write replaces the file
// whole. The format is described in docs/filters.md.
class FiltrosGuardados {
public:
    // Longest name accepted.
    static constexpr int LargoMaximoNombre = 80;

    explicit FiltrosGuardados(const QString& carpeta = carpetaUsuario());
    static QString carpetaUsuario();
    QString carpeta() const { return carpeta_; }

    struct Entrada {
        QString nombre;
        std::optional<OpcionesFormulario> opciones; // nullopt: unreadable
        QString error;                              // why it is unreadable
    };
    // Every saved filter, by name; an unreadable file is listed with its
    // reason and the others still load.
    QList<Entrada> listar() const;
    bool existe(const QString& nombre) const;
    std::optional<OpcionesFormulario> leer(const QString& nombre, QString& error) const;
    // Saves (or replaces) the filter `nombre`.
    bool guardar(const QString& nombre, const OpcionesFormulario& opciones, QString& error);
    // Renames; refused when `nuevo` is taken.
    bool renombrar(const QString& viejo, const QString& nuevo, QString& error);
    bool borrar(const QString& nombre, QString& error);

    // The file's text, and back. `nombre` receives the stored name.
    static QByteArray aTexto(const QString& nombre, const OpcionesFormulario& opciones);
    static std::optional<OpcionesFormulario> desdeTexto(const QByteArray& texto, QString& nombre,
                                                        QString& error);
    // Empty when the name is acceptable, else the reason.
    static QString validarNombre(const QString& nombre);

private:
    QString ruta(const QString& nombre) const;
    QString carpeta_;
};

} // namespace rp::report
