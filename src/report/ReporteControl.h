#pragma once

#include "report/engine/SolicitudReporte.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <stdexcept>

namespace rp::report {

// The report form's report-engine control: the settings of one run (template,
// connection, selection formula, formula slots, sort fields, procedure
// parameters, sub-reports, destination, copies, pages, window) as the report
// routines fill them, turned into the engine's request and handed to the
// installed engine. Settings stay until the clearing after a run, so a run
// that is aborted or cancelled leaves its settings for the next one to
// overwrite.
//
// The engine is an installed function (the program installs the real one:
// preview window, printer, PDF). Without one, CSV files are still written
// (the engine's CSV writer over the shared database object) and any other
// output fails with error 20500.
class ReporteControl {
public:
    // A failure of a run, with the engine's error number.
    class Fallo : public std::runtime_error {
    public:
        Fallo(qint32 numero, const QString& descripcion)
            : std::runtime_error(descripcion.toStdString()), numero_(numero),
              descripcion_(descripcion) {}
        qint32 numero() const { return numero_; }
        const QString& descripcion() const { return descripcion_; }

    private:
        qint32 numero_;
        QString descripcion_;
    };

    // The operator cancelled the report while it was running.
    static constexpr qint32 ErrorCancelado = 20000;
    // Any failure of the report engine (template, formula, data, output).
    static constexpr qint32 ErrorMotorReportes = 20500;

    // Runs a request; throws Fallo (or the database's / engine's errors).
    using Ejecutor = std::function<void(const motor::SolicitudReporte&)>;
    static void establecerEjecutor(Ejecutor ejecutor);
    static bool hayEjecutor();

    // ---- settings of a run --------------------------------------------------
    QString ReportFileName;
    QString Connect;
    QString DataSource;
    QString UserName;
    QString Password;
    QString SelectionFormula;
    std::array<QString, 5> Formulas; // slots 0..4; blank = the template's own
    QStringList SortFields;
    std::array<QString, 4> ParameterFields;             // "@FECHA;31/12/2024;TRUE"
    std::array<QString, 3> Subinformes;                 // sub-reports given the connection
    QString SubreportToChange;                          // the sub-report addressed; empty = main
    QList<std::pair<int, QString>> FormulasAdicionales; // ("Precio1='..'") by slot
    int Destination = 0;                                // 0 screen, 1 printer, 2 and 3 no output
    int CopiesToPrinter = 1;
    int CopiasMaximas = 0;    // 0 = no limit
    int PrinterStartPage = 0; // 0 = first page
    int PrinterStopPage = 0;  // 0 = last page
    QString PrinterName;
    int WindowState = 0;       // 2 = maximised
    int WindowBorderStyle = 2; // the window setting the screen run sets to 0
    QString WindowTitle;
    QString ReportTitle;
    QString PrintFileName; // per-run output file (cleared)

    // The engine's switches (the report by date and the last-cost report set
    // them on, off, on): read the rows afresh at every run (this engine never
    // keeps rows between runs), show a group tree beside the preview (this
    // engine has none), show the export button of the preview.
    bool DiscardSavedData = false;
    bool WindowShowGroupTree = true;
    bool WindowShowExportBtn = true;

    // Headless exports: the file every screen run is written to instead (a
    // ".pdf", ".csv" or ".xlsx" file); kept by the clearing. Empty = the screen.
    QString ArchivoExportacion;

    // Every setting back to its initial value (the connection included).
    void Reset();
    // The clearing after a run: copies 1, the window setting 0 and the
    // per-run texts empty (selection formula, formula slots, sort fields,
    // parameters, further formulas, titles, output file).
    void limpiar();

    // The engine's request for the settings as they stand.
    motor::SolicitudReporte solicitud() const;
    // Runs the request (the installed engine, or the CSV writer).
    void ejecutar() const;
};

} // namespace rp::report
