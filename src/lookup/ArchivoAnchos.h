#pragma once

#include <QList>
#include <QString>

namespace rp::lookup {

// The column-width file "CONSULTASLEN.KST": one line per table, two quoted
// fields (table, widths) separated by a comma, CR LF ends, Windows-1252. The
// widths are twips, each followed by "|" ("1440|2400|900|").
class ArchivoAnchos {
public:
    // The widths saved for `tabla` (any letter case). Every matching line is
    // applied over the earlier ones, column by column; a malformed width ends
    // that line's widths. Empty when the file or the table is missing.
    static QList<int> leer(const QString& ruta, const QString& tabla);
    // Saves `anchos` for `tabla`: the other tables' lines are kept as they
    // are, this table's line goes last. The file is replaced atomically;
    // false when it cannot be written.
    static bool grabar(const QString& ruta, const QString& tabla, const QList<int>& anchos);

    // One line's two fields (quoted comma-separated form); false when the
    // line is not of that form.
    static bool partirLinea(const QString& linea, QString& tabla, QString& anchos);
};

} // namespace rp::lookup
