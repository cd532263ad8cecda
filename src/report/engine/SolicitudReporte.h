#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace rp::motor {

// Where a report goes. Screen and printer keep the report engine's codes 0
// and 1; 2 and 3 (the engine's other destinations) produce no output; PDF,
// CSV and Excel files are this engine's own.
enum class Destino {
    Pantalla = 0,
    Impresora = 1,
    Otro2 = 2,
    Otro3 = 3,
    Pdf = 100,
    Csv = 101,
    Xlsx = 102
};

// A stored-procedure parameter as the program writes it: "@FECHA;31/12/2024;TRUE".
struct ParametroProcedimiento {
    QString nombre; // "@FECHA"
    QString valor;  // "31/12/2024"
    // Reads "name;value[;TRUE|FALSE]"; the value may itself hold ";".
    static ParametroProcedimiento leer(const QString& texto);
};

// Everything the program hands to the report engine for one run.
class SolicitudReporte {
public:
    QString plantilla;      // template file path
    QStringList orden;      // sort fields: "+{tabla.campo}" / "-{tabla.campo}"; blanks ignored
    QString formula;        // record selection formula
    QString cadenaConexion; // "DSN=..; UID=..; PWD=.."
    // Formula slot texts 0..4 ("Nombreempresa = 'ACME'"); a missing one leaves
    // the template's own formula.
    std::array<std::optional<QString>, 5> formulas;
    std::array<QString, 3> subinformes; // blank = none
    QStringList parametros;             // "@FECHA;31/12/2024;TRUE"
    Destino destino = Destino::Pantalla;
    QString archivoSalida; // PDF / CSV / XLSX destination file
    QString impresora;     // printer name; empty = the system's default
    int copias = 1;
    int desdePagina = 0; // 0 = from the first page
    int hastaPagina = 0; // 0 = to the last page
    bool conDialogo = false;
    QStringList columnasOcultas; // column keys to hide ("1", "2", ...)
    QStringList textosPrecio;    // "Precio1='Mayorista'", "Precio2=''", ...

    QList<ParametroProcedimiento> parametrosLeidos() const;

    // One line for the statement trace: every member, texts quoted, line
    // breaks written as \n, the password of the connect string masked.
    QString texto() const;
    static QString ocultarClave(const QString& cadenaConexion);
};

} // namespace rp::motor
