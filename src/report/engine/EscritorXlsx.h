#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/Plantilla.h"

#include <QString>
#include <QVariant>
#include <functional>

namespace rp::motor {

class LectorFilas;
class ReportePreparado;

// How an Excel export runs.
struct OpcionesXlsx {
    // Rows of a sheet counting its header (at least 2): Excel's limit.
    qint64 filasPorHoja = 1048576;
    // Called every few thousand rows with the rows written so far; false
    // stops the export (ErrorMotor "exportación cancelada", no file).
    std::function<bool(qint64)> continuar;
};

// A report's rows as an Excel workbook (.xlsx), streamed row by row with
// libxlsxwriter in its constant-memory mode. Each sheet starts with a bold
// header row of the visible columns' captions, frozen and with an autofilter
// over the data. Numbers are numeric cells (the column's decimals with
// thousands grouping: the spreadsheet shows them with the reader's regional
// separators), dates and date-times are date cells in the workstation's
// short date form, texts are plain strings trimmed as the page shows them
// (never formulas, whatever they start with). Column widths follow the
// longest value. A sheet holds at most `filasPorHoja` rows counting its
// header (Excel's limit); the rows go on in "Hoja2", "Hoja3"... and are never
// cut.
class EscritorXlsx {
public:
    static constexpr qint64 FilasExcel = 1048576;

    using Opciones = OpcionesXlsx;

    // Writes the workbook to `ruta` (created or overwritten in place).
    // Returns the number of data rows. Throws ErrorMotor when the file cannot
    // be written or the export is cancelled.
    static qint64 escribir(const ReportePreparado& reporte, LectorFilas& filas, const QString& ruta,
                           const Opciones& opciones = {});
    // Runs the report and writes the file whole or not at all: the workbook
    // is built in a temporary file and handed to QSaveFile, so the target is
    // replaced in one rename when complete and left as it was otherwise.
    static qint64 escribirArchivo(const ReportePreparado& reporte, const FuenteDatos& fuente,
                                  const QString& ruta, const Opciones& opciones = {});

    // The Excel number format of a column ("#,##0.00"; empty = General).
    static QString formatoNumero(const FormatoColumna& formato);
    // The Excel date format of a Qt date format ("dd/MM/yyyy" -> "dd/mm/yyyy").
    static QString formatoFecha(const QString& formatoQt);
};

} // namespace rp::motor
