#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/Plantilla.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace rp::motor {

class LectorFilas;
class ReportePreparado;

// A report's rows as CSV (RFC 4180, UTF-8, CR LF line ends), streamed row by
// row: a header row of the visible columns' captions, then one line per row.
// Numbers with a decimal point (the column's decimals), dates in ISO 8601,
// null as an empty cell, texts without blanks around them as the page shows
// them (article, family and group codes are stored with padding blanks). A text cell that
// starts with "=", "+", "-", "@", a tab or a carriage return gets a leading
// apostrophe, so a spreadsheet never runs it as a formula; numeric cells are
// written as they are.
class EscritorCsv {
public:
    // Called every few thousand rows with the rows written so far; false
    // stops the export (ErrorMotor "exportación cancelada").
    using Continuar = std::function<bool(qint64)>;

    // Returns the number of data rows written. Throws ErrorMotor when the
    // output cannot be written.
    static qint64 escribir(const ReportePreparado& reporte, LectorFilas& filas, QIODevice& salida,
                           const Continuar& continuar = {});
    // Runs the report and writes the file through QSaveFile: the file appears
    // whole or not at all (nothing when it is cancelled).
    static qint64 escribirArchivo(const ReportePreparado& reporte, const FuenteDatos& fuente,
                                  const QString& ruta, const Continuar& continuar = {});

    // One line of ready cells, joined with commas and ended with CR LF.
    // Throws ErrorMotor when the output cannot take it.
    static void escribirLinea(QIODevice& salida, const QStringList& celdas);

    static QString celda(const QVariant& valor, const FormatoColumna& formato);
    static QString celdaTexto(const QString& texto);
    static QString citar(const QString& texto);
    // The text without the blanks (spaces) around it.
    static QString sinBlancos(const QString& texto);
};

} // namespace rp::motor
