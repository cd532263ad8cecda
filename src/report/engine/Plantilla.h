#pragma once

#include "report/engine/NodoFormula.h"
#include "report/engine/TextoPlantilla.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace rp::motor {

enum class Alineacion { Izquierda, Centro, Derecha };

// How a column shows its value.
struct FormatoColumna {
    // Cambio: a number with its sign always shown and an arrow for a rise
    // or a fall ("▲ +12,50", "▼ -3,00"), readable without colour.
    enum Tipo { Texto, Entero, Numero, Fecha, FechaHora, Cambio };
    Tipo tipo = Texto;
    int decimales = 2; // Numero and Cambio
};

struct ColumnaPlantilla {
    QString id;            // hide key ("0".."9" for the change history); empty = always shown
    QString valor;         // formula text
    Formula formula;       // its syntax tree
    TextoPlantilla titulo; // caption, with {@slot} / {Especial} placeholders
    double ancho = 20;     // millimetres
    Alineacion alineacion = Alineacion::Izquierda;
    FormatoColumna formato;
    bool enPagina = true; // false: only in CSV and Excel files (a grouped value)
    int linea = 0;        // where the column starts in the template file
};

// One line of the page header or footer: three texts with placeholders.
struct LineaBorde {
    TextoPlantilla izquierda;
    TextoPlantilla centro;
    TextoPlantilla derecha;
    bool titulo = false; // the report title line: larger, bold, centred
};

struct OrigenDatos {
    enum Tipo { Consulta, Procedimiento };
    Tipo tipo = Consulta;
    QString consulta;            // FROM clause: views and joins (SQL Server dialect)
    QString condicion;           // fixed WHERE condition, may be empty
    QString procedimiento;       // stored procedure name
    QStringList parametros;      // its parameter names ("@FECHA"), in call order
    QStringList ordenPorDefecto; // sort fields used when the request gives none
};

struct FormulaPlantilla {
    QString nombre;
    QString texto;
    Formula formula;
};

// A report template (".rpt"): data source, formula slots, columns, page header
// and footer, grouping and page layout. Read by LectorPlantilla (format:
// docs/templates.md).
struct Plantilla {
    QString ruta;
    TextoPlantilla titulo;
    QString papel = QStringLiteral("A4"); // A4, Carta, Oficio
    bool horizontal = false;
    double margenSuperior = 10, margenDerecho = 10, margenInferior = 10, margenIzquierdo = 10;
    QString letra = QStringLiteral("DejaVu Sans");
    double tamanoLetra = 8;      // points
    QString slotColumnasOcultas; // formula slot holding the hidden column keys
    QStringList subinformes;

    OrigenDatos origen;
    QList<FormulaPlantilla> formulas;
    QList<LineaBorde> encabezado;
    QList<LineaBorde> pie;
    QList<ColumnaPlantilla> columnas;
    Formula detalle;            // key of a detail line (its article), null = none
    Formula grupo;              // group field, null = no groups
    TextoPlantilla tituloGrupo; // group header text
    TextoPlantilla pieGrupo;    // group footer text ({GroupCount}: the group's rows)

    const FormulaPlantilla* formula(const QString& nombre) const {
        for (const auto& f : formulas) {
            if (f.nombre.compare(nombre, Qt::CaseInsensitive) == 0)
                return &f;
        }
        return nullptr;
    }
};

} // namespace rp::motor
