#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace rp::report {

// The headless report export (--export FILE --tab N --field KEY=VALUE ...
// --columns LIST --price N --order N): fills a report form from the options
// (fields by key, the ChkFiltro indexes checked, the optPrecios and OptOrden
// options), runs the report of tab `tab` as the screen button does, and
// writes it to `archivo` instead of the screen, as PDF or CSV by the file's
// extension. The file is replaced only when the report was written whole.
// Returns the process exit status: 0 written; 2 bad options; 1 the report did
// not run (the reason is on the standard error output, with the messages the
// run showed). Needs the start-up done (database open, program folder set).
int ExportarReporte(const QString& archivo, int tab, const QList<QPair<QString, QString>>& campos,
                    std::optional<QList<int>> columnas, std::optional<int> precio,
                    std::optional<int> orden);

} // namespace rp::report
