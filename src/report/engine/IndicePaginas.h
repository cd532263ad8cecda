#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/PaginaReporte.h"
#include "report/engine/Paginador.h"

#include <QList>
#include <QVariant>
#include <functional>
#include <memory>

namespace rp::motor {

class LectorFilas;
class ReportePreparado;

// Where every page of a report starts, found by one pass over the first
// sort field of the pages alone (the group value when the template groups):
// the same page-break rules as the full layout (Paginador::contar), no page
// built. With it the page count is known at once and any page can be laid
// out alone: its rows are read from the first row of its key on
// (ReportePreparado::sentenciaPaginasDesde), the rows of that key that went
// on earlier pages skipped (the first of them opens the group again, for its
// header and footer), and Paginador resumes as after the page before.
//
// The pass runs in slices (avanzar), so a window can build the index between
// turns of its event loop. A report whose rows the database cannot bring
// from a key on (procedures, selection or sort in memory) is counted from
// its full rows instead (no page built) and its pages are laid out from the
// start (recorrer): the page count is known all the same, and no pass keeps
// more than the page it hands out.
class IndicePaginas {
public:
    struct Inicio {
        qint64 fila = 0;  // rows before the page
        QVariant clave;   // the first sort field of its first row
        qint64 antes = 0; // rows of that key on earlier pages
        bool continuaGrupo = false;
    };

    explicit IndicePaginas(const ReportePreparado& reporte);
    ~IndicePaginas();

    // Runs the statement of the keys (the report's own when it has no
    // index). Throws what the data source throws.
    void abrir(const FuenteDatos& fuente);
    // Reads up to `filas` keys; false once the pass is over (or given up:
    // see valido()). Throws what the cursor throws.
    bool avanzar(qint64 filas);
    // Reads the keys to the end.
    void completar();

    bool terminado() const { return terminado_; }
    // False when a page cannot be laid out alone (no statement of the keys;
    // a key neither text nor number, or null; keys the layout takes as equal
    // that differ for the database): recorrer() then starts from the first
    // page. The page count holds all the same.
    bool valido() const { return valido_; }
    // Pages whose rows are all known (every page once terminado()).
    int paginasCompletas() const;
    // Pages found so far (the page count once terminado()).
    int paginas() const { return static_cast<int>(inicios_.size()); }
    qint64 filasLeidas() const { return leidas_; }
    const Inicio& inicio(int numero) const { return inicios_.at(numero - 1); }

    // Lays out page `numero` (1..paginasCompletas(); the first one at any
    // time) alone. Throws ErrorMotor
    // and what the data source throws.
    PaginaReporte componer(const FuenteDatos& fuente, int numero) const;
    // Lays out pages [desde, hasta] in order, from the page index when it is
    // valid (desde within paginasCompletas()), from the start otherwise; each
    // page goes to `cada` and is dropped. `cada` answering false stops.
    // Returns the pages handed out. Throws as componer().
    int recorrer(const FuenteDatos& fuente, int desde, int hasta,
                 const std::function<bool(const PaginaReporte&)>& cada) const;
    // The page count of a report (a whole pass).
    static int contarPaginas(const ReportePreparado& reporte, const FuenteDatos& fuente);

private:
    const ReportePreparado& rep_;
    std::unique_ptr<rp::db::Cursor> cursor_; // the keys
    std::unique_ptr<LectorFilas> lector_;    // or the full rows
    Paginador contador_;
    QList<Inicio> inicios_;
    QVariant clave_;        // of the last row read
    QVariant actualClave_;  // of the row being counted
    qint64 antesClave_ = 0; // rows of its key before it
    qint64 leidas_ = 0;
    qint64 corrida_ = 0;        // rows of clave_ so far
    bool nulosDespues_ = false; // rows without a key come after keyed ones
    bool terminado_ = false;
    bool valido_ = true;
};

} // namespace rp::motor
