#pragma once

#include <QString>
#include <array>

namespace rp::startup {

// Report template resolution. The table TA_REPORTES maps a report name to up
// to four template files (Archivo, Archivo2..Archivo4), plainly or for one
// workstation and user ("PC|USER|name"). A template value is a path ending in
// ".rpt" (any case), used as it stands, or a bare name meaning that name plus
// ".rpt" in the program folder.

// Templates of the four copies of a document (entry 0 is the first copy).
using ArchivosReporte = std::array<QString, 4>;

// The template path of report `Reporte`: the workstation-and-user row (only
// when `Opcion` is blank), then the plain row, then the fallbacks of
// VerificaReporte; the per-unit-of-business overrides of delivery documents
// ("RM-..", identifier ending in "R") and of electronic documents. `Archivos`,
// when given, receives one template per copy. Values written into the
// statements have their apostrophes doubled. A failure shows the error report
// (routine "NombreReporte$"): Retry repeats the step, Ignore goes on, any
// other answer returns what was resolved so far.
QString NombreReporte(const QString& Reporte, const QString& Opcion = QString(),
                      ArchivosReporte* Archivos = nullptr,
                      const QString& IdComprobante = QString());

// Completes and checks one template path (`Archivo` comes back changed, and
// is returned): an empty one falls back to the report's own template in the
// program folder (or the document kind's); a bare name gets the program
// folder and ".rpt"; a file that cannot be read is reported to the operator
// ("Aviso al Operador") and replaced by program folder + Reporte + ".rpt".
// Never reports a failure of its own.
QString VerificaReporte(QString& Archivo, const QString& Reporte);

// True when the file can be opened for reading; double quotes in `Ruta` are
// removed first. Never fails.
bool ExisteArchivo(const QString& Ruta);

} // namespace rp::startup
