#pragma once

#include "report/ReporteControl.h"
#include "suite/DialogoComun.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace rp::report {

// Texts for the report's formula slots 0..4; a missing one leaves its slot as
// it is.
using TitulosReporte = std::array<std::optional<QString>, 5>;

// The form's report routine: loads a finished request into the report-engine
// control and runs it (EjecutarReporte) to the screen or the printer chosen
// in the report output (DLL_Print: Destino, ConDialogo, pPathSistema).
//  - `NombreRep`: a report name (the template is pPathSistema + name +
//    ".rpt") or a path, used as it stands when it holds a path separator;
//  - `gConnString`: "DSN=..; UID=..; PWD=.."; a blank one leaves the control's
//    connection as it was;
//  - `SR1`..`SR3`: sub-reports that get the same connection.
// A missing pPathSistema stops it with "Se debe informar la Variable
// pPathSistema$ del Control DLL_Print". Failures show the retry/ignore/abort
// box "Ha ocurrido el siguiente error: ..."; nothing is passed back.
void Reporte(ReporteControl& control, suite::DialogoComun& dialogo, const QString& NombreRep,
             const QStringList& Orden, const QString& Formula, const QString& gConnString,
             const TitulosReporte& Titulos = {}, const QString& SR1 = QString(),
             const QString& SR2 = QString(), const QString& SR3 = QString());

// What would refuse report `NombreRep` when it runs, checked before a report
// changes any data: a blank pPathSistema shows Reporte's message and gives
// false; a template that is missing or does not read throws the engine's
// error (for the caller's error box).
bool ComprobarReporte(const QString& NombreRep);

// The run step: printer (through the print dialog when ConDialogo is set;
// cancelling it shows "El usuario ha cancelado el reporte" and prints
// nothing), screen (maximised preview) or, for any other destination, no
// output; then the clearing of the control.
void EjecutarReporte(ReporteControl& control, suite::DialogoComun& dialogo);

// The connection settings of a connect string "DSN=name; UID=user; PWD=pw":
// data source, user and password (any letter case of the keys).
struct DatosConexion {
    QString origen;
    QString usuario;
    QString clave;
    static DatosConexion leer(const QString& cadena);
};

} // namespace rp::report
