#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace rp::lookup {

// The statement of a table lookup: a caller's statement with its condition
// appended, a table's definition record turned into a bounded SELECT, or a
// SELECT built from the table's own fields. Plain text work; the field
// discovery and the definition file are handed in, so every rule is
// testable without a database.
class SentenciaConsulta {
public:
    // The field names of "select top 1 * from " + table, in order; nullopt
    // when that statement cannot be opened.
    using LectorCampos = std::function<std::optional<QStringList>(const QString& sentencia)>;

    struct Resultado {
        QString sentencia;
        // The definition record has a single column and no search column
        // was given: the lookup ends with "Debe configurar la consulta para
        // esta tabla" and shows nothing.
        bool debeConfigurar = false;
    };

    // Row bound of "TopConsArt": the leading number of the value as a 32-bit
    // integer; 1000 when it is 0, missing or not a number.
    static int limiteFilas(const QString& topConsArt);

    // A condition of more than one character that does not start with "("
    // becomes " (" + condition + ") ".
    static QString envolverCondicion(const QString& where);

    // Builds the statement for `sql` (a table name or a statement). `where`
    // comes back wrapped (and, for a statement, with " WHERE " in front);
    // `campoBusqueda` comes back as the search and ordering column chosen.
    // `rutaDefiniciones` empty means the definition file is not in use.
    static Resultado armar(const QString& sql, QString& where, QString& campoBusqueda,
                           const QString& sentenciaOpcional, const QString& rutaDefiniciones,
                           int limite, const LectorCampos& lector);

    // The automatic statement (no definition record).
    static QString automatica(const QString& tabla, const QString& where, QString& campoBusqueda,
                              const QString& sentenciaOpcional, int limite,
                              const LectorCampos& lector);
};

} // namespace rp::lookup
