#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/PaginaReporte.h"
#include "report/engine/Paginador.h"

#include <QList>
#include <QVariant>
#include <memory>

namespace rp::motor {

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
// from a key on (procedures, selection or sort in memory) has no index:
// abrir() answers false and the caller lays the report out from the start.
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

    // Runs the statement of the keys; false (nothing run) when the report
    // has no index. Throws what the data source throws.
    bool abrir(const FuenteDatos& fuente);
    // Reads up to `filas` keys; false once the pass is over (or given up:
    // see valido()). Throws what the cursor throws.
    bool avanzar(qint64 filas);
    // Reads the keys to the end.
    void completar();

    bool terminado() const { return terminado_; }
    // False when a page cannot be laid out alone (a key neither text nor
    // number, or null; keys the layout takes as equal that differ for the
    // database): the caller then lays the report out from the start.
    bool valido() const { return valido_; }
    // Pages whose rows are all known (every page once terminado()).
    int paginasCompletas() const;
    // Pages found so far (the page count once terminado()).
    int paginas() const { return static_cast<int>(inicios_.size()); }
    qint64 filasLeidas() const { return filas_; }
    const Inicio& inicio(int numero) const { return inicios_.at(numero - 1); }

    // Lays out page `numero` (1..paginasCompletas()) alone. Throws ErrorMotor
    // and what the data source throws.
    PaginaReporte componer(const FuenteDatos& fuente, int numero) const;

private:
    const ReportePreparado& rep_;
    std::unique_ptr<rp::db::Cursor> cursor_;
    Paginador contador_;
    QList<Inicio> inicios_;
    QVariant clave_;        // of the last row read
    QVariant actualClave_;  // of the row being counted
    qint64 antesClave_ = 0; // rows of its key before it
    qint64 filas_ = 0;
    qint64 corrida_ = 0; // rows of clave_ so far
    bool terminado_ = false;
    bool valido_ = true;
};

} // namespace rp::motor
