#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace rp::banner {
class Dll_Display;
}
namespace rp::db {
class DB_Dll;
}

namespace rp::report {

// The last-cost scan of the last-cost-change report: for every article the
// condition selects (once per history row, as the article statement lists
// them) it shows the article on the progress banner, looks up in the price
// list's history the latest change with a cost above 0 made after the stored
// date FHULTIMOCOSTO (any change when none is stored), and writes its date
// into V_MA_ARTICULOS when the article has no stored date or the change is
// more than 10 seconds later than it.
//
// The updates run inside one transaction (committed at the end, also when the
// scan stops early, so the dates written are kept); look-ups and updates are
// bound statements on the article code, so no typed value reaches the SQL
// text. A failing update shows the provider's first error and the scan goes
// on; any other failure closes the banner and shows the suite's error box:
// Retry repeats the row, Ignore skips it, anything else ends the scan.
class EscaneoUltimoCosto {
public:
    struct Resultado {
        qint64 filas = 0;        // rows of the article statement visited
        qint64 actualizados = 0; // updates that changed a row
        bool completo = true;    // false when the scan was ended early
    };

    EscaneoUltimoCosto(db::DB_Dll& base, banner::Dll_Display& cartel);

    // The scan for price list `lista` over the articles of condition `s`
    // (" V_MA_ARTICULOS.IDARTICULO>='..'" ...; empty = every article). The
    // banner must have been started; it is closed at the end.
    Resultado ejecutar(const QString& lista, const QString& s);

    // The article statement (a LEFT OUTER JOIN with the history, so an
    // article comes once per history row).
    static QString sentenciaArticulos(const QString& s);
    // True when `encontrada` is to be written over `guardada`.
    static bool hayQueActualizar(const QDateTime& encontrada,
                                 const std::optional<QDateTime>& guardada);

private:
    db::DB_Dll& base_;
    banner::Dll_Display& cartel_;
};

} // namespace rp::report
