#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
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
// Every statement runs through the database object (synonyms, the Oracle
// translation, the lost-connection recovery), with the values bound, so no
// typed value reaches the SQL text. The article rows are read whole first, as
// a client-side cursor does, so the look-ups never share the connection with
// an open result. The dates found are written in short transactions of
// `kLote` articles: the write lock is held for one batch, never for the scan.
//
// How it ends:
//  - every row visited: `completo`;
//  - the operator pressed cancel on the banner: the dates already found are
//    written (each one is the true last-cost date of its article, so a
//    partial scan leaves the table consistent and the next scan goes on from
//    there) and `cancelado` is set;
//  - an update failed (read-only database, lost connection, constraint): its
//    batch is rolled back, the provider's first error is shown once and
//    `fallo` is set; earlier batches stay written;
//  - the article statement or a look-up failed and the operator gave up on
//    the database layer's error box: `fallo`.
// Only a complete scan lets the report run.
class EscaneoUltimoCosto {
public:
    struct Resultado {
        qint64 filas = 0;        // rows of the article statement visited
        qint64 actualizados = 0; // updates that changed a row
        bool completo = false;   // every row visited and every date written
        bool cancelado = false;  // the operator stopped it from the banner
        bool fallo = false;      // a statement failed (already reported)
    };

    // Articles whose dates are written in one transaction.
    static constexpr int kLote = 200;
    // Articles whose latest changes one statement looks up.
    static constexpr int kBusqueda = 500;

    EscaneoUltimoCosto(db::DB_Dll& base, banner::Dll_Display& cartel);

    // The scan for price list `lista` over the articles of condition `s`
    // (" V_MA_ARTICULOS.IDARTICULO>='..'" ...; empty = every article). The
    // banner must have been started; it is closed at the end.
    Resultado ejecutar(const QString& lista, const QString& s);

    // The article statement (a LEFT OUTER JOIN with the history, so an
    // article comes once per history row).
    static QString sentenciaArticulos(const QString& s);
    // The look-up of the latest change with a cost above 0 of `articulos`
    // articles: the price list, then one code per article, bound.
    static QString sentenciaUltimas(int articulos);
    // True when `encontrada` is to be written over `guardada`.
    static bool hayQueActualizar(const QDateTime& encontrada,
                                 const std::optional<QDateTime>& guardada);

private:
    // One row of the article statement, as far as the scan needs it.
    struct FilaArticulo {
        QString id;
        QString descripcion;
        std::optional<QDateTime> guardada;
    };
    struct Pendiente {
        QDateTime fecha;
        QString codigo;
    };
    // Writes the pending dates in one transaction; false (reported) when an
    // update failed.
    bool escribir(QList<Pendiente>& pendientes, Resultado& r);
    // The latest change of articles [inicio, fin) by trimmed code; false
    // when the look-up failed (already reported).
    bool buscarUltimas(const QList<FilaArticulo>& articulos, qsizetype inicio, qsizetype fin,
                       const QString& lista, QHash<QString, QDateTime>& ultimas);

    db::DB_Dll& base_;
    banner::Dll_Display& cartel_;
};

} // namespace rp::report
