#pragma once

#include "report/FiltrosGuardados.h"

#include <QString>

namespace rp::report {

// The headless report export (--export FILE with the form options --tab,
// --field, --columns, --price, --order or a saved filter): fills a report
// form from `opciones`, runs the report of its tab (0 when none) as the
// screen button does, and writes it to `archivo` instead of the screen, as
// PDF, CSV or Excel (.xlsx) by the file's extension; "-" writes CSV to the
// standard output.
// The file is replaced only when the report was written whole. Returns the
// process exit status: 0 written; 2 bad options; 1 the report did not run
// (the reason is on the standard error output, with the messages the run
// showed). Needs the start-up done (database open, program folder set).
int ExportarReporte(const QString& archivo, const OpcionesFormulario& opciones);
// The same with the options one by one.
int ExportarReporte(const QString& archivo, int tab, const QList<QPair<QString, QString>>& campos,
                    std::optional<QList<int>> columnas, std::optional<int> precio,
                    std::optional<int> orden);

// --export with --preset: the saved filter `filtro` completed with the
// command line's form options `opciones`, then exported as above. A filter
// that is missing or cannot be read ends with status 2 and the reason.
int ExportarConFiltro(const QString& archivo, const QString& filtro,
                      const OpcionesFormulario& opciones, FiltrosGuardados& filtros);

// --save-preset: checks the form options as the export does and saves them
// as the filter `nombre`, without running anything. 0 saved; 2 bad options
// or the filter could not be written (the reason on the standard error).
int GuardarFiltroDeOpciones(const QString& nombre, const OpcionesFormulario& opciones,
                            FiltrosGuardados& filtros);

} // namespace rp::report
